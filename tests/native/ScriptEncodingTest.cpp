#include <gtest/gtest.h>

#include <string>

#include "Failure.h"
#include "FakeWindows.h"
#include "HSPCmp/ScriptWriter.h"
#include "HSPCmp/Utf8Directives.h"

namespace tollik {
namespace {

using fake::FakeWindows;

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
        {"cmpopt", u"#cmpopt utf8 1", true},
        {"cmpopt's option name folds case", u"#cmpopt UTF8 1", true},
        {"cmpopt in hex", u"#cmpopt utf8 $01", true},
        {"after a closed block comment", u"/* a\r\n b */ mes 1\r\n#cmpopt utf8 1", true},
        {"a /* inside a string opens nothing", u"mes \"/*\"\r\n#cmpopt utf8 1", true},
        {"a second try after one in a comment", u"/*\r\n#cmpopt utf8 1\r\n*/\r\n#cmpopt utf8 1", true},
        {"directive word's case", u"#Include \"hsp3utf.as\"\r\n#CMPOPT utf8 1", false},
        {"blank after #", u"# include \"hsp3utf.as\"", false},
        {"a longer word", u"#includes \"hsp3utf.as\"", false},
        {"another header", u"#include \"hsp3utf.as2\"\r\n#include \"hsp3cl.as\"", false},
        {"not at the line's start", u"mes 1 : #include \"hsp3utf.as\"", false},
        {"cmpopt utf8 0", u"#cmpopt utf8 0", false},
        {"cmpopt without a value", u"#cmpopt utf8", false},
        {"cmpopt with a fraction", u"#cmpopt utf8 1.5", false},
        {"another option", u"#cmpopt ppout 1", false},
        {"a ; comment", u"; #include \"hsp3utf.as\"", false},
        {"a // comment", u"// #cmpopt utf8 1", false},
        {"inside a block comment", u"/* old:\r\n#include \"hsp3utf.as\"\r\n*/", false},
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
    const std::string plain = "mes \"";
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
        {"932, does not ask, an emoji", 932, u"mes \"\U0001F600\"", plain + "??\"\r\n"},
        {"1252, asks, ASCII", 1252, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"1252, asks, an accent it holds", 1252, asks + u"é\"", mark + asksBytes + "\xC3\xA9\"\r\n"},
        {"1252, does not ask, an accent", 1252, u"mes \"é\"", plain + "\xE9\"\r\n"},
        {"1252, does not ask, Japanese", 1252, u"mes \"あ\"", plain + "?\"\r\n"},
        {"65001, asks, an emoji", 65001, asks + u"\U0001F600\"", asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
        {"65001, does not ask", 65001, u"mes \"é\"", plain + "\xC3\xA9\"\r\n"},
        {"the mark's character starts the text", 932, u"\uFEFF" + asks + u"\U0001F600\"",
         mark + asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddFolder(u"C:\\work");
        SaveScriptFile(windows, c.codePage, u"C:\\work\\hsptmp", c.text);
        EXPECT_EQ(windows.files.FileContent(u"C:\\work\\hsptmp"), c.bytes);
    }
}

TEST(SaveScriptFile, ACheckTheSystemRefusesIsAWriteFailureNotAGuess) {
    FakeWindows windows;
    windows.files.AddFolder(u"C:\\work");
    windows.FailCall("WideCharToMultiByte", os::kErrorInvalidParameter);
    try {
        SaveScriptFile(windows, 932, u"C:\\work\\hsptmp", u"#cmpopt utf8 1\r\nmes \"\U0001F600\"");
        ADD_FAILURE() << "no failure";
    } catch (const IoError& e) {
        EXPECT_EQ(e.Message(), u"hsptmp\r\nファイルに書き込みできません。");
    }
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

}  // namespace
}  // namespace tollik
