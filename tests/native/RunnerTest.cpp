// The runner on the fake Windows and its fake HSP compiler: the mode table,
// the order of the compiler's calls, each failure's window and exit code,
// and paths the ANSI code page cannot hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "FakeCodePages.h"
#include "FakeText.h"
#include "FakeToolchain.h"
#include "FolderLock.h"
#include "Runner.h"
#include "hsp/CompilerReport.h"
#include "hsp/PackFile.h"

namespace tollik {
namespace {

using fake::FakeToolchain;
using runner::ExitCode;
using testing::Utf8;

constexpr char kLineThreeReport[] =
    "#HSP script preprocessor ver3.7 / onion software 1997-2025(c)\r\n"
    "#Use file [hspdef.as]\r\n"
    "hsptmp(3) : error 4 : \x83\x70\x83\x89\x83\x81\x81\x5B\x83\x5E\x81\x5B (3\x8D\x73\x96\xDA)\r\n"
    "--> mes 1+*\r\n";

class Runner : public ::testing::Test {
protected:
    Runner() {
        windows.ansiCodePage = 932;
        windows.files.AddFile(u"C:\\hsp37\\hspcmp.dll");
        windows.files.AddFile(u"C:\\hsp37\\hsp3.exe");
        windows.files.AddFile(u"C:\\hsp37\\hsp3cl.exe");
        windows.files.AddFolder(u"C:\\hsp37\\common");
        windows.files.AddFile(u"C:\\work\\hsptmp", "mes 1\r\n");
    }

    ExitCode Run(std::u16string_view arguments) { return RunOn(windows, arguments); }
    std::string WindowText() const { return WindowTextOf(windows); }

    static ExitCode RunOn(FakeToolchain& on, std::u16string_view arguments) {
        const ExitCode code = runner::RunRunner(on, u"\"C:\\Pellam\\Plugins\\Tollik.exe\" " + std::u16string(arguments));
        // Whatever happened, the compiler is unloaded and no handle is left.
        EXPECT_EQ(on.LoadedModules(), 0);
        EXPECT_EQ(on.OpenProcessHandles(), 0);
        EXPECT_EQ(on.files.OpenFiles() + on.files.OpenSearches(), 0);
        return code;
    }
    static std::string WindowTextOf(const FakeToolchain& on) {
        return on.windows.empty() ? "(no window)" : Utf8(on.windows.back().text);
    }

    std::string Text(const std::string& name) const {
        for (const fake::CompilerCall& call : windows.compilerCalls)
            if (call.name == name) return call.text;
        return "(not called)";
    }

    FakeToolchain windows;
};

const std::vector<std::string> kCompile = {"hsc_ini", "hsc_refname", "hsc_objname", "hsc_compath", "hsc_comp",
                                           "hsc3_messize", "hsc_getmes"};

std::vector<std::string> Then(std::vector<std::string> calls, std::initializer_list<const char*> more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
}

// The script's folder is the current directory: the DLL search must leave it
// before anything loads (the fake refuses a load while it is searched).
TEST_F(Runner, RestrictsTheDllSearchBeforeAnythingElse) {
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 2 0"), ExitCode::Success);
    ASSERT_GE(windows.calls.size(), 2u);
    EXPECT_EQ(windows.calls[0], "SetDefaultDllDirectories");
    EXPECT_EQ(windows.calls[1], "SetDllDirectoryW");
    EXPECT_EQ(windows.defaultDllDirectories, os::kLoadLibrarySearchSystem32 | os::kLoadLibrarySearchApplicationDir);
    EXPECT_EQ(windows.dllDirectory, u"");
}

TEST_F(Runner, WithoutTheSearchFlagsTheCurrentDirectoryStillLeavesTheSearch) {
    windows.FailCall("SetDefaultDllDirectories", os::kErrorProcNotFound);
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::Success);
    EXPECT_EQ(windows.dllDirectory, u"");
    EXPECT_EQ(windows.CallCount("LoadLibraryExW"), 1);
    ASSERT_EQ(windows.processes.size(), 1u);
    EXPECT_FALSE(windows.processes[0].dllDirectory) << "the program searches as usual";
    EXPECT_EQ(windows.dllDirectory, u"") << "the runner again does not";
}

// The program finds DLLs in its folder, as when HSP's editor starts it: none
// of the runner's restriction is passed on to it.
TEST_F(Runner, TheProgramStartsWithTheStandardDllSearch) {
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::Success);
    ASSERT_EQ(windows.processes.size(), 1u);
    EXPECT_FALSE(windows.processes[0].dllDirectory) << Utf8(*windows.processes[0].dllDirectory);
}

TEST_F(Runner, ModeOneCompilesInTheScriptsFolderAndStartsTheRuntimeShownWithoutWaiting) {
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1"), ExitCode::Success);
    EXPECT_EQ(windows.CompilerCallNames(), Then(kCompile, {"hsc3_getruntime"}));
    for (const fake::CompilerCall& call : windows.compilerCalls) EXPECT_EQ(Utf8(call.currentDirectory), "C:\\work");
    EXPECT_EQ(Text("hsc_ini"), "hsptmp");
    EXPECT_EQ(Text("hsc_objname"), "obj");
    EXPECT_EQ(Text("hsc_compath"), "C:\\hsp37\\common\\");
    EXPECT_EQ(Text("hsc3_getruntime"), "obj");
    EXPECT_EQ(windows.compilerCalls[4].options, (std::array<std::intptr_t, 3>{1, 0, 1}));
    ASSERT_EQ(windows.processes.size(), 1u);
    const fake::StartedProcess& started = windows.processes[0];
    EXPECT_EQ(Utf8(started.application), "C:\\hsp37\\hsp3.exe");
    EXPECT_EQ(Utf8(started.commandLine), "\"C:\\hsp37\\hsp3.exe\" obj");
    EXPECT_EQ(Utf8(started.currentDirectory), "C:\\work\\");
    EXPECT_EQ(started.showWindow, os::kSwShowNormal);
    EXPECT_EQ(started.creationFlags, os::kCreateNewConsole);
    EXPECT_TRUE(windows.windows.empty()) << WindowText();
}

