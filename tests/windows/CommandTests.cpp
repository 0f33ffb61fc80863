// The whole command, end to end under Wine: an installed editor (the
// stand-in Pellam.exe with the real Tollik.dll and the stand-in runner in
// its Plugins folder) is laid out afresh for each case, started as its own
// process, and judged by what it reports, the runner's report and the files
// left behind.

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "EditorReport.h"
#include "StandInHost.h"
#include "TestFiles.h"

namespace tollik::host {
namespace {

const std::wstring kCasesFolder = L"C:\\tollik-e2e\\";
const std::wstring kWriteFailure = L"hsptmp\r\nファイルに書き込みできません。";
constexpr DWORD kEditorWaitMilliseconds = 180000;

struct OpenFile {
    explicit OpenFile(const std::wstring& path, DWORD access, DWORD share)
        : handle(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
    ~OpenFile() {
        if (handle != INVALID_HANDLE_VALUE) ::CloseHandle(handle);
    }
    HANDLE handle;
};

// The system's text for an error, as the plug-in puts it in a message.
std::wstring SystemText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, error, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text(buffer, n);
    ::LocalFree(buffer);
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
    return text;
}

struct CommandRun {
    EditorReport editor;
    std::map<std::string, std::string> runner;  // the runner's report; empty when it did not run
};

struct RunOptions {
    std::wstring text = L"mes \"ok\"";
    std::wstring documentPath;  // empty: untitled
    bool control = false;
    std::wstring temporaryFolder;  // empty: the system's
    std::wstring currentDirectory;  // empty: the case's folder
};

// One installed editor in a folder of its own, removed before and after.
class InstalledEditor {
public:
    explicit InstalledEditor(const std::wstring& caseName)
        : root(kCasesFolder + caseName + L"\\"), editor(root + L"Pellam\\") {
        RemoveTree(root.substr(0, root.size() - 1));
        MakeFolders(editor + L"Plugins");
        const std::wstring built = ProgramFolder();
        Copy(built + L"tollik_stand_in_editor.exe", editor + L"Pellam.exe");
        Copy(built + L"Tollik.dll", editor + L"Plugins\\Tollik.dll");
        Copy(built + L"runner\\Tollik.exe", editor + L"Plugins\\Tollik.exe");
    }
    ~InstalledEditor() { RemoveTree(root.substr(0, root.size() - 1)); }
    InstalledEditor(const InstalledEditor&) = delete;
    InstalledEditor& operator=(const InstalledEditor&) = delete;

    // Settings beside the executable: the host's own file is there.
    std::wstring KeepSettingsBeside() {
        Write(editor + L"Pellam.ini", "");
        return editor + L"Plugins\\Tollik\\Tollik.ini";
    }

    CommandRun Start(const RunOptions& options) {
        const std::wstring textFile = root + L"document.txt";
        const std::wstring reportFile = root + L"editor-report.txt";
        const std::wstring runnerReport = editor + L"Plugins\\TollikRunnerReport.txt";
        Write(textFile, ToUtf8(options.text));
        ::DeleteFileW(reportFile.c_str());
        ::DeleteFileW(runnerReport.c_str());

        std::wstring line = Quote(editor + L"Pellam.exe") + L" --quiet --text " + Quote(textFile) +
                            L" --report " + Quote(reportFile);
        if (!options.documentPath.empty()) line += L" --path " + Quote(options.documentPath);
        if (options.control) line += L" --ctrl";
        EXPECT_EQ(Launch(line, options.temporaryFolder, options.currentDirectory), 0u);

        CommandRun run;
        run.editor = ReadReport(reportFile);
        std::string bytes;
        if (ReadBytes(runnerReport, bytes)) {
            std::size_t start = 0;
            for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
                const std::string item = bytes.substr(start, end - start);
                const std::size_t equals = item.find('=');
                run.runner[item.substr(0, equals)] = item.substr(equals + 1);
            }
        }
        return run;
    }

