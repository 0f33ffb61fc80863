#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace tollik
