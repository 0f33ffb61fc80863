// The real runner at the end of the whole chain, under Wine: an installed
// editor (the stand-in Pellam.exe, the real Tollik.dll and the real 32-bit
// Tollik.exe) drives the real HSP toolchain built from OpenHSP. Each case
// invokes the command as a user does, reads the runner's window through the
// window itself, closes it as a user would, and judges by the runner's exit
// code and by what the HSP program left behind.
//
// Needs TOLLIK_HSP_FOLDER (the toolchain, with a final backslash) and the
// runner beside this program in runner32\; skips, saying why, without them.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include <windows.h>
#include <tlhelp32.h>

#include "EditorReport.h"
#include "MachineWaits.h"
#include "StandInHost.h"
#include "TestFiles.h"

namespace tollik::host {
namespace {

// The runner and then the program it starts, each a 32-bit start.
const DWORD kWaitMilliseconds = test::WaitForStartsHere(2);
const std::wstring kCasesFolder = L"C:\\tollik-runner\\";
// An HSP program that proves it ran: it writes "ran" beside itself.
const std::string kWritesMarker = "notesel buf\r\nnoteadd \"ran\"\r\nnotesave \"marker.txt\"\r\nend\r\n";

std::wstring Environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD n = ::GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

std::wstring HspFolder() { return Environment(L"TOLLIK_HSP_FOLDER"); }
std::wstring RealRunner() { return ProgramFolder() + L"runner32\\Tollik.exe"; }

// The words the runner shows for the user's language, as UTF-8.
std::string Says(const char* japanese, const char* english) {
    return (::GetUserDefaultUILanguage() & 0x3FF) == 0x11 ? japanese : english;
}

bool WaitForFile(const std::wstring& path, DWORD milliseconds) {
    for (DWORD waited = 0; waited < milliseconds; waited += 100) {
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
        ::Sleep(100);
    }
    return false;
}

class Process {
public:
    // With `output`, the program's standard output goes to that file.
    Process(std::wstring line, const std::wstring& folder, const std::wstring& output = {}) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        HANDLE file = INVALID_HANDLE_VALUE;
        if (!output.empty()) {
            file = ::CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdOutput = startup.hStdError = file;
        }
        PROCESS_INFORMATION started{};
        const BOOL ok = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, file != INVALID_HANDLE_VALUE, 0,
                                         nullptr, folder.c_str(), &startup, &started);
        if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
        if (!ok) {
            ADD_FAILURE() << "cannot start " << ToUtf8(line) << ": error " << ::GetLastError();
            return;
        }
        ::CloseHandle(started.hThread);
        handle_ = started.hProcess;
    }
    ~Process() {
        if (handle_ == nullptr) return;
        if (::WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) ::TerminateProcess(handle_, 99);
        ::CloseHandle(handle_);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    HANDLE handle() const { return handle_; }
    // The exit code, or -1 when it did not end in time.
    long Wait() const {
        DWORD code = 0;
        if (handle_ == nullptr || ::WaitForSingleObject(handle_, kWaitMilliseconds) != WAIT_OBJECT_0 ||
            !::GetExitCodeProcess(handle_, &code))
            return -1;
        return static_cast<long>(code);
    }

private:
    HANDLE handle_ = nullptr;
};

struct RunnerWindow {
    HWND window = nullptr;
    HWND edit = nullptr;
    std::string title;
    std::string text;
};

BOOL CALLBACK FindVisibleRunnerWindow(HWND window, LPARAM found) {
    wchar_t type[64] = {};
    ::GetClassNameW(window, type, 64);
    if (std::wstring(type) != L"TollikRunnerWindow" || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The runner's window once it is up, or nothing when `program` ends first.
std::optional<RunnerWindow> AwaitRunnerWindow(const Process& program) {
    for (DWORD waited = 0; waited < kWaitMilliseconds; waited += 100) {
        HWND window = nullptr;
        ::EnumWindows(FindVisibleRunnerWindow, reinterpret_cast<LPARAM>(&window));
        if (window != nullptr) {
            RunnerWindow found{window, ::FindWindowExW(window, nullptr, L"EDIT", nullptr), {}, {}};
            found.title = ToUtf8(WindowText(window));
            found.text = ToUtf8(WindowText(found.edit));
            return found;
        }
        if (::WaitForSingleObject(program.handle(), 100) == WAIT_OBJECT_0) return std::nullopt;
    }
    return std::nullopt;
}

enum class CloseBy { Escape, Enter, CloseBox };

void Close(const RunnerWindow& shown, CloseBy how) {
    if (how == CloseBy::CloseBox) {
        ::PostMessageW(shown.window, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
        ::PostMessageW(shown.edit, WM_KEYDOWN, how == CloseBy::Escape ? VK_ESCAPE : VK_RETURN, 0);
    }
}

struct Outcome {
    std::optional<RunnerWindow> window;
    std::wstring runnerExit;  // as the editor saw it end
};

// An editor installed with the real plug-in and runner, portable, so its
// settings sit beside it; removed before and after.
class Installation : public ::testing::Test {
protected:
    void SetUp() override {
        if (HspFolder().empty() ||
            ::GetFileAttributesW((HspFolder() + L"hspcmp.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "no HSP toolchain: TOLLIK_HSP_FOLDER does not name a folder with hspcmp.dll "
                            "(scripts/test.sh builds it from ../shared/third_party/openhsp)";
        if (::GetFileAttributesW(RealRunner().c_str()) == INVALID_FILE_ATTRIBUTES)
            GTEST_SKIP() << "the 32-bit runner is not built beside this program (preset windows32)";
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        root = kCasesFolder + FromUtf8(test->name()) + L"\\";
        editor = root + L"Pellam\\";
        RemoveTree(root.substr(0, root.size() - 1));
        MakeFolders(editor + L"Plugins");
        const std::wstring built = ProgramFolder();
        Copy(built + L"tollik_stand_in_editor.exe", editor + L"Pellam.exe");
        Copy(built + L"Tollik.dll", editor + L"Plugins\\Tollik.dll");
        Copy(RealRunner(), editor + L"Plugins\\Tollik.exe");
        Write(editor + L"PellamPortable.ini", "");
        Settings(HspFolder(), 1, 0);
    }
    void TearDown() override {
        EndLeftoverPrograms();
        if (!root.empty()) RemoveTree(root.substr(0, root.size() - 1));
    }

    // A program that failed shows HSP's error window and waits: ended here, it
    // cannot keep the suite's output open (and ctest waiting) after a failure.
    // The cases judge their programs by what they leave behind.
    static void EndLeftoverPrograms() {
        const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
            const std::wstring name = entry.szExeFile;
            if (name != L"hsp3.exe" && name != L"hsp3cl.exe" && name != L"demo.exe") continue;
            const HANDLE program = ::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
            if (program == nullptr) continue;
            ::TerminateProcess(program, 99);
            ::CloseHandle(program);
        }
        ::CloseHandle(snapshot);
    }

    static void Copy(const std::wstring& from, const std::wstring& to) {
        ASSERT_TRUE(::CopyFileW(from.c_str(), to.c_str(), FALSE)) << ToUtf8(from);
    }

    void Settings(const std::wstring& hsp, int mode, int debug) {
        Write(editor + L"Plugins\\Tollik\\Tollik.ini",
              ToUtf8(L"[Tollik]\r\nHSPDirName=" + hsp + L"\r\nMode=" + std::to_wstring(mode) +
                     L"\r\nDebugWindow=" + std::to_wstring(debug) + L"\r\n"));
    }

    // Invokes the command on `text` saved as `document`, and closes the
    // runner's window, if one comes up, as `how` says.
    Outcome Invoke(const std::wstring& document, const std::string& text, bool control = false,
                   CloseBy how = CloseBy::Escape) {
        const std::wstring textFile = root + L"document.txt";
        const std::wstring report = root + L"editor-report.txt";
        Write(textFile, text);
        std::wstring line = Quote(editor + L"Pellam.exe") + L" --quiet --text " + Quote(textFile) + L" --report " +
                            Quote(report) + L" --path " + Quote(document);
        if (control) line += L" --ctrl";
        Outcome outcome;
        const Process program(line, root);
        outcome.window = AwaitRunnerWindow(program);
        if (outcome.window) Close(*outcome.window, how);
        EXPECT_EQ(program.Wait(), 0) << "the editor";
        const EditorReport seen = ReadReport(report);
        EXPECT_TRUE(seen.boxes.empty());
        if (seen.launches.size() == 1) outcome.runnerExit = seen.launches[0].exitCode;
        return outcome;
    }

    // Starts the runner itself with `arguments`, as the plug-in would.
    Outcome StartRunner(const std::wstring& arguments) {
        Outcome outcome;
        const Process runner(Quote(editor + L"Plugins\\Tollik.exe") + L" " + arguments, root);
        outcome.window = AwaitRunnerWindow(runner);
        if (outcome.window) Close(*outcome.window, CloseBy::Escape);
        outcome.runnerExit = std::to_wstring(runner.Wait());
        return outcome;
    }

    std::wstring root;
    std::wstring editor;
};

using RunnerChain = Installation;

TEST_F(RunnerChain, WindowRuntimeRunsTheScriptInAFolderWithBlanksAndJapaneseIncludingItsNeighbour) {
    const std::wstring folder = root + L"作業 フォルダー\\";
    Write(folder + L"helper.as", "#define MARK \"included\"\r\n");
    const Outcome run = Invoke(folder + L"game.hsp",
                               "#include \"helper.as\"\r\nnotesel buf\r\nnoteadd MARK\r\nnotesave \"marker.txt\"\r\nend\r\n");
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    ASSERT_TRUE(WaitForFile(folder + L"marker.txt", kWaitMilliseconds));
    EXPECT_EQ(Read(folder + L"marker.txt").substr(0, 8), "included");
    EXPECT_NE(Read(folder + L"obj"), "(missing)") << "the object file lands beside the script";
}

TEST_F(RunnerChain, ConsoleRuntimeTheScriptAsksForRunsIt) {
    const Outcome run = Invoke(root + L"work\\cl.hsp", "#runtime \"hsp3cl\"\r\n" + kWritesMarker);
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    EXPECT_TRUE(WaitForFile(root + L"work\\marker.txt", kWaitMilliseconds));
}

TEST_F(RunnerChain, DebugFlagRunsTheScriptWithTheDebugWindowModule) {
    ASSERT_NE(::GetFileAttributesW((HspFolder() + L"hsp3debug.dll").c_str()), INVALID_FILE_ATTRIBUTES);
    Settings(HspFolder(), 1, 1);
    const Outcome run = Invoke(root + L"work\\debug.hsp", kWritesMarker);
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    EXPECT_TRUE(WaitForFile(root + L"work\\marker.txt", kWaitMilliseconds));
}

TEST_F(RunnerChain, SyntaxErrorOnLineThreeShowsTheReportAndRunsNothing) {
    const Outcome run = Invoke(root + L"work\\broken.hsp", "mes \"one\"\r\nmes \"two\"\r\nmes 1+*\r\n" + kWritesMarker);
    ASSERT_TRUE(run.window);
    const std::string summary = run.window->text.substr(0, run.window->text.find("\r\n"));
    EXPECT_NE(summary.find(Says("3 行目: ", "line 3: ")), std::string::npos) << run.window->text;
    EXPECT_NE(run.window->text.find("hsptmp(3) : error"), std::string::npos) << run.window->text;
    EXPECT_NE(run.window->title.find(ToUtf8(root + L"work")), std::string::npos) << run.window->title;
    EXPECT_EQ(run.runnerExit, L"1");
    EXPECT_EQ(Read(root + L"work\\marker.txt"), "(missing)");
}

// Windows with "Beta: Use Unicode UTF-8 for worldwide language support"
// (ANSI code page 65001): the plug-in writes the script in UTF-8, which the
// compiler must be told, and its own Shift_JIS words must still read.
TEST_F(RunnerChain, Utf8CodePageCompilesJapaneseStringsAndReportsInJapanese) {
    if (::GetACP() != CP_UTF8) {
        ASSERT_NE(Environment(L"TOLLIK_EXPECTED_ACP"), L"65001") << "the locale did not give code page 65001";
        GTEST_SKIP() << "needs ANSI code page 65001 (ctest's wine_runner_tests_utf8)";
    }
    const Outcome broken = Invoke(root + L"work\\broken.hsp", "mes \"\xE3\x81\x82\"\r\nmes 1+*\r\n");
    ASSERT_TRUE(broken.window);
    const std::string summary = broken.window->text.substr(0, broken.window->text.find("\r\n"));
    EXPECT_EQ(summary, Says("コンパイル エラー: 2 行目: パラメーター式の記述が無効です",
                            "Compile error on line 2: パラメーター式の記述が無効です"))
        << broken.window->text;
    EXPECT_NE(broken.window->text.find("hsptmp(2) : error 4 : パラメーター式の記述が無効です (2行目)\r\n--> mes@hsp 1+*"),
              std::string::npos)
        << broken.window->text;
    EXPECT_EQ(broken.runnerExit, L"1");

    // Read as Shift_JIS, あ (E3 81 82) pairs E3 81, then 82 takes the closing quote with it.
    const std::string text = "\xE3\x81\x82";
    const Outcome run =
        Invoke(root + L"work\\ok.hsp", "notesel buf\r\nnoteadd \"" + text + "\"\r\nnotesave \"marker.txt\"\r\nend\r\n");
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    ASSERT_TRUE(WaitForFile(root + L"work\\marker.txt", kWaitMilliseconds));
    EXPECT_EQ(Read(root + L"work\\marker.txt").rfind(text, 0), 0u) << Read(root + L"work\\marker.txt");
}

// A script marked as UTF-8 is compiled as UTF-8 on code page 932 too, its
// includes with it: a module saved as Shift_JIS is named, with the fix.
TEST_F(RunnerChain, MarkedScriptIsReadAsUtf8AndAShiftJisModuleIsNamed) {
    const std::wstring folder = root + L"work\\";
    Write(folder + L"mod.as", "a = \"\xE2\x7D\" + \"x\"\r\n");  // 竈, whose E2 7D swallows the quote
    Write(folder + L"hsptmp", "\xEF\xBB\xBF#include \"mod.as\"\r\nmes a\r\n");
    const Outcome run = StartRunner(Quote(HspFolder()) + L" " + Quote(folder + L"hsptmp") + L" 1 0");
    ASSERT_TRUE(run.window);
    EXPECT_NE(run.window->text.find(Says("mod.as は UTF-8 として正しくありません。おそらく Shift_JIS",
                                         "mod.as is not valid UTF-8: it is probably saved as Shift_JIS")),
              std::string::npos) << run.window->text;
    EXPECT_NE(run.window->text.find(ToUtf8(folder) + "mod.as\r\n"), std::string::npos);
    EXPECT_EQ(run.runnerExit, L"1");
}

// A script for HSP's UTF-8 runtime on code page 932, which holds no emoji:
// the plug-in saves it as UTF-8 with a byte-order mark, the runner has the
// compiler read it so, and hsp3utf.exe writes the emoji's own bytes back.
TEST_F(RunnerChain, Utf8RuntimeScriptKeepsACharacterTheCodePageLacks) {
    if (::GetACP() != 932) GTEST_SKIP() << "needs ANSI code page 932";
    ASSERT_NE(::GetFileAttributesW((HspFolder() + L"hsp3utf.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string emoji = "\xF0\x9F\x98\x80";
    const Outcome run = Invoke(root + L"work\\utf.hsp", "#include \"hsp3utf.as\"\r\nnotesel buf\r\nnoteadd \"" +
                                                         emoji + "\"\r\nnotesave \"marker.txt\"\r\nend\r\n");
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    EXPECT_EQ(Read(root + L"work\\hsptmp").substr(0, 3), "\xEF\xBB\xBF");
    ASSERT_TRUE(WaitForFile(root + L"work\\marker.txt", kWaitMilliseconds));
    EXPECT_EQ(Read(root + L"work\\marker.txt").rfind(emoji, 0), 0u) << Read(root + L"work\\marker.txt");
}

TEST_F(RunnerChain, CtrlGivesTheCompileOnlyReport) {
    const Outcome run = Invoke(root + L"work\\ok.hsp", kWritesMarker, true, CloseBy::Enter);
    ASSERT_TRUE(run.window);
    EXPECT_EQ(run.window->text.rfind(Says("コンパイルが終わりました。エラーはありません。", "Compiled with no errors."), 0),
              0u)
        << run.window->text;
    EXPECT_NE(run.window->title.find(Says("コンパイルのみ", "Compile only")), std::string::npos);
    EXPECT_EQ(run.runnerExit, L"0");
    ::Sleep(1000);
    EXPECT_EQ(Read(root + L"work\\marker.txt"), "(missing)") << "compile only runs nothing";
}

TEST_F(RunnerChain, ModeThreeMakesAnExecutableThatRuns) {
    Settings(HspFolder(), 3, 0);
    const std::wstring folder = root + L"work\\";
    const Outcome run = Invoke(folder + L"pack.hsp", "#packopt name \"demo\"\r\n" + kWritesMarker, false,
                               CloseBy::CloseBox);
    ASSERT_TRUE(run.window);
    EXPECT_NE(run.window->text.find(ToUtf8(folder + L"demo.exe")), std::string::npos) << run.window->text;
    EXPECT_EQ(run.runnerExit, L"0");
    const Process made(Quote(folder + L"demo.exe"), folder);
    EXPECT_EQ(made.Wait(), 0);
    EXPECT_TRUE(WaitForFile(folder + L"marker.txt", 5000));
}

// Executables from a copy of the HSP folder: without hsprt none is made (the
// toolchain's fault), #packopt icon and lang reach the HSP folder's
// iconins.exe, and an old one still running cannot be overwritten (the
// folder's fault).
TEST_F(RunnerChain, MakeExecutableFailuresAndIconinsOptions) {
    const std::wstring hsp = root + L"hsp\\";
    MakeFolders(hsp + L"common");
    for (const wchar_t* part : {L"hspcmp.dll", L"hsp3.exe", L"common\\hspdef.as"}) Copy(HspFolder() + part, hsp + part);
    Settings(hsp, 3, 0);
    const std::wstring folder = root + L"work\\";
    const std::string script = "#packopt name \"demo\"\r\n#packopt icon \"my.ico\"\r\n#packopt lang \"1041\"\r\nstop\r\n";

    const Outcome noRuntime = Invoke(folder + L"pack.hsp", script, false, CloseBy::CloseBox);
    ASSERT_TRUE(noRuntime.window);
    EXPECT_NE(noRuntime.window->text.find(Says("ランタイムがありません", "runtime executables are made from is missing")),
              std::string::npos)
        << noRuntime.window->text;
    EXPECT_EQ(noRuntime.runnerExit, L"3");

    Copy(HspFolder() + L"hsprt", hsp + L"hsprt");
    Copy(ProgramFolder() + L"tollik_stand_in_iconins.exe", hsp + L"iconins.exe");
    const Outcome made = Invoke(folder + L"pack.hsp", script, false, CloseBy::CloseBox);
    ASSERT_TRUE(made.window);
    EXPECT_EQ(made.runnerExit, L"0") << made.window->text;
    EXPECT_NE(Read(hsp + L"iconins-args.txt").find("-e\"" + ToUtf8(folder) + "demo.exe\" -i\"" + ToUtf8(folder) +
                                                   "my.ico\" -l\"1041\""),
              std::string::npos)
        << Read(hsp + L"iconins-args.txt");

    const Process running(Quote(folder + L"demo.exe"), folder);  // "stop": it waits
    ::Sleep(1000);
    const Outcome busy = Invoke(folder + L"pack.hsp", script, false, CloseBy::CloseBox);
    ASSERT_TRUE(busy.window);
    EXPECT_NE(busy.window->text.find(ToUtf8(folder) + "demo.exe"), std::string::npos) << busy.window->text;
    EXPECT_EQ(busy.runnerExit, L"4") << busy.window->text;
}

// While the real compiler compiles 20,000 lines, a press's write meets a sharing violation.
TEST_F(RunnerChain, AScriptBeingCompiledCannotBeRewritten) {
    const std::wstring script = root + L"work\\hsptmp";
    std::string lines;
    for (int n = 1; n <= 20000; ++n) lines += "a = a + " + std::to_string(n) + " : mes \"line " + std::to_string(n) + "\"\r\n";
    Write(script, lines + "end\r\n");
    const Process runner(Quote(editor + L"Plugins\\Tollik.exe") + L" " + Quote(HspFolder()) + L" " + Quote(script) + L" 1 0", root);
    DWORD error = 0;  // a press's, while the runner runs
    for (const DWORD start = ::GetTickCount(); error != ERROR_SHARING_VIOLATION && ::GetTickCount() - start < kWaitMilliseconds;) {
        const HANDLE press = ::CreateFileW(script.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        error = press == INVALID_HANDLE_VALUE ? ::GetLastError() : (::CloseHandle(press), 0);
    }
    EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION)) << "no write was refused during the compile";
    EXPECT_EQ(runner.Wait(), 0) << "compiled and run";
}

// A script folder is the runner's current directory and holds whatever the
// user downloaded: DLLs planted there under the names of the compiler, its
// imports and DLLs the system loads on demand are never loaded.
TEST_F(RunnerChain, DllsPlantedInTheScriptFolderAreNotLoaded) {
    const std::wstring folder = root + L"download\\";
    const wchar_t* const names[] = {
        L"hspcmp.dll", L"hsp3debug.dll", L"ole32.dll", L"shell32.dll", L"user32.dll", L"gdi32.dll",
        L"msvcrt.dll", L"version.dll", L"uxtheme.dll", L"dwmapi.dll", L"winmm.dll", L"cryptbase.dll",
        L"profapi.dll", L"propsys.dll", L"sspicli.dll", L"userenv.dll", L"imm32.dll", L"comctl32.dll",
    };
    MakeFolders(folder);
    for (const wchar_t* name : names) Copy(ProgramFolder() + L"runner32\\planted.dll", folder + name);
    Write(folder + L"hsptmp", "planted");  // a planted script file is simply overwritten

    Settings(HspFolder(), 1, 1);  // with Ctrl: compile only; then run with the debug window
    const Outcome compiled = Invoke(folder + L"game.hsp", kWritesMarker, true, CloseBy::Enter);
    EXPECT_EQ(compiled.runnerExit, L"0");
    EXPECT_TRUE(compiled.window) << "the compile-only report";
    const Outcome ran = Invoke(folder + L"game.hsp", kWritesMarker);
    ASSERT_EQ(ran.runnerExit, L"0");
    EXPECT_TRUE(WaitForFile(folder + L"marker.txt", kWaitMilliseconds));
    for (const wchar_t* name : names)
        EXPECT_EQ(Read(folder + name + L".loaded"), "(missing)") << ToUtf8(name) << " was loaded";
}

// The program finds a DLL beside its script, as when HSP's own editor starts
// it: none of the runner's DLL search restriction reaches it.
TEST_F(RunnerChain, ProgramCallsADllBesideTheScript) {
    const std::wstring folder = root + L"work\\";
    MakeFolders(folder);
    Copy(ProgramFolder() + L"runner32\\planted.dll", folder + L"mine.dll");
    const Outcome run = Invoke(folder + L"uses.hsp",
                               "#uselib \"mine.dll\"\r\n#func seven \"tollik_seven@0\"\r\nseven\r\n"
                               "notesel buf\r\nnoteadd str(stat)\r\nnotesave \"marker.txt\"\r\nend\r\n");
    EXPECT_FALSE(run.window) << run.window->text;
    ASSERT_EQ(run.runnerExit, L"0");
    ASSERT_TRUE(WaitForFile(folder + L"marker.txt", kWaitMilliseconds));
    EXPECT_EQ(Read(folder + L"marker.txt").substr(0, 1), "7");
}

// tollik-check on an installation whose HSP folder (a copy of the real one)
// lacks one part or holds the wrong one: the words the user reads, and
// nothing written.
TEST_F(RunnerChain, CheckerNamesEachToolchainFaultWithItsFix) {
    const std::wstring hsp = root + L"hsp\\";
    const struct {
        const char* fault;
        void (*spoil)(const std::wstring& hsp);
        const char* says;
    } cases[] = {
        {"none", [](const std::wstring&) {}, "is the 32-bit HSP compiler."},
        {"missing DLL", [](const std::wstring& h) { ::DeleteFileW((h + L"hspcmp.dll").c_str()); },
         "hspcmp.dll is missing: the runner cannot compile. Reinstall HSP, or set HSPDirName"},
        {"64-bit DLL",
         [](const std::wstring& h) { ::CopyFileW((ProgramFolder() + L"Tollik.dll").c_str(), (h + L"hspcmp.dll").c_str(), FALSE); },
         "hspcmp.dll is a 64-bit DLL: the runner can load only a 32-bit hspcmp.dll"},
        {"missing runtime", [](const std::wstring& h) { ::DeleteFileW((h + L"hsp3.exe").c_str()); },
         "hsp3.exe is missing: mode 1 cannot run scripts. Reinstall HSP."},
        {"missing common", [](const std::wstring& h) { RemoveTree(h + L"common"); },
         "common\\ is missing: hspdef.as and the other standard files cannot be found"},
    };
    Copy(ProgramFolder() + L"tollik-check.exe", editor + L"tollik-check.exe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        RemoveTree(root + L"hsp");
        MakeFolders(hsp + L"common");
        for (const wchar_t* part : {L"hspcmp.dll", L"hsp3.exe", L"common\\hspdef.as"})
            Copy(HspFolder() + part, hsp + part);
        c.spoil(hsp);
        Settings(hsp, 1, 0);
        const std::string settingsBefore = Read(editor + L"Plugins\\Tollik\\Tollik.ini");
        const std::wstring output = root + L"check.txt";
        const Process check(Quote(editor + L"tollik-check.exe") + L" --lang en", root, output);
        EXPECT_EQ(check.Wait(), std::string(c.fault) == "none" ? 0 : 1);
        const std::string text = Read(output);
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        EXPECT_NE(text.find("The runner " + ToUtf8(editor) + "Plugins\\Tollik.exe exists."), std::string::npos) << text;
        EXPECT_EQ(Read(editor + L"Plugins\\Tollik\\Tollik.ini"), settingsBefore);
        EXPECT_EQ(Read(hsp + L"obj"), "(missing)");
    }
}

TEST_F(RunnerChain, MissingHspFolderNamesItAndTheFix) {
    Settings(L"C:\\nowhere\\hsp37", 1, 0);
    const Outcome run = Invoke(root + L"work\\a.hsp", kWritesMarker);
    ASSERT_TRUE(run.window);
    EXPECT_NE(run.window->text.find("C:\\nowhere\\hsp37\\"), std::string::npos) << run.window->text;
    EXPECT_NE(run.window->text.find("HSPDirName"), std::string::npos);
    EXPECT_NE(run.window->text.find("tollik-check"), std::string::npos);
    EXPECT_EQ(run.runnerExit, L"3");
}

TEST_F(RunnerChain, SixtyFourBitCompilerIsRefusedInPlainWords) {
    const std::wstring hsp = root + L"hsp64\\";
    MakeFolders(hsp + L"common");
    Copy(ProgramFolder() + L"Tollik.dll", hsp + L"hspcmp.dll");
    Settings(hsp, 1, 0);
    const Outcome run = Invoke(root + L"work\\a.hsp", kWritesMarker);
    ASSERT_TRUE(run.window);
    EXPECT_NE(run.window->text.find(Says("32 ビット Windows 用の DLL ではありません", "It is not a 32-bit Windows DLL")),
              std::string::npos)
        << run.window->text;
    EXPECT_EQ(run.runnerExit, L"3");
}

TEST_F(RunnerChain, UnreadableCommandLineAndUnknownModeSayWhatIsExpected) {
    Write(root + L"work\\hsptmp", kWritesMarker);
    const Outcome unreadable = StartRunner(L"C:\\hsp37\\ hsptmp 1 1");
    ASSERT_TRUE(unreadable.window);
    EXPECT_NE(unreadable.window->text.find("\"<HSP folder>\" \"<script>\" <run mode>"), std::string::npos);
    EXPECT_EQ(unreadable.runnerExit, L"2");

    const Outcome unknown = StartRunner(Quote(HspFolder()) + L" " + Quote(root + L"work\\hsptmp") + L" 7 0");
    ASSERT_TRUE(unknown.window);
    EXPECT_NE(unknown.window->text.find(Says("実行モード 7 はありません", "Run mode 7 does not exist")),
              std::string::npos)
        << unknown.window->text;
    EXPECT_NE(unknown.window->text.find(Says("3: 実行ファイル作成", "3: Make executable")), std::string::npos);
    EXPECT_EQ(unknown.runnerExit, L"2");
}

}  // namespace
}  // namespace tollik::host