    // Starts a program with `line` and waits for its exit code.
    DWORD Launch(std::wstring line, const std::wstring& temporaryFolder = {},
                 const std::wstring& currentDirectory = {}, const std::wstring& outputFile = {}) {
        std::vector<wchar_t> environment;
        if (!temporaryFolder.empty()) {
            for (const std::wstring& entry : {L"TMP=" + temporaryFolder, L"TEMP=" + temporaryFolder})
                environment.insert(environment.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
            wchar_t* inherited = ::GetEnvironmentStringsW();
            for (const wchar_t* entry = inherited; *entry != L'\0'; entry += ::lstrlenW(entry) + 1) {
                const std::wstring text = entry;
                if (text.rfind(L"TMP=", 0) == 0 || text.rfind(L"TEMP=", 0) == 0) continue;
                environment.insert(environment.end(), text.c_str(), text.c_str() + text.size() + 1);
            }
            ::FreeEnvironmentStringsW(inherited);
            environment.push_back(L'\0');
        }
        // The programs' own console output would only clutter the test log.
        SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
        const HANDLE nul = ::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inheritable, OPEN_EXISTING, 0, nullptr);
        const HANDLE output = outputFile.empty()
                                  ? INVALID_HANDLE_VALUE
                                  : ::CreateFileW(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                                  &inheritable, CREATE_ALWAYS, 0, nullptr);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
        if (output != INVALID_HANDLE_VALUE) startup.hStdOutput = output;
        PROCESS_INFORMATION process{};
        const BOOL started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT,
                              environment.empty() ? nullptr : environment.data(),
                              currentDirectory.empty() ? root.c_str() : currentDirectory.c_str(),
                              &startup, &process);
        ::CloseHandle(nul);
        if (output != INVALID_HANDLE_VALUE) ::CloseHandle(output);
        if (!started) {
            ADD_FAILURE() << "cannot start " << ToUtf8(line) << ": error " << ::GetLastError();
            return ~0u;
        }
        DWORD code = ~0u;
        if (::WaitForSingleObject(process.hProcess, kEditorWaitMilliseconds) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "the program did not end: " << ToUtf8(line);
            ::TerminateProcess(process.hProcess, 99);
        }
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        return code;
    }

    const std::wstring root;
    const std::wstring editor;

private:
    static void Copy(const std::wstring& from, const std::wstring& to) {
        ASSERT_TRUE(::CopyFileW(from.c_str(), to.c_str(), FALSE)) << ToUtf8(from);
    }
};

// A folder made for the length of one test.
struct TemporaryFolder {
    explicit TemporaryFolder(std::wstring folder) : path(std::move(folder)) { MakeFolders(path); }
    ~TemporaryFolder() { RemoveTree(path); }
    std::wstring path;
};

std::string Parameters(const std::wstring& hsp, const std::wstring& script, int mode, int debug) {
    return ToUtf8(L"\"" + hsp + L"\" \"" + script + L"\" " + std::to_wstring(mode) + L" " +
                  std::to_wstring(debug));
}

// What a case expects of a run that went through to the runner.
void ExpectRunnerStarted(const InstalledEditor& installed, const CommandRun& run, const std::wstring& hsp,
                         const std::wstring& script, int mode, int debug) {
    EXPECT_TRUE(run.editor.boxes.empty()) << ToUtf8(run.editor.boxes.empty() ? L"" : run.editor.boxes[0].text);
    ASSERT_EQ(run.editor.launches.size(), 1u);
    const Launch& launch = run.editor.launches[0];
    EXPECT_FALSE(launch.ownerGiven);
    EXPECT_EQ(launch.operation, L"open");
    EXPECT_EQ(ToUtf8(launch.file), ToUtf8(installed.editor + L"Plugins\\Tollik.exe"));
    EXPECT_EQ(ToUtf8(launch.parameters), Parameters(hsp, script, mode, debug));
    EXPECT_TRUE(launch.directoryGiven);
    EXPECT_EQ(launch.directory, L"");
    EXPECT_EQ(launch.show, SW_HIDE);
    EXPECT_EQ(launch.exitCode, L"0");
    // The runner read back exactly the four fields.
    EXPECT_EQ(run.runner.at("hsp-folder"), ToUtf8(hsp));
    EXPECT_EQ(run.runner.at("script"), ToUtf8(script));
    EXPECT_EQ(run.runner.at("run-mode"), std::to_string(mode));
    EXPECT_EQ(run.runner.at("debug-window"), std::to_string(debug));
    EXPECT_TRUE(run.editor.paintingResumed);
    EXPECT_TRUE(run.editor.selectionRestored);
}

