#include <gtest/gtest.h>

#include <string>

#include "FakeText.h"
#include "RunnerTexts.h"
#include "HSPCmp/RunnerLaunch.h"
#include "command/RunnerCommandLine.h"

namespace tollik {
namespace {

using runner::ParseRunnerCommandLine;
using testing::Utf8;

// What the plug-in writes, the stand-in runner reads back unchanged.
TEST(RunnerCommandLine, ReadsBackWhatThePluginWrites) {
    const struct {
        std::u16string hsp;
        std::u16string script;
        std::int32_t mode;
        bool debug;
    } cases[] = {
        {u"C:\\hsp37\\", u"C:\\work\\hsptmp", 1, true},
        {u"C:\\Program Files (x86)\\hsp 3.7\\", u"C:\\My Documents\\a b\\hsptmp", 2, false},
        {u"\\", u"\\hsptmp", -2147483647 - 1, true},
        {u"\\\\server\\share\\hsp\\", u"hsptmp", 2147483647, false},
        {u"D:\\日本語\\", u"C:\\作業\\hsptmp", 0, true},
        {u"", u"", 5, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.hsp + u" | " + c.script));
        for (const std::u16string program : {u"\"C:\\Pellam\\Plugins\\Tollik.exe\" ", u"Tollik.exe  "}) {
            const runner::ParsedCommandLine parsed =
                ParseRunnerCommandLine(program + RunnerParameters(c.hsp, c.script, c.mode, c.debug));
            ASSERT_TRUE(parsed.ok) << static_cast<int>(parsed.problem);
            EXPECT_EQ(Utf8(parsed.fields.hspDirectory), Utf8(c.hsp));
            EXPECT_EQ(Utf8(parsed.fields.scriptPath), Utf8(c.script));
            EXPECT_EQ(parsed.fields.runMode, c.mode);
            EXPECT_EQ(parsed.fields.debugWindow, c.debug ? 1 : 0);
        }
    }
}

TEST(RunnerCommandLine, RefusesWhatItCannotReadWithAReason) {
    using enum runner::CommandLineProblem;
    const struct {
        std::u16string line;
        runner::CommandLineProblem problem;
        const char* reason;
    } cases[] = {
        {u"Tollik.exe", NoArguments, "no arguments"},
        {u"\"C:\\a b\\Tollik.exe\"   ", NoArguments, "no arguments"},
        {u"Tollik.exe C:\\hsp37\\ \"s\" 1 1", HspFolderNotQuoted, "HSP folder is not in double quotes"},
        {u"Tollik.exe \"C:\\hsp37\\", HspFolderNotClosed, "HSP folder has no closing double quote"},
        {u"Tollik.exe \"C:\\hsp37\\\"\"s\" 1 1", NothingAfterHspFolder, "missing after the HSP folder"},
        {u"Tollik.exe \"h\" s 1 1", ScriptNotQuoted, "script path is not in double quotes"},
        {u"Tollik.exe \"h\" \"s", ScriptNotClosed, "script path has no closing double quote"},
        {u"Tollik.exe \"h\" \"s\"", NothingAfterScript, "missing after the script path"},
        {u"Tollik.exe \"h\" \"s\" x 1", RunModeNotNumber, "run mode is not a decimal integer: \"x\""},
        {u"Tollik.exe \"h\" \"s\" 2147483648 1", RunModeNotNumber, "not a decimal integer: \"2147483648\""},
        {u"Tollik.exe \"h\" \"s\" - 1", RunModeNotNumber, "run mode is not a decimal integer"},
        {u"Tollik.exe \"h\" \"s\" 1", NothingAfterRunMode, "missing after the run mode"},
        {u"Tollik.exe \"h\" \"s\" 1 yes", DebugFlagNotNumber, "debug-window flag is not a decimal integer: \"yes\""},
        {u"Tollik.exe \"h\" \"s\" 1 1 extra", TextAfterDebugFlag, "unexpected text after the debug-window flag"},
        {u"Tollik.exe \"h\" \"s\" 1 \x65e5", DebugFlagNotNumber, "not a decimal integer: \"\xE6\x97\xA5\""},
    };
    const runner::RunnerTexts english{runner::Language::English};
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        const runner::ParsedCommandLine parsed = ParseRunnerCommandLine(c.line);
        EXPECT_FALSE(parsed.ok);
        EXPECT_EQ(parsed.problem, c.problem);
        const std::string words = Utf8(english.BadCommandLine(parsed.problem, parsed.token));
        EXPECT_NE(words.find(c.reason), std::string::npos) << words;
        // The window also says what the runner expects.
        EXPECT_NE(words.find("\"<HSP folder>\" \"<script>\" <run mode> <debug window 0/1>"), std::string::npos);
    }
}

// A settings file's HSPDirName with double quotes cannot smuggle fields of
// its own past the runner: the plug-in's own fields always follow and are
// refused as extra text.
TEST(RunnerCommandLine, QuotesInTheHspFolderSettingAreRefusedNotObeyed) {
    for (const std::u16string folder : {u"C:\\a\" \"C:\\evil\\hsptmp\" 3 0 ", u"C:\\a\" \"x", u"\"\""}) {
        const std::u16string line = u"Tollik.exe " + RunnerParameters(folder + u"\\", u"C:\\work\\hsptmp", 2, false);
        SCOPED_TRACE(Utf8(line));
        EXPECT_FALSE(ParseRunnerCommandLine(line).ok);
    }
}

}  // namespace
}  // namespace tollik