TEST_F(Runner, DebugFlagAndFolderWithoutItsBackslashReachTheCompiler) {
    EXPECT_EQ(Run(u"\"C:\\hsp37\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::Success);
    EXPECT_EQ(windows.compilerCalls[4].options, (std::array<std::intptr_t, 3>{1, 0, 0}));
    EXPECT_EQ(Text("hsc_compath"), "C:\\hsp37\\common\\");
}

TEST_F(Runner, ModeOneStartsTheRuntimeTheScriptAsksFor) {
    windows.runtimeAsked = "hsp3cl.exe";
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::Success);
    ASSERT_EQ(windows.processes.size(), 1u);
    EXPECT_EQ(Utf8(windows.processes[0].application), "C:\\hsp37\\hsp3cl.exe");
}

TEST_F(Runner, ModeTwoShowsTheReportAlsoOnSuccessAndRunsNothing) {
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 2 1"), ExitCode::Success);
    EXPECT_EQ(windows.CompilerCallNames(), kCompile);
    EXPECT_TRUE(windows.processes.empty());
    ASSERT_EQ(windows.windows.size(), 1u);
    EXPECT_FALSE(windows.windows[0].isError);
    EXPECT_EQ(WindowText().rfind("コンパイルが終わりました。エラーはありません。\r\n\r\nコンパイラーの出力:\r\n#HSP", 0), 0u)
        << WindowText();
    EXPECT_EQ(Utf8(windows.windows[0].title), "Tollik - コンパイルのみ - C:\\work");
}

TEST_F(Runner, ModeThreePacksAndMakesTheExecutableWithTheHspFolder) {
    windows.makeReport = "Make custom execute file [demo.exe].\r\n";
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 3 1"), ExitCode::Success);
    EXPECT_EQ(windows.CompilerCallNames(), Then(kCompile, {"hsc3_make", "hsc3_messize", "hsc_getmes"}));
    EXPECT_EQ(Text("hsc_objname"), "start.ax");
    EXPECT_EQ(windows.compilerCalls[4].options, (std::array<std::intptr_t, 3>{0, 4, 0}));
    EXPECT_EQ(Text("hsc3_make"), "C:\\hsp37\\hsptmp");
    EXPECT_NE(WindowText().find("実行ファイルを作りました:\r\n    C:\\work\\demo.exe"), std::string::npos) << WindowText();
    EXPECT_TRUE(windows.processes.empty());
}

// A failing hsc3_make is the toolchain's, the folder's or the script's, each
// said with its fix; made, the executable gets its #packopt icon, version,
// manifest, lang and upx from the HSP folder's iconins.exe.
TEST_F(Runner, ModeThreeNamesWhyNoExecutableWasMadeAndRunsIconinsForItsOptions) {
    const struct {
        const char* name;
        std::int32_t makeResult;
        const char* makeReport;
        std::function<void(FakeToolchain&)> arrange;
        ExitCode code;
        const char* says;
    } cases[] = {
        // First: the rows after it put iconins.exe into the HSP folder.
        {"no iconins.exe", 0, "Make custom execute file [demo.exe].", {}, ExitCode::Success,
         "#packopt の icon, lang は適用されていません。HSP のフォルダーに iconins.exe がありません:\r\n    C:\\hsp37\\iconins.exe"},
        {"runtime missing", -1, "#No file [C:\\hsp37\\hsprt].", {}, ExitCode::ToolchainProblem,
         "実行ファイルの元になるランタイムがありません:\r\n    C:\\hsp37\\hsprt\r\n"},
        {"old executable running", -1, "#Write error [demo.exe].", {}, ExitCode::ScriptProblem,
         "実行ファイルを書き込めません:\r\n    C:\\work\\demo.exe\r\n\r\n前に作った実行ファイルが動いていれば"},
        {"another failure", -1, "#Error:bad in line 2 [hsptmp]", {}, ExitCode::CompileError, "コンパイル エラー: 2 行目: bad"},
        {"iconins fails, its executable never readable", 0, "Make custom execute file [demo.exe].",
         [](FakeToolchain& w) { w.exitCodes[u"C:\\hsp37\\iconins.exe"] = 2; }, ExitCode::ToolchainProblem,
         "#packopt の icon, lang を適用する iconins.exe が失敗しました (終了コード 2)"},
        {"iconins hangs", 0, "Make custom execute file [demo.exe].",
         [](FakeToolchain& w) { w.exitCodes[u"C:\\hsp37\\iconins.exe"] = FakeToolchain::kStillRunning; },
         ExitCode::ToolchainProblem, "1 分待っても終わりませんでした"},
        {"icon name too long for the compiler", 0, "Make custom execute file [demo.exe].",
         [](FakeToolchain& w) { w.files.AddFile(u"C:\\work\\packfile", ";!icon=" + std::string(252, 'x') + "\r\n"); },
         ExitCode::ScriptProblem, "#packopt icon が HSP のコンパイラーには長すぎます (ここでは 251 バイトまで)"},
        {"64-bit runtime", 0, "Make custom execute file [demo.exe].",
         [](FakeToolchain& w) { w.files.AddFile(u"C:\\work\\packfile", ";!runtime=hsp3_64.hrt\r\n;!icon=my.ico\r\n"); },
         ExitCode::Success, "#packopt の icon は適用されていません。64 ビット版ランタイム hsp3_64"},
        {"iconins applies them", 0, "Make custom execute file [demo.exe].",
         [](FakeToolchain& w) { w.files.AddFile(u"C:\\work\\demo.exe", "MZ"); }, ExitCode::Success,
         "実行ファイルを作りました:\r\n    C:\\work\\demo.exe\r\n\r\nコンパイラーの出力:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.windows.clear();
        windows.processes.clear();
        windows.exitCodes.clear();
        if (std::string(c.name) != "no iconins.exe") windows.files.AddFile(u"C:\\hsp37\\iconins.exe");
        windows.files.AddFile(u"C:\\work\\packfile", "start.ax\r\n;!name=demo\r\n;!icon=my.ico\r\n;!lang=1041\r\n");
        windows.makeResult = c.makeResult;
        windows.makeReport = c.makeReport;
        windows.slept = 0;
        if (c.arrange) c.arrange(windows);
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 3 0"), c.code);
        EXPECT_NE(WindowText().find(c.says), std::string::npos) << WindowText();
        if (std::string(c.name) == "iconins applies them") {
            ASSERT_EQ(windows.processes.size(), 1u);
            EXPECT_EQ(Utf8(windows.processes[0].commandLine),
                      "\"C:\\hsp37\\iconins.exe\" -e\"C:\\work\\demo.exe\" -i\"C:\\work\\my.ico\" -l\"1041\"");
            EXPECT_EQ(Utf8(windows.processes[0].currentDirectory), "C:\\work\\");
            EXPECT_EQ(windows.slept, 100u) << "a pause, then the executable could be read";
        }
        if (std::string(c.name).starts_with("iconins fails")) {
            EXPECT_EQ(windows.slept, 4900u) << "49 pauses, then on";
        }
        if (std::string(c.name) == "64-bit runtime") {
            EXPECT_TRUE(windows.processes.empty());
        }
    }
}

// hsc3_make builds "<current folder>\\<name>.exe" in a buffer of MAX_PATH
// before anything else, and reads the packfile unchecked: what would not fit,
// or could not be read, makes no executable.
TEST_F(Runner, ModeThreeRefusesWhatHsc3MakeCannotHold) {
    const std::u16string deep = u"C:\\" + std::u16string(245, u'd');  // with its backslash, 249 bytes
    const struct {
        const char* name;
        std::u16string script;
        std::string packfile;
        ExitCode code;
        const char* says;
    } cases[] = {
        {"249-byte folder, the default name", deep + u"\\hsptmp", "", ExitCode::Success, "実行ファイルを作りました"},
        {"250-byte folder, the default name", deep + u"d\\hsptmp", "", ExitCode::ScriptProblem,
         "HSP のコンパイラーにはこのパスが長すぎます (249 バイトまで)"},
        {"a drive's root: the compiler adds its own backslash", u"C:\\hsptmp",
         ";!name=" + std::string(252, 'n') + ".exe\r\n", ExitCode::ScriptProblem, "(ここでは 251 バイトまで)"},
        {"a name's extension is not counted", deep + u"\\hsptmp", ";!name=hsptmp.exe\r\n", ExitCode::Success,
         "実行ファイルを作りました"},
        {"the runtime after the HSP folder", u"C:\\work\\hsptmp", ";!runtime=" + std::string(251, 'r') + "\r\n",
         ExitCode::ScriptProblem, "#packopt runtime が HSP のコンパイラーには長すぎます (ここでは 250 バイトまで)"},
        {"a line over the compiler's 511 bytes", u"C:\\work\\hsptmp", ";!lang=" + std::string(505, 'l') + "\r\n",
         ExitCode::ScriptProblem, "#packopt lang が HSP のコンパイラーには長すぎます (ここでは 504 バイトまで)"},
        {"a packfile over 1 MiB", u"C:\\work\\hsptmp", std::string((1 << 20) + 1, ';'), ExitCode::ScriptProblem,
         "packfile が 1 MiB を超えています"},
        {"a packfile held open", u"C:\\work\\hsptmp", "held", ExitCode::ScriptProblem,
         "packfile を読めません: The process cannot access the file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.compilerCalls.clear();
        windows.files.AddFile(c.script, "mes 1\r\n");
        const std::u16string packfile = c.script.substr(0, c.script.rfind(u'\\') + 1) + u"packfile";
        if (!c.packfile.empty()) windows.files.AddFile(packfile, c.packfile);
        if (c.packfile == "held") windows.files.OpenElsewhere(packfile, os::kGenericWrite, 0);
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"" + c.script + u"\" 3 0"), c.code);
        EXPECT_NE(WindowText().find(c.says), std::string::npos) << WindowText();
        const std::vector<std::string> calls = windows.CompilerCallNames();
        EXPECT_EQ(std::count(calls.begin(), calls.end(), "hsc3_make"), c.code == ExitCode::Success ? 1 : 0);
    }
}

TEST(PackFile, NamesTheExecutableAsTheCompilerDoes) {
    EXPECT_EQ(runner::MadeExecutableFileName(runner::ReadPackOptions("start.ax\r\n")), "hsptmp.exe");
    EXPECT_EQ(runner::MadeExecutableFileName(runner::ReadPackOptions(";!name=old\n;!name=my.game.exe\n;!type=2\n")),
              "my.game.scr");
    // A full stop in a folder, or as the second byte of a Shift_JIS pair, starts no extension.
    EXPECT_EQ(runner::MadeExecutableFileName(runner::ReadPackOptions(";!name=v1.2\\game\n")), "v1.2\\game.exe");
    EXPECT_EQ(runner::MadeExecutableFileName(runner::ReadPackOptions(";!name=caf\xE9.exe\n")), "caf\xE9.exe.exe");
}

TEST_F(Runner, CompileErrorShowsTheFirstErrorAboveTheWholeReportInEveryMode) {
    for (const char16_t* mode : {u"1", u"2", u"3"}) {
        SCOPED_TRACE(Utf8(mode));
        windows.compilerCalls.clear();
        windows.windows.clear();
        windows.compileResult = 4;
        windows.compileReport = kLineThreeReport;
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" " + std::u16string(mode) + u" 1"), ExitCode::CompileError);
        ASSERT_EQ(windows.windows.size(), 1u);
        EXPECT_TRUE(windows.windows[0].isError);
        EXPECT_EQ(WindowText().rfind("コンパイル エラー: 3 行目: パラメーター\r\n", 0), 0u) << WindowText();
        EXPECT_NE(WindowText().find("hsptmp(3) : error 4 : パラメーター (3行目)\r\n--> mes 1+*"), std::string::npos);
        EXPECT_TRUE(windows.processes.empty());
        EXPECT_EQ(windows.CallCount("hsc3_make"), 0);
    }
}