class Command : public ::testing::Test {
protected:
    void SetUp() override {
        // The probe must find none of the HSP folders but where a case makes one.
        for (const wchar_t* folder : {L"C:\\hsp37", L"C:\\hsp36", L"C:\\hsp351p", L"C:\\hsp351", L"C:\\hsp35"})
            ASSERT_FALSE(IsFolder(folder)) << ToUtf8(folder) << " exists in the Wine prefix";
    }

    InstalledEditor installed{FromUtf8(::testing::UnitTest::GetInstance()->current_test_info()->name())};
    std::wstring settings = installed.KeepSettingsBeside();
};

TEST_F(Command, SavedDocumentIsWrittenBesideItAndTheRunnerStarted) {
    Write(settings, "[Tollik]\r\nHSPDirName=C:\\hsp37\\\r\nMode=1\r\nDebugWindow=1\r\n");
    RunOptions options;
    options.text = L"mes \"saved\"\r\nstop";
    options.documentPath = installed.root + L"new folder\\game.hsp";  // made by the plug-in
    const CommandRun run = installed.Start(options);

    const std::wstring script = installed.root + L"new folder\\hsptmp";
    ExpectRunnerStarted(installed, run, L"C:\\hsp37\\", script, 1, 1);
    EXPECT_EQ(Read(script), "mes \"saved\"\r\nstop\r\n");
    EXPECT_EQ(run.runner.at("script-file"), "19 bytes");
    EXPECT_EQ(run.editor.hostMessages, 12u);
    EXPECT_EQ(run.editor.capturedUnits, options.text.size());
}

TEST_F(Command, UntitledDocumentGoesToTheLongFormOfTheTemporaryFolder) {
    const TemporaryFolder temp(installed.root + L"Temporary Files Of Someone");
    wchar_t shortForm[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(temp.path.c_str(), shortForm, MAX_PATH), 0u);
    ASSERT_NE(std::wstring(shortForm), temp.path);  // otherwise nothing is shown

    RunOptions options;
    options.temporaryFolder = shortForm;
    const CommandRun run = installed.Start(options);
    const std::wstring script = temp.path + L"\\hsptmp";
    ExpectRunnerStarted(installed, run, L"C:\\hsp34\\", script, 1, 1);
    EXPECT_EQ(Read(script), "mes \"ok\"\r\n");
}

TEST_F(Command, CodePageScriptBytesAreInTheSystemCodePage) {
    const char* expected = std::getenv("TOLLIK_EXPECTED_ACP");
    ASSERT_NE(expected, nullptr) << "run with TOLLIK_EXPECTED_ACP set to the code page LANG gives";
    ASSERT_EQ(std::to_string(::GetACP()), expected);
    // The second of each: a script for HSP's UTF-8 runtime that the code page
    // would not keep as typed (under 932 the yen sign only has a look-alike).
    const std::string asks = "#include \"hsp3utf.as\"\r\nmes \"";
    const std::map<UINT, std::vector<std::pair<std::wstring, std::string>>> cases = {
        {932,
         {{L"mes \"日本語のテスト\" ; ｶﾅ", "mes \"\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x58\x83\x67\" ; \xB6\xC5"},
          {FromUtf8(asks) + L"あ¥\U0001F600\"", "\xEF\xBB\xBF" + asks + "\xE3\x81\x82\xC2\xA5\xF0\x9F\x98\x80\""},
          {FromUtf8(asks) + L"あ\"", asks + "\x82\xA0\""}}},
        {1252,
         {{L"mes \"café €\" ; 日本", "mes \"caf\xE9 \x80\" ; ??"},
          {FromUtf8(asks) + L"é\"", "\xEF\xBB\xBF" + asks + "\xC3\xA9\""}}},
    };
    for (const auto& [text, bytes] : cases.at(::GetACP())) {
        RunOptions options;
        options.text = text;
        options.documentPath = installed.root + L"work\\game.hsp";
        const CommandRun run = installed.Start(options);
        ExpectRunnerStarted(installed, run, L"C:\\hsp34\\", installed.root + L"work\\hsptmp", 1, 1);
        EXPECT_EQ(Read(installed.root + L"work\\hsptmp"), bytes + "\r\n");
    }
}

