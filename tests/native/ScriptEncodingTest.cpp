#include <gtest/gtest.h>

#include <string>

#include "FakeWindows.h"
#include "HSPCmp/ScriptWriter.h"
#include "HSPCmp/Utf8Directives.h"

namespace tollik {
namespace {

TEST(AsksForUtf8Strings, TakesWhatThePreprocessorTakesForTheUtf8Directives) {
    const struct {
        const char* name;
        std::u16string text;
        bool asks;
    } cases[] = {
        {"include", u"#include \"hsp3utf.as\"\r\nmes \"x\"", true},
        {"blanks and tabs first", u"  \t#include \"hsp3utf.as\"", true},
        {"bare name, .as added", u"#include hsp3utf", true},
        {"addition", u"#addition \"hsp3utf.as\"", true},
        {"file names fold case", u"#include \"HSP3UTF.AS\"", true},
        {"no blank before the name", u"#include\"hsp3utf.as\" ; a comment after", true},
        {"a later line, LF only", u"mes 1\n#include \"hsp3utf.as\"", true},
        {"a later line, CR only", u"mes 1\r#cmpopt utf8 1", true},
        {"line joined by a backslash", u"#include \\\r\n\t\"hsp3utf.as\"", true},
        {"cmpopt, its option name folded, in hex", u"#cmpopt UTF8 $01", true},
        {"after a closed block comment", u"/* a\r\n b */ mes 1\r\n#cmpopt utf8 1", true},
        {"a /* inside a string opens nothing", u"mes \"/*\"\r\n#cmpopt utf8 1", true},
        {"a second try after one in a comment", u"/*\r\n#cmpopt utf8 1\r\n*/\r\n#cmpopt utf8 1", true},
        {"the mark's character before line 1", u"\uFEFF#cmpopt utf8 1", true},
        {"directive words: case, blank after #, longer words",
         u"#Include \"hsp3utf.as\"\r\n#CMPOPT utf8 1\r\n# include \"hsp3utf.as\"\r\n#includes \"hsp3utf.as\"", false},
        {"other headers, or not at the line's start",
         u"#include \"hsp3utf.as2\"\r\n#include \"hsp3cl.as\"\r\nmes 1 : #include \"hsp3utf.as\"", false},
        {"other option values and options",
         u"#cmpopt utf8 0\r\n#cmpopt utf8\r\n#cmpopt utf8 1.5\r\n#cmpopt ppout 1", false},
        {"comments", u"; #include \"hsp3utf.as\"\r\n// #cmpopt utf8 1\r\n/* old:\r\n#include \"hsp3utf.as\"\r\n*/", false},
        {"inside a {\" \"} string", u"s = {\"\r\n#include \"hsp3utf.as\"\r\n\"}", false},
        {"empty", u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AsksForUtf8Strings(c.text), c.asks);
    }
}

// The bytes a script lands on disk in: code page x asks or not x what the
// text holds.
TEST(SaveScriptFile, ScriptsForTheUtf8RuntimeKeepEveryCharacterOnEachCodePage) {
    const std::u16string asks = u"#include \"hsp3utf.as\"\r\nmes \"";
    const std::string asksBytes = "#include \"hsp3utf.as\"\r\nmes \"";
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        const char* name;
        std::uint32_t codePage;
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {"932, asks, ASCII", 932, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"932, asks, fits", 932, asks + u"あ\"", asksBytes + "\x82\xA0\"\r\n"},
        {"932, asks, an emoji", 932, asks + u"\U0001F600\"", mark + asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
        {"932, asks, a look-alike (yen sign)", 932, asks + u"\u00A5\"", mark + asksBytes + "\xC2\xA5\"\r\n"},
        {"932, asks, Korean", 932, asks + u"한\"", mark + asksBytes + "\xED\x95\x9C\"\r\n"},
        {"932, does not ask, an emoji", 932, u"mes \"\U0001F600\"", "mes \"??\"\r\n"},
        {"1252, asks, ASCII", 1252, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"1252, asks, an accent it holds", 1252, asks + u"é\"", mark + asksBytes + "\xC3\xA9\"\r\n"},
        {"1252, asks, Japanese", 1252, asks + u"あ\"", mark + asksBytes + "\xE3\x81\x82\"\r\n"},
        {"1252, does not ask", 1252, u"mes \"éあ\"", "mes \"\xE9?\"\r\n"},
        {"65001, asks, ASCII", 65001, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"65001, asks, an emoji", 65001, asks + u"\U0001F600\"", asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
        {"65001, does not ask", 65001, u"mes \"é\"", "mes \"\xC3\xA9\"\r\n"},
        {"the mark's character starts the text", 932, u"\uFEFF" + asks + u"\U0001F600\"",
         mark + asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeWindows windows;
        windows.files.AddFolder(u"C:\\work");
        SaveScriptFile(windows, c.codePage, u"C:\\work\\hsptmp", c.text);
        EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), c.bytes);
    }
}

}  // namespace
}  // namespace tollik