// An error in an included file names that file: the document has no such line.
// A script named with 表 (0x95 0x5C in code page 932) keeps its whole name.
TEST_F(Runner, ErrorSummaryNamesAnIncludedFileAndTheScriptNameSurvivesCodePage932) {
    windows.files.AddFile(u"C:\\work\\表.hsp", "#include \"mod_util.as\"\r\n");
    windows.compileResult = 4;
    const struct {
        const char* report;
        const char* summary;
    } cases[] = {
        {"mod_util.as(12) : error 4 : bad (12\x8D\x73\x96\xDA)\r\n", "コンパイル エラー: mod_util.as の 12 行目: bad\r\n"},
        {"#Error:macro syntax error in line 9 [mod_util.as]\r\n", "コンパイル エラー: mod_util.as の 9 行目: macro syntax error\r\n"},
        {"\x95\x5C.HSP(3) : error 4 : bad\r\n", "コンパイル エラー: 3 行目: bad\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report);
        windows.compilerCalls.clear();
        windows.compileReport = c.report;
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\表.hsp\" 1 0"), ExitCode::CompileError);
        EXPECT_EQ(Text("hsc_ini"), "\x95\x5C.hsp");
        EXPECT_EQ(WindowText().rfind(c.summary, 0), 0u) << WindowText();
    }
}