TEST_F(Command, TheRunnerGetsWhatTheSettingsFileSays) {
    const struct {
        const char* name;
        std::string bytes;
        std::wstring hsp;
        int mode;
        int debug;
    } cases[] = {
        {"numbers and flags", "[Tollik]\r\nMode=3\r\nDebugWindow=0\r\n", L"C:\\hsp34\\", 3, 0},
        {"hexadecimal and negative", "[Tollik]\nMode=$10\nDebugWindow=-1\n", L"C:\\hsp34\\", 16, 1},
        {"HSP folder with its backslash", "[Tollik]\r\nHSPDirName=D:\\HSP 3.7\\\r\n", L"D:\\HSP 3.7\\", 1, 1},
        {"HSP folder without it", "[Tollik]\r\nHSPDirName=D:\\hsp\r\n", L"D:\\hsp\\", 1, 1},
        {"byte-order mark", "\xEF\xBB\xBF[Tollik]\r\nMode=2\r\nHSPDirName=E:\\日本語\r\n", L"E:\\日本語\\", 2, 1},
        {"not well-formed UTF-8: all defaults", "[Tollik]\r\nMode=2\r\nHSPDirName=D:\\\xFF\r\n", L"C:\\hsp34\\", 1, 1},
        {"blanks around = hide the key", "[Tollik]\r\nMode = 2\r\n", L"C:\\hsp34\\", 1, 1},
        {"the last section of the name", "[Tollik]\r\nMode=2\r\n[TOLLIK]\r\nDebugWindow=0\r\n", L"C:\\hsp34\\", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write(settings, c.bytes);
        RunOptions options;
        options.documentPath = installed.root + L"work\\game.hsp";
        ExpectRunnerStarted(installed, installed.Start(options), c.hsp, installed.root + L"work\\hsptmp",
                            c.mode, c.debug);
    }
}

TEST_F(Command, HoldingControlTogglesTheRunMode) {
    const struct {
        int mode;
        bool control;
        int expected;
    } cases[] = {{1, true, 2}, {2, true, 1}, {5, true, 1}, {5, false, 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + (c.control ? " with Ctrl" : " without"));
        Write(settings, "[Tollik]\r\nMode=" + std::to_string(c.mode) + "\r\n");
        RunOptions options;
        options.documentPath = installed.root + L"game.hsp";
        options.control = c.control;
        ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp34\\",
                            installed.root + L"hsptmp", c.expected, 1);
    }
}

TEST_F(Command, TheNewestInstalledHspFolderIsTheDefault) {
    const TemporaryFolder older(L"C:\\hsp351");
    const TemporaryFolder newer(L"C:\\hsp36");
    RunOptions options;
    options.documentPath = installed.root + L"game.hsp";
    ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp36\\", installed.root + L"hsptmp", 1, 1);
}

