#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeText.h"
#include "settings/IniText.h"

namespace tollik {
namespace {

using testing::Utf8;

std::vector<std::string> Lines(std::u16string_view text) {
    std::vector<std::string> lines;
    for (const std::u16string_view line : SplitIniLines(text)) lines.push_back(Utf8(line));
    return lines;
}

TEST(SplitIniLines, EachBreakEndsOneLineAndNulEndsTheText) {
    using L = std::vector<std::string>;
    const struct {
        std::u16string text;
        L lines;
    } cases[] = {
        {u"", {}},
        {u"a", {"a"}},
        {u"a\r\nb\r\n", {"a", "b"}},
        {u"a\nb\rc", {"a", "b", "c"}},
        {u"a\n\rb", {"a", "", "b"}},  // LF then CR: two breaks
        {u"a\r\r\nb", {"a", "", "b"}},
        {u"\r\n\r\n", {"", ""}},
        {u"a\r\n\n", {"a", ""}},
        {std::u16string(u"a\0b\r\nc", 6), {"a"}},
        {std::u16string(u"\0a", 2), {}},
        {u"a\fb\vc\u0085d\u2028e", {"a\fb\vc\u0085d\u2028e"}},
        {u" a \t", {" a \t"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Lines(c.text), c.lines) << Utf8(c.text);
}

TEST(ParseIniSections, KeepsEveryHeaderAndTheLinesUnderIt) {
    const std::u16string text =
        u"x=before\r\n[A]\r\n;comment\r\n\r\na=1\r\n ;not a comment\r\n[]\r\n[A]\r\n[\r\nb\r\n";
    const std::vector<IniSection> sections = ParseIniSections(text);
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].name, u"A");
    EXPECT_EQ(sections[0].lines, (std::vector<std::u16string_view>{u"a=1", u" ;not a comment"}));
    EXPECT_EQ(sections[1].name, u"");
    EXPECT_TRUE(sections[1].lines.empty());
    EXPECT_EQ(sections[2].name, u"A");
    EXPECT_EQ(sections[2].lines, (std::vector<std::u16string_view>{u"[", u"b"}));
}

TEST(SplitIniEntry, SplitsAtTheFirstEqualsSignOnly) {
    std::u16string_view name, value;
    ASSERT_TRUE(SplitIniEntry(u" Mode = 2=3 ", name, value));
    EXPECT_EQ(name, u" Mode ");
    EXPECT_EQ(value, u" 2=3 ");
    ASSERT_TRUE(SplitIniEntry(u"=", name, value));
    EXPECT_EQ(name, u"");
    EXPECT_EQ(value, u"");
    EXPECT_FALSE(SplitIniEntry(u"Mode", name, value));
}

}  // namespace
}  // namespace tollik