TEST_F(Runner, EachFailureHasItsWindowAndExitCode) {
    const struct {
        const char* name;
        std::function<void(FakeToolchain&)> arrange;
        std::u16string arguments;
        ExitCode code;
        std::vector<std::string> words;
    } cases[] = {
        {"unreadable line", {}, u"C:\\hsp37\\ hsptmp 1 1", ExitCode::BadInvocation,
         {"コマンドラインを読めません", "\"<HSP folder>\" \"<script>\" <run mode> <debug window 0/1>"}},
        {"unknown mode", {}, u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 0 1", ExitCode::BadInvocation,
         {"実行モード 0 はありません", "1: コンパイルして実行", "2: コンパイルのみ", "3: 実行ファイル作成"}},
        {"HSP folder not set", {}, u"\"\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"HSP のフォルダーが設定されていません。", "tollik-check.exe", ":\r\n    C:\\hsp37\\", "HSPDirName=C:\\hsp37\\"}},
        {"only HSP 3.8's 64-bit compiler", [](FakeToolchain& w) { w.files.AddFile(u"C:\\hsp38\\hspcmp_64.dll"); },
         u"\"C:\\hsp38\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"64 ビット版のコンパイラーしかありません:\r\n    C:\\hsp38\\hspcmp_64.dll", "32 ビット版の hspcmp.dll が必要です"}},
        // HSP's installer names its folder after the version: a newer one
        // lands where nobody looks, and is named with the line that uses it.
        {"no HSP folder",
         [](FakeToolchain& w) {
             w.files.AddFile(u"C:\\hsp38\\hspcmp.dll");
             w.files.AddFolder(u"C:\\hsp39");  // no compiler in it
             w.files.AddDrive(u'E', {.type = os::kDriveRemovable});
             w.files.AddFile(u"E:\\hsp41\\hspcmp.dll");
         },
         u"\"D:\\hsp\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"HSP のフォルダーがありません:\r\n    D:\\hsp\\", "HSPDirName", "tollik-check.exe",
          "ドライブの直下にある HSP のフォルダー:\r\n    C:\\hsp38\\\r\n    C:\\hsp37\\\r\n\r\n最初のもの",
          "\r\n    HSPDirName=C:\\hsp38\\"}},
        {"no compiler", [](FakeToolchain& w) { w.files.AddFolder(u"C:\\hsp36"); },
         u"\"C:\\hsp36\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"コンパイラーがありません:\r\n    C:\\hsp36\\hspcmp.dll", "HSPDirName"}},
        {"64-bit compiler", [](FakeToolchain& w) { w.loadErrors[u"C:\\hsp37\\hspcmp.dll"] = os::kErrorBadExeFormat; },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"C:\\hsp37\\hspcmp.dll", "32 ビット Windows 用の DLL ではありません", "HSPDirName"}},
        {"compiler refused", [](FakeToolchain& w) { w.loadErrors[u"C:\\hsp37\\hspcmp.dll"] = os::kErrorAccessDenied; },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem, {"Access is denied (エラー 5)"}},
        {"not the compiler", [](FakeToolchain& w) { w.missingExports = {"hsc3_getruntime", "hsc3_make"}; },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem, {"hsc3_getruntime, hsc3_make"}},
        {"no runtime", [](FakeToolchain& w) { w.runtimeAsked = "hsp3utf.exe"; },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"ランタイムがありません:\r\n    C:\\hsp37\\hsp3utf.exe"}},
        {"runtime outside the folder", [](FakeToolchain& w) { w.runtimeAsked = "..\\hsp36\\hsp3.exe"; },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem, {"\"..\\hsp36\\hsp3.exe\""}},
        {"runtime refused", [](FakeToolchain& w) { w.FailCall("CreateProcessW", os::kErrorAccessDenied); },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ToolchainProblem,
         {"ランタイムを起動できません:\r\n    C:\\hsp37\\hsp3.exe\r\nAccess is denied (エラー 5)"}},
        {"no script folder", {}, u"\"C:\\hsp37\\\" \"C:\\gone\\hsptmp\" 1 1", ExitCode::ScriptProblem,
         {"スクリプトのフォルダーがありません:\r\n    C:\\gone\\"}},
        {"no script", {}, u"\"C:\\hsp37\\\" \"C:\\work\\other\" 1 1", ExitCode::ScriptProblem,
         {"スクリプトのファイルがありません:\r\n    C:\\work\\other"}},
        {"script refused", [](FakeToolchain& w) { w.files.RefuseOpen(u"C:\\work\\hsptmp", os::kErrorAccessDenied); },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ScriptProblem, {"開けません:\r\n    C:\\work\\hsptmp\r\nAccess is denied"}},
        {"folder refused", [](FakeToolchain& w) { w.FailCall("SetCurrentDirectoryW", os::kErrorAccessDenied); },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::ScriptProblem, {"Access is denied (エラー 5)"}},
        {"out of memory", [](FakeToolchain& w) { w.ThrowOnCall("LoadLibraryExW", 1, [] { throw std::bad_alloc(); }); },
         u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1", ExitCode::Unexpected, {"メモリが足りません。"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeToolchain fresh;
        fresh.ansiCodePage = 932;
        for (const char16_t* file : {u"C:\\hsp37\\hspcmp.dll", u"C:\\hsp37\\hsp3.exe", u"C:\\work\\hsptmp"})
            fresh.files.AddFile(file);
        fresh.files.AddFolder(u"C:\\hsp37\\common");
        if (c.arrange) c.arrange(fresh);
        EXPECT_EQ(RunOn(fresh, c.arguments), c.code);
        ASSERT_EQ(fresh.windows.size(), 1u);
        EXPECT_TRUE(fresh.windows[0].isError);
        const std::string text = WindowTextOf(fresh);
        for (const std::string& word : c.words) EXPECT_NE(text.find(word), std::string::npos) << text;
        EXPECT_TRUE(fresh.processes.empty());
    }
}

TEST_F(Runner, PathsTheCodePageCannotHoldGoToTheCompilerInTheirShortForm) {
    windows.ansiCodePage = 1252;
    windows.files.AddDrive(u'D');
    windows.files.AddFile(u"C:\\作業\\hsptmp");
    windows.files.AddFolder(u"D:\\ツール\\hsp\\common");
    windows.files.AddFile(u"D:\\ツール\\hsp\\hspcmp.dll");
    windows.files.AddFile(u"D:\\ツール\\hsp\\hsp3.exe");
    windows.shortPaths[u"D:\\ツール\\hsp\\common\\"] = u"D:\\TSURU~1\\hsp\\common\\";
    windows.shortPaths[u"C:\\作業\\hsptmp"] = u"C:\\SAGYO~1\\hsptmp";
    EXPECT_EQ(Run(u"\"D:\\ツール\\hsp\\\" \"C:\\作業\\hsptmp\" 1 1"), ExitCode::Success) << WindowText();
    EXPECT_EQ(Text("hsc_compath"), "D:\\TSURU~1\\hsp\\common\\");
    EXPECT_EQ(Text("hsc_ini"), "hsptmp");
    EXPECT_EQ(Utf8(windows.processes.at(0).application), "D:\\ツール\\hsp\\hsp3.exe");

    // Without a short name there is nothing the compiler could open.
    windows.shortPaths.erase(u"D:\\ツール\\hsp\\common\\");
    windows.compilerCalls.clear();
    EXPECT_EQ(Run(u"\"D:\\ツール\\hsp\\\" \"C:\\作業\\hsptmp\" 1 1"), ExitCode::ToolchainProblem);
    EXPECT_NE(WindowText().find("D:\\ツール\\hsp\\common\\\r\nコード ページ 1252"), std::string::npos) << WindowText();
    EXPECT_TRUE(windows.compilerCalls.empty());
}

TEST_F(Runner, JapanesePathsUnderCodePage932GoAsTheyAreAndOverlongOnesAreRefused) {
    windows.files.AddFile(u"C:\\作業\\hsptmp");
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\作業\\hsptmp\" 1 1"), ExitCode::Success);
    EXPECT_EQ(Utf8(windows.processes.at(0).currentDirectory), "C:\\作業\\");

    // The HSP folder leaves room for what the compiler appends to it.
    for (const std::size_t length : {188u, 189u}) {
        const std::u16string deep = u"C:\\" + std::u16string(length - 4, u'h') + u"\\";
        windows.files.AddFolder(deep + u"common");
        windows.files.AddFile(deep + u"hspcmp.dll");
        windows.files.AddFile(deep + u"hsp3.exe");
        windows.compilerCalls.clear();
        EXPECT_EQ(Run(u"\"" + deep + u"\" \"C:\\work\\hsptmp\" 3 1"),
                  length == 188 ? ExitCode::Success : ExitCode::ToolchainProblem) << WindowText();
        if (length == 189) {
            EXPECT_NE(WindowText().find("長すぎます (188 バイトまで)"), std::string::npos) << WindowText();
            EXPECT_TRUE(windows.compilerCalls.empty());
        }
    }
}