// tollik-check, run in the same installation, says what the command then does.
TEST_F(Command, TheCheckerExplainsWhatTheCommandDoes) {
    const TemporaryFolder hsp(L"C:\\hsp36");
    Write(settings, "[Tollik]\r\nMode = 2\r\nHSPDirName=C:\\hsp36\r\nDebugWindow=0\r\n");
    ASSERT_TRUE(::CopyFileW((ProgramFolder() + L"tollik-check.exe").c_str(),
                            (installed.editor + L"tollik-check.exe").c_str(), FALSE));
    const std::wstring output = installed.root + L"check.txt";
    EXPECT_EQ(installed.Launch(Quote(installed.editor + L"tollik-check.exe") + L" --lang en", {}, {}, output), 1u);
    const std::string text = Read(output);  // a console program's lines end in CR LF
    for (const std::string& expected : {
             "Editor settings file: " + ToUtf8(installed.editor) + "Pellam.ini (it is there, beside the executable)\r\n",
             std::string("[warning] line 2: a blank around \"=\""),
             std::string("HSPDirName = C:\\hsp36\\ (settings file, line 3)\r\n"),
             std::string("Mode = 1 (default)\r\n"),
             std::string("DebugWindow = 0 (settings file, line 4)\r\n"),
             std::string("The HSP folder C:\\hsp36\\ exists.\r\n"),
             std::string("[problem] C:\\hsp36\\hspcmp.dll is missing"),
             // The stand-in runner these tests install is not the real one.
             "[problem] " + ToUtf8(installed.editor) + "Plugins\\Tollik.exe is not this plug-in's runner",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
    }

    // The command reads the file exactly so: "Mode = 2" is not Mode.
    RunOptions options;
    options.documentPath = installed.root + L"game.hsp";
    ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp36\\", installed.root + L"hsptmp", 1, 0);
}

// Where the host keeps its settings decides where the plug-in's are read.
TEST(HostSettings, ThePluginSettingsLieBesideTheHostSettingsFile) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_TRUE(::GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
    const std::wstring perUser = std::wstring(appData) + L"\\Pellam";
    const struct {
        const char* name;
        const wchar_t* marker;  // beside the executable; null: none
    } cases[] = {{"host settings file beside the executable", L"Pellam.ini"},
                 {"portable marker", L"PellamPortable.ini"},
                 {"per-user folder", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        InstalledEditor installed(L"HostSettings");
        RunOptions options;
        options.documentPath = installed.root + L"game.hsp";
        std::wstring settingsFolder = installed.editor;
        if (c.marker != nullptr) {
            Write(installed.editor + c.marker, "");
        } else {
            // Made by the command when missing; the defaults apply until a file is there.
            RemoveTree(perUser);
            ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp34\\", installed.root + L"hsptmp", 1, 1);
            EXPECT_TRUE(IsFolder(perUser));
            settingsFolder = perUser + L"\\";
        }
        Write(settingsFolder + L"Plugins\\Tollik\\Tollik.ini", "[Tollik]\r\nMode=7\r\n");
        ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp34\\", installed.root + L"hsptmp", 7, 1);
        RemoveTree(settingsFolder + L"Plugins\\Tollik");
    }
}

// While the system cannot name the per-user folder, the host's settings
// stand in a relative "Pellam" folder of the current directory, if there is one.
class UnnamedAppData {
public:
    UnnamedAppData() {
        ::RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &key_);
        DWORD size = sizeof saved_;
        saved_ok_ = ::RegQueryValueExW(key_, L"AppData", nullptr, &type_,
                                       reinterpret_cast<BYTE*>(saved_), &size) == ERROR_SUCCESS;
        savedSize_ = size;
        const wchar_t missing[] = L"C:\\tollik-e2e-missing\\AppData";
        ::RegSetValueExW(key_, L"AppData", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(missing),
                         sizeof missing);
    }
    ~UnnamedAppData() {
        if (saved_ok_) ::RegSetValueExW(key_, L"AppData", 0, type_, reinterpret_cast<const BYTE*>(saved_), savedSize_);
        ::RegCloseKey(key_);
    }
    UnnamedAppData(const UnnamedAppData&) = delete;
    UnnamedAppData& operator=(const UnnamedAppData&) = delete;
    bool Active() const { return saved_ok_; }

private:
    static constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    HKEY key_ = nullptr;
    DWORD type_ = REG_EXPAND_SZ;
    wchar_t saved_[MAX_PATH] = {};
    DWORD savedSize_ = 0;
    bool saved_ok_ = false;
};

TEST(HostSettings, WithoutAPerUserFolderTheyStandInARelativeFolder) {
    InstalledEditor installed(L"RelativeSettings");
    const std::wstring current = installed.root + L"current\\";
    MakeFolders(installed.root + L"current");
    RunOptions options;
    options.documentPath = installed.root + L"game.hsp";
    options.currentDirectory = current;
    const UnnamedAppData unnamed;
    ASSERT_TRUE(unnamed.Active());

    {
        // The tree is made outward from a parent that exists; a relative
        // "Pellam" has none, so it cannot be made.
        SCOPED_TRACE("the relative folder missing");
        const CommandRun run = installed.Start(options);
        ASSERT_EQ(run.editor.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(run.editor.boxes[0].text), ToUtf8(L"ディレクトリを作成できません"));
        EXPECT_TRUE(run.editor.boxes[0].ownedByHost);
        EXPECT_EQ(run.editor.hostMessages, 0u);
        EXPECT_TRUE(run.editor.launches.empty());
        EXPECT_FALSE(IsFolder(current + L"Pellam"));
    }
    {
        SCOPED_TRACE("the relative folder there, with settings");
        Write(current + L"Pellam\\Plugins\\Tollik\\Tollik.ini", "[Tollik]\r\nMode=6\r\n");
        ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp34\\", installed.root + L"hsptmp", 6, 1);
    }
}

// Each failing step shows its own message in a box owned by the host, and
// nothing is started.
TEST_F(Command, FailuresShowTheirMessageAndStartNothing) {
    const std::wstring work = installed.root + L"work\\";
    const std::wstring script = work + L"hsptmp";
    Write(settings, "[Tollik]\r\n");
    Write(script, "previous run");

    {
        SCOPED_TRACE("settings file held open for writing");
        const OpenFile writer(settings, GENERIC_WRITE, FILE_SHARE_READ);
        ASSERT_NE(writer.handle, INVALID_HANDLE_VALUE);
        RunOptions options;
        options.documentPath = work + L"game.hsp";
        const CommandRun run = installed.Start(options);
        ASSERT_EQ(run.editor.boxes.size(), 1u);
        EXPECT_EQ(ToUtf8(run.editor.boxes[0].text),
                  ToUtf8(L"ファイル " + settings + L" は開けません。 " + SystemText(ERROR_SHARING_VIOLATION) + L" "));
        EXPECT_EQ(run.editor.hostMessages, 0u);  // the document was not touched
        EXPECT_TRUE(run.editor.launches.empty());
        EXPECT_EQ(Read(script), "previous run");
    }

    const std::wstring longFolder = installed.root + std::wstring(254 - installed.root.size() - 1, L'x') + L"\\";
    ASSERT_EQ((longFolder + L"hsptmp").size(), 260u);
    MakeFolders(longFolder.substr(0, longFolder.size() - 1));
    Write(installed.root + L"blocker", "a file where a folder should be");
    const struct {
        const char* name;
        std::wstring documentPath;
        std::wstring message;
        void (*arrange)(const std::wstring& script);
    } cases[] = {
        {"script file held open without write sharing", work + L"game.hsp", kWriteFailure, nullptr},
        {"a folder named hsptmp", installed.root + L"folder\\game.hsp", kWriteFailure,
         [](const std::wstring& s) { MakeFolders(s.substr(0, s.rfind(L'\\')) + L"\\hsptmp"); }},
        {"script folder that cannot be created", installed.root + L"blocker\\sub\\game.hsp",
         L"ディレクトリ" + installed.root + L"blocker\\subを作成できません。", nullptr},
        {"script path over the limit", longFolder + L"game.hsp",
         L"スクリプトファイルのパスが長すぎます。パスは 259 文字までにしてください。", nullptr},
    };
    const OpenFile reader(script, GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(reader.handle, INVALID_HANDLE_VALUE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.arrange != nullptr) c.arrange(c.documentPath);
        RunOptions options;
        options.documentPath = c.documentPath;
        const CommandRun run = installed.Start(options);
        ASSERT_EQ(run.editor.boxes.size(), 1u);
        const ShownBox& box = run.editor.boxes[0];
        EXPECT_EQ(ToUtf8(box.text), ToUtf8(c.message));
        EXPECT_TRUE(box.ownedByHost);
        EXPECT_EQ(box.caption, L"HSP コンパイル/実行");
        EXPECT_EQ(box.type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_TRUE(run.editor.launches.empty());
        EXPECT_EQ(run.editor.hostMessages, 12u);  // captured in full first
        EXPECT_TRUE(run.editor.paintingResumed);
        EXPECT_TRUE(run.editor.selectionRestored);
    }
    EXPECT_EQ(Read(script), "previous run");
}

TEST_F(Command, TheLongestScriptPathIsWritten) {
    const std::wstring folder = installed.root + std::wstring(253 - installed.root.size() - 1, L'x') + L"\\";
    ASSERT_EQ((folder + L"hsptmp").size(), 259u);
    RunOptions options;
    options.documentPath = folder + L"game.hsp";
    ExpectRunnerStarted(installed, installed.Start(options), L"C:\\hsp34\\", folder + L"hsptmp", 1, 1);
    EXPECT_EQ(Read(folder + L"hsptmp"), "mes \"ok\"\r\n");
}

TEST_F(Command, TheRunnerRefusesACommandLineItCannotRead) {
    const std::wstring runner = installed.editor + L"Plugins\\Tollik.exe";
    EXPECT_EQ(installed.Launch(Quote(runner) + L" C:\\hsp37\\ \"C:\\work\\hsptmp\" 1 1"), 2u);
    EXPECT_NE(Read(installed.editor + L"Plugins\\TollikRunnerReport.txt")
                  .find("error=The HSP folder is not in double quotes"),
              std::string::npos);
    EXPECT_EQ(installed.Launch(Quote(runner) + L" \"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1"), 0u);
}

}  // namespace
}  // namespace tollik::host
