// The compiler's report read on each code page: its own words are Shift_JIS
// everywhere, the user's names, identifiers and script lines in the user's
// code page, or UTF-8 when the compiler read the script as UTF-8.

#include <gtest/gtest.h>

#include <string>

#include "FakeCodePages.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "hsp/ReportText.h"

namespace tollik {
namespace {

std::string Sjis(std::u16string_view text) { return fake::EncodeForCodePage(932, text); }

// Each line of the compiler that quotes the user, in its own form; `words`
// gives the compiler's words, `user` the user's text.
template <class Words, class User>
auto Report(Words words, User user, std::u16string_view name, std::u16string_view identifier,
            std::u16string_view line) {
    return words(u"#スクリプトファイルが見つかりません [") + user(name) + words(u"]\r\n#Error:") +
           words(u"定義済みの識別子は使用できません [") + user(identifier) + words(u"] in line 3 [") + user(name) +
           words(u"]\r\n") + user(name) + words(u"(3) : error 4 : パラメーター式の記述が無効です (3行目)\r\n--> ") +
           user(line) + words(u"\r\n#スタックが空になっていないマクロタグが1個あります [") + user(name) +
           words(u"]\r\n\t") + user(identifier) + words(u"\r\n#識別子「") + user(identifier) +
           words(u"」の定義位置: line 2 in [") + user(name) + words(u"]\r\n");
}

// š, ž, Š, Ž, œ, curly quotes and ђ љ њ ћ џ are single bytes 0x80-0x9F;
// 喆 (86 B4), 똠 (8C 63) and 包 (A5 5D, a "]" inside) have such bytes or
// brackets in their pairs.
TEST(ReportText, TheCompilersWordsAndTheUsersTextBothReadOnEachCodePage) {
    const struct {
        const char* name;
        std::uint32_t codePage;
        bool utf8Input;
        std::u16string file, identifier, line;
    } cases[] = {
        {"932", 932, false, u"表示.as", u"変数", u"mes \"表\""},
        {"65001", 65001, true, u"表😀.as", u"変数", u"mes \"é😀\""},
        {"932, a UTF-8 script", 932, true, u"表😀.as", u"変数", u"mes \"é😀\""},
        {"1252", 1252, false, u"šablona.as", u"œuvre", u"mes \"“Hi” Žofie\""},
        {"1250", 1250, false, u"šablona.as", u"žluť", u"mes \"Šťastný Žofie\""},
        {"1251", 1251, false, u"ђак.as", u"љубав", u"mes \"њ ћ џ\""},
        {"936", 936, false, u"喆話.as", u"堃", u"mes \"頁們\""},
        {"949", 949, false, u"똠방.as", u"갂", u"mes \"한글 똠\""},
        {"950", 950, false, u"包功.as", u"也加", u"mes \"許功\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeWindows windows;
        windows.ansiCodePage = c.codePage;
        const auto same = [](std::u16string_view text) { return std::u16string(text); };
        const auto user = [&](std::u16string_view text) {
            return fake::EncodeForCodePage(c.utf8Input ? 65001 : c.codePage, text);
        };
        const std::string bytes = Report(Sjis, user, c.file, c.identifier, c.line);
        const std::u16string text = Report(same, same, c.file, c.identifier, c.line);
        EXPECT_EQ(testing::Utf8(runner::DecodeReport(windows, bytes, c.utf8Input)), testing::Utf8(text));
    }
    fake::FakeWindows windows;  // read as UTF-8, an included file saved as Shift_JIS still reads
    EXPECT_EQ(testing::Utf8(runner::DecodeReport(windows, "--> mes \"" + Sjis(u"表ｱ") + "\"", true)), "--> mes \"表ｱ\"");
}

}  // namespace
}  // namespace tollik