TEST_F(Runner, EnglishForOtherLanguagesAndTheExitCodeStandsWhenNoWindowCanBeShown) {
    windows.uiLanguage = 0x0409;
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 9 1"), ExitCode::BadInvocation);
    EXPECT_EQ(WindowText().rfind("Run mode 9 does not exist. The run modes are:\r\n    1: Compile and run", 0), 0u)
        << WindowText();
    EXPECT_EQ(Utf8(windows.windows[0].title), "Tollik - C:\\work");

    windows.windowFails = true;
    windows.compileResult = 1;
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 1"), ExitCode::CompileError);
}

// The compiler reads the script as UTF-8, in every mode, under code page
// 65001 and where it begins with a byte-order mark, and its report is read
// so; elsewhere it reads Shift_JIS, and under a code page other than 932 a
// failed compile of a script holding Shift_JIS lead bytes says why.
TEST_F(Runner, TheScriptsEncodingFollowsTheCodePageOrItsMarkAndSingleBytePagesAreExplained) {
    const struct {
        std::uint32_t codePage;
        bool marked;
        const char* line;
        std::intptr_t utf8Input;
        bool explained;
        const char* quoted;
    } cases[] = {
        {932, false, "mes \"\x95\x5C\"", 0, false, "mes \"表\""},
        {65001, false, "mes \"\xE3\x81\x82\"", 32, false, "mes \"あ\""},
        {932, true, "mes \"\xF0\x9F\x98\x80\"", 32, false, "mes \"😀\""},
        {1252, false, "mes \"caf\xE9\"", 0, true, "mes \"café\""},
        {1252, false, "mes \"cafe\"", 0, false, "mes \"cafe\""},
        {1252, true, "mes \"caf\xC3\xA9\"", 32, false, "mes \"café\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        windows.ansiCodePage = c.codePage;
        windows.files.AddFile(u"C:\\work\\hsptmp", std::string(c.marked ? "\xEF\xBB\xBF" : "") + c.line + "\r\n");
        for (const auto& [mode, packOption] : {std::pair{u"1", 0}, std::pair{u"2", 0}, std::pair{u"3", 4}}) {
            windows.compilerCalls.clear();
            windows.compileResult = 0;
            EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" " + std::u16string(mode) + u" 0"), ExitCode::Success);
            EXPECT_EQ(windows.compilerCalls.at(4).options[1], packOption | c.utf8Input);
        }
        windows.compileResult = 4;
        windows.compileReport = kLineThreeReport + std::string("--> ") + c.line + "\r\n";
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::CompileError);
        const std::string text = WindowText();
        EXPECT_EQ(text.rfind("コンパイル エラー: 3 行目: パラメーター\r\n", 0), 0u) << text;
        EXPECT_EQ(text.find("Shift_JIS として読む") != std::string::npos, c.explained) << text;
        EXPECT_NE(text.find(std::string("--> ") + c.quoted + "\r\n"), std::string::npos) << text;
    }
}

