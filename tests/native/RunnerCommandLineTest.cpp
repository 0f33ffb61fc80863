#include <gtest/gtest.h>

#include <string>

#include "FakeText.h"
#include "HSPCmp/RunnerLaunch.h"
#include "RunnerCommandLine.h"

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
            ASSERT_TRUE(parsed.ok) << parsed.error;
            EXPECT_EQ(Utf8(parsed.fields.hspDirectory), Utf8(c.hsp));
            EXPECT_EQ(Utf8(parsed.fields.scriptPath), Utf8(c.script));
            EXPECT_EQ(parsed.fields.runMode, c.mode);
            EXPECT_EQ(parsed.fields.debugWindow, c.debug ? 1 : 0);
        }
    }
}

TEST(RunnerCommandLine, RefusesWhatItCannotReadWithAReason) {
    const struct {
        std::u16string line;
        const char* reason;
    } cases[] = {
        {u"Tollik.exe", "no arguments"},
        {u"\"C:\\a b\\Tollik.exe\"   ", "no arguments"},
        {u"Tollik.exe C:\\hsp37\\ \"s\" 1 1", "expected the HSP folder in double quotes"},
        {u"Tollik.exe \"C:\\hsp37\\", "HSP folder has no closing double quote"},
        {u"Tollik.exe \"C:\\hsp37\\\"\"s\" 1 1", "blank and more after the HSP folder"},
        {u"Tollik.exe \"h\" s 1 1", "expected the script path in double quotes"},
        {u"Tollik.exe \"h\" \"s", "script path has no closing double quote"},
        {u"Tollik.exe \"h\" \"s\"", "blank and more after the script path"},
        {u"Tollik.exe \"h\" \"s\" x 1", "run mode is not a decimal integer: \"x\""},
        {u"Tollik.exe \"h\" \"s\" 2147483648 1", "run mode is not a decimal integer"},
        {u"Tollik.exe \"h\" \"s\" - 1", "run mode is not a decimal integer"},
        {u"Tollik.exe \"h\" \"s\" 1", "blank and more after the run mode"},
        {u"Tollik.exe \"h\" \"s\" 1 yes", "debug-window flag is not a decimal integer: \"yes\""},
        {u"Tollik.exe \"h\" \"s\" 1 1 extra", "unexpected text after the debug-window flag"},
        {u"Tollik.exe \"h\" \"s\" 1 \x65e5", "debug-window flag is not a decimal integer: \"?\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.line));
        const runner::ParsedCommandLine parsed = ParseRunnerCommandLine(c.line);
        EXPECT_FALSE(parsed.ok);
        EXPECT_NE(parsed.error.find(c.reason), std::string::npos) << parsed.error;
    }
}

}  // namespace
}  // namespace tollik
