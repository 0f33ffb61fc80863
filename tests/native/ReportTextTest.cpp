// The compiler's report read on each code page a Japanese user has: its own
// words are Shift_JIS everywhere, the user's text is in the script's code page.

#include <gtest/gtest.h>

#include <string>

#include "FakeCodePages.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "hsp/ReportText.h"

namespace tollik {
namespace {

std::string Sjis(std::u16string_view text) { return fake::EncodeForCodePage(932, text); }

TEST(ReportText, TheCompilersWordsAndTheUsersTextBothReadOnEachCodePage) {
    const std::u16string error = u"hsptmp(3) : error 4 : パラメーター式の記述が無効です (3行目)\r\n";
    const std::u16string missing = u"#スクリプトファイルが見つかりません [";
    const struct {
        const char* name;
        std::uint32_t codePage;
        std::string bytes;
        std::u16string text;
    } cases[] = {
        {"932: all Shift_JIS", 932, Sjis(error + u"--> mes \"表示\"\r\n"), error + u"--> mes \"表示\"\r\n"},
        {"65001: a UTF-8 script line", 65001, Sjis(error) + "--> mes \"\xE3\x81\x82\"\r\n",
         error + u"--> mes \"あ\"\r\n"},
        {"65001: a UTF-8 file name inside the compiler's words", 65001, Sjis(missing) + "\xE8\xA1\xA8.as]\r\n",
         missing + u"表.as]\r\n"},
        {"65001: an include still in Shift_JIS", 65001, "--> mes \"" + Sjis(u"表ｱ") + "\"",
         u"--> mes \"表ｱ\""},
        {"1252: a script line with accents and curly quotes", 1252, Sjis(error) + "--> mes \"caf\xE9s \x93Hi\x94\"\r\n",
         error + u"--> mes \"cafés “Hi”\"\r\n"},
        {"1252: an accented file name inside the compiler's words", 1252, Sjis(missing) + "na\xEFve.as]\r\n",
         missing + u"naïve.as]\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeWindows windows;
        windows.ansiCodePage = c.codePage;
        EXPECT_EQ(testing::Utf8(runner::DecodeReport(windows, c.bytes)), testing::Utf8(c.text));
    }
}

}  // namespace
}  // namespace tollik