// Read as UTF-8, a module saved as Shift_JIS breaks the compile: the error
// in it says so, found where the compiler's include search finds it. A file
// named beyond ASCII cannot be opened at all outside 65001.
TEST_F(Runner, UnderUtf8InputAModuleNotInUtf8OrAFileNameBeyondAsciiIsExplained) {
    const std::string shiftJis = "a = \"\xE2\x7D\" + \"x\"\r\n";  // 竈
    const std::string generator = "mod.as(1) : error 4 : bad (1\x8D\x73\x96\xDA)\r\n";
    const std::string preprocessor = "#Error:bad in line 1 [mod.as]\r\n";
    const std::string missing = fake::EncodeForCodePage(932, u"#スクリプトファイルが見つかりません [") +
                                "\xE8\xA1\xA8.as]\r\n#Error: in line 1 [hsptmp]\r\n";
    const struct {
        const char* name;
        std::uint32_t codePage;
        bool marked;
        std::string report;
        std::vector<std::pair<const char16_t*, std::string>> files;
        std::string says;  // empty: no explanation
    } cases[] = {
        {"beside the script", 932, true, generator, {{u"C:\\work\\mod.as", shiftJis}}, "し直してください:\r\n    C:\\work\\mod.as"},
        {"in the include folder", 932, true, preprocessor, {{u"C:\\hsp37\\common\\mod.as", shiftJis}},
         "mod.as は UTF-8 として正しくありません。おそらく Shift_JIS で保存されています。"},
        {"the script's folder first", 932, true, preprocessor,
         {{u"C:\\work\\mod.as", "a = 1\r\n"}, {u"C:\\hsp37\\common\\mod.as", shiftJis}}, ""},
        {"in a folder the script includes from", 932, true, generator, {{u"C:\\work\\lib\\mod.as", shiftJis}},
         "し直してください:\r\n    C:\\work\\lib\\mod.as"},
        {"read as Shift_JIS", 932, false, generator, {{u"C:\\work\\mod.as", shiftJis}}, ""},
        {"a name beyond ASCII", 932, true, missing, {}, "1 行目: スクリプトファイルが見つかりません [表.as]\r\nUTF-8 で保存された"
         "スクリプトでは、コード ページ 932 の HSP のコンパイラーは ASCII 以外の文字を含む名前のファイルを開けません"},
        {"a name beyond ASCII under 65001", 65001, false, missing, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeToolchain fresh;
        fresh.ansiCodePage = c.codePage;
        for (const char16_t* file : {u"C:\\hsp37\\hspcmp.dll", u"C:\\hsp37\\hsp3.exe"}) fresh.files.AddFile(file);
        fresh.files.AddFolder(u"C:\\hsp37\\common");
        fresh.files.AddFile(u"C:\\work\\hsptmp", (c.marked ? "\xEF\xBB\xBF" : "") + std::string("#include \"lib/sub.as\"\r\n"));
        for (const auto& [path, bytes] : c.files) fresh.files.AddFile(path, bytes);
        fresh.compileResult = 4;
        fresh.compileReport = c.report;
        EXPECT_EQ(RunOn(fresh, u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::CompileError);
        const std::string summary = WindowTextOf(fresh).substr(0, WindowTextOf(fresh).find("\r\n\r\n"));
        // Nothing but the first error, or that and the explanation.
        const bool explained = summary.find(c.says.empty() ? "\r\n" : c.says) != std::string::npos;
        EXPECT_EQ(explained, !c.says.empty()) << summary;
    }
}

// hsc3_make opens and names files with the ANSI calls: the names of a script
// read as UTF-8 reach it in the ANSI code page, or the run says which one
// that code page cannot write.
TEST_F(Runner, ModeThreeHandsAUtf8ScriptsNamesToTheCompilerInItsCodePage) {
    const struct {
        const char* name;
        std::uint32_t codePage;
        std::string packfile, handed;  // what the compiler wrote; what hsc3_make reads (empty: not called)
        const char* made;              // the name hsc3_make's report gives, in the ANSI code page
        const char* says;
    } cases[] = {
        {"Japanese under 932", 932, "\xE8\xA1\xA8.txt\r\n;!name=\xE8\xA1\xA8\r\n", "\x95\x5C.txt\r\n;!name=\x95\x5C\r\n",
         "\x95\x5C", "実行ファイルを作りました:\r\n    C:\\work\\表.exe"},
        {"accents under 1252", 1252, ";!name=\xC3\xA9" "a\r\n+\xC3\xA9.png\r\n", ";!name=\xE9" "a\r\n+\xE9.png\r\n",
         "\xE9" "a", "実行ファイルを作りました:\r\n    C:\\work\\éa.exe"},
        {"an emoji under 932", 932, "data.txt\r\n;!name=\xF0\x9F\x98\x80\r\n", "", "",
         "次の名前にはこのコード ページにない文字があります:\r\n    😀\r\nコード ページ 932 にある文字"},
        {"the packfile held against writing", 932, ";!name=\xE8\xA1\xA8\r\n", "", "",
         "packfile を書き直せません: The process cannot access the file"},
    };
    windows.files.AddFile(u"C:\\work\\hsptmp", "\xEF\xBB\xBFmes 1\r\n");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.ansiCodePage = c.codePage;
        windows.ForgetCalls();
        windows.files.AddFile(u"C:\\work\\packfile", c.packfile);
        if (std::string(c.name).starts_with("the packfile"))  // the last row
            windows.files.OpenElsewhere(u"C:\\work\\packfile", os::kGenericRead, os::kFileShareRead);
        windows.makeReport = std::string("Make custom execute file [") + c.made + ".exe].\r\n";
        EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 3 0"), c.handed.empty() ? ExitCode::ScriptProblem : ExitCode::Success);
        EXPECT_NE(WindowText().find(c.says), std::string::npos) << WindowText();
        EXPECT_EQ(windows.CallCount("hsc3_make"), c.handed.empty() ? 0 : 1);
        EXPECT_EQ(windows.files.FileContent(u"C:\\work\\packfile"), c.handed.empty() ? c.packfile : c.handed);
    }
}

// Two quick presses start two runners on one folder: the second waits for
// the first, from its compile to the runtime's start, and no window is
// shown with the folder held.
TEST_F(Runner, OneRunnerAtATimeFromTheCompileToTheRuntimesStart) {
    // The runner takes the lock by this name: the rows below hold it elsewhere.
    const std::u16string name = runner::FolderLockName(windows, u"c:\\WORK\\");
    EXPECT_EQ(name.find(u'\\', 6), std::u16string::npos) << "a mutex name holds no other backslash";
    const struct {
        const char* name;
        std::function<void(FakeToolchain&)> arrange;
        ExitCode code;
        bool locked;
    } cases[] = {
        {"no other runner", {}, ExitCode::Success, true},
        {"the other ended holding it", [&](FakeToolchain& w) { w.heldElsewhere[name] = os::kWaitAbandoned; },
         ExitCode::Success, true},
        {"a console runtime: no input queue to wait on",
         [](FakeToolchain& w) {
             w.runtimeAsked = "hsp3cl.exe";
             w.files.AddFile(u"C:\\hsp37\\hsp3cl.exe");
             w.consolePrograms = {u"C:\\hsp37\\hsp3cl.exe"};
         },
         ExitCode::Success, true},
        {"no mutex to be had", [](FakeToolchain& w) { w.FailCall("CreateMutexW", os::kErrorAccessDenied); },
         ExitCode::Success, false},
        {"the other still compiling", [&](FakeToolchain& w) { w.heldElsewhere[name] = os::kWaitTimeout; },
         ExitCode::ScriptProblem, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeToolchain fresh;
        for (const char16_t* file : {u"C:\\hsp37\\hspcmp.dll", u"C:\\hsp37\\hsp3.exe", u"C:\\work\\hsptmp"})
            fresh.files.AddFile(file);
        fresh.files.AddFolder(u"C:\\hsp37\\common");
        if (c.arrange) c.arrange(fresh);
        EXPECT_EQ(RunOn(fresh, u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), c.code);
        EXPECT_FALSE(fresh.HoldsMutex());
        if (c.code == ExitCode::Success) {
            ASSERT_EQ(fresh.processes.size(), 1u);
            EXPECT_EQ(fresh.processes[0].awaitedWhileLocked, c.locked) << "until the runtime has read obj";
            continue;
        }
        EXPECT_EQ(fresh.CallCount("hsc_comp"), 0);
        EXPECT_NE(WindowTextOf(fresh).find("別のランナーがまだ処理しています:\r\n    C:\\work\r\n\r\n90 秒"),
                  std::string::npos)
            << WindowTextOf(fresh);
    }
    // Compile only: the report is read with the folder free again.
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 2 0"), ExitCode::Success);
    EXPECT_FALSE(windows.windows.at(0).whileLocked);
}

// A press's write (CREATE_ALWAYS, sharing reads) is refused from before the compiler gets the
// script until the compile has returned; the compiler's fopen (reading, sharing all but deletes) is not.
// The runner's own opens of it (CreateFileW; the probes spell it C:\WORK): the hold's, then its reads, held.
TEST_F(Runner, TheScriptIsHeldAgainstWritesUntilTheCompileHasReturned) {
    std::string seen;  // the calls below, "(held)" where the write was refused
    const auto open = [&](std::uint32_t access, std::uint32_t share, std::uint32_t disposition) {
        const os::unique_hfile file(windows, windows.CreateFileW(u"C:\\WORK\\hsptmp", access, share, disposition, 0));
        return file ? 0u : windows.GetLastError();
    };
    for (const std::string call : {"CreateFileW", "hsc_ini", "hsc_comp", "hsc3_make", "CreateProcessW", "ShowTextWindow"})
        windows.OnCall(call, 0, [&, call] {
            if (call == "CreateFileW" && windows.callArguments.back() != "C:\\work\\hsptmp") return;
            EXPECT_EQ(open(os::kGenericRead, os::kFileShareRead | os::kFileShareWrite, os::kOpenExisting), 0u);
            seen += call + (open(os::kGenericWrite, os::kFileShareRead, os::kCreateAlways) != 0 ? "(held) " : " ");
        });
    for (const char16_t* mode : {u"1", u"2", u"3"}) Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" " + std::u16string(mode) + u" 0");
    EXPECT_EQ(seen, "CreateFileW CreateFileW(held) hsc_ini(held) hsc_comp(held) CreateProcessW "  // mode 1: the runtime's start
                    "CreateFileW CreateFileW(held) hsc_ini(held) hsc_comp(held) ShowTextWindow "  // 2: the report
                    "CreateFileW CreateFileW(held) hsc_ini(held) hsc_comp(held) hsc3_make ShowTextWindow ");  // 3: packing, the window
}

// A press just after the runner started: its write is waited for, 5 s at most.
TEST_F(Runner, AWriteInProgressIsWaitedForAWhile) {
    windows.files.OpenElsewhere(u"C:\\work\\hsptmp", os::kGenericWrite, os::kFileShareRead);
    windows.OnCall("Sleep", 3, [this] { windows.files.CloseHeldElsewhere(); });
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::Success);
    windows.files.OpenElsewhere(u"C:\\work\\hsptmp", os::kGenericWrite, os::kFileShareRead);
    EXPECT_EQ(Run(u"\"C:\\hsp37\\\" \"C:\\work\\hsptmp\" 1 0"), ExitCode::ScriptProblem);
    EXPECT_EQ(windows.slept, 300u + 5000u);
    EXPECT_NE(WindowText().find("書き込んでいるため、読めません:\r\n    C:\\work\\hsptmp\r\n\r\n5 秒"), std::string::npos);
}

TEST(CompilerReport, FindsTheFirstErrorInEachOfTheCompilersForms) {
    const struct {
        std::u16string report;
        std::optional<std::int32_t> line;
        const char* message;
        const char* file = "hsptmp";
    } cases[] = {
        {u"#HSP script preprocessor ver3.7 / onion software 1997-2025(c)\r\n#Use file [hspdef.as]\r\n"
         u"hsptmp(12) : error 4 : 式が無効です (12行目)\r\n--> x\r\nhsptmp(20) : error 3 : later\r\n",
         12, "式が無効です"},
        {u"hsptmp(7) : error 2 : bad (line 7)\n", 7, "bad"},
        {u"#HSP script preprocessor ver3.7 / onion software 1997-2025(c)\r\n#Error:macro syntax error in line 9 [hsptmp]\r\n",
         9, "macro syntax error"},
        {u"#HSP script preprocessor ver3.7 / onion software 1997-2025(c)\r\n#Use file [hspdef.as]\r\n"
         u"#スクリプトファイルが見つかりません [neighbour.as]\r\n",
         std::nullopt, "スクリプトファイルが見つかりません [neighbour.as]", ""},
        {u"hsptmp(x) : error 2 : not a line number\r\n#Error:plain\r\n", std::nullopt, "plain", ""},
        {u"#Error:bad in line 4 [mod util.as]\r\n", 4, "bad", "mod util.as"},
        {u"#Use file [hspdef.as]\r\n#スクリプトファイルが見つかりません [a.as]\r\n#Error: in line 1 [hsptmp]\r\n"
         u"#重大なエラーが検出されています\r\n",
         1, "スクリプトファイルが見つかりません [a.as]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.report));
        const std::optional<runner::FirstError> found = runner::FindFirstError(c.report);
        ASSERT_TRUE(found);
        EXPECT_EQ(found->line, c.line);
        EXPECT_EQ(Utf8(found->message), c.message);
        EXPECT_EQ(Utf8(found->file), c.file);
    }
    EXPECT_FALSE(runner::FindFirstError(u"#HSP code generator ver3.7 / onion software 1997-2025(c)\r\n"));
    EXPECT_EQ(Utf8(runner::MadeExecutableName(u"#packfile generated.\r\nMake custom execute file [my game.exe].\r\n")),
              "my game.exe");
    EXPECT_EQ(Utf8(runner::MadeExecutableName(u"Make custom execute file [unclosed")), "");
    EXPECT_EQ(Utf8(runner::WithWindowsLineEnds(u"a\nb\rc\r\n")), "a\r\nb\r\nc\r\n");
}

}  // namespace
}  // namespace tollik
