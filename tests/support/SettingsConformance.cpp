#include "SettingsConformance.h"

#include <iterator>

#include "Checker.h"
#include "Common/FileSystem.h"
#include "Failure.h"
#include "settings/IniStore.h"
#include "Utf8.h"

namespace tollik::testing {
namespace {

// One read and what it must give. Numbers and flags are written as text:
// a flag as "1" or "0".
struct Read {
    char kind;  // 't' ReadText, 'n' ReadNumber, 'f' ReadFlag
    std::u16string section;
    std::u16string key;
    std::u16string defaultValue;
    std::u16string expected;
};

struct FormatCase {
    const char* name;
    std::string bytes;
    std::vector<Read> reads;
};

std::string Utf16Le(std::u16string_view text, bool mark) {
    std::string bytes = mark ? "\xFF\xFE" : "";
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

const std::string kBom = "\xEF\xBB\xBF";

// Shorthands for the keys the plug-in reads.
Read Mode(std::u16string expected, std::u16string def = u"1") {
    return {'n', u"Tollik", u"Mode", std::move(def), std::move(expected)};
}
Read Debug(std::u16string expected, std::u16string def = u"1") {
    return {'f', u"Tollik", u"DebugWindow", std::move(def), std::move(expected)};
}
Read Dir(std::u16string expected) {
    return {'t', u"Tollik", u"HSPDirName", u"<default>", std::move(expected)};
}

std::vector<FormatCase> FormatCases() {
    return {
        // Encoding.
        {"UTF-8 without a mark", "[Tollik]\r\nMode=2\r\n", {Mode(u"2")}},
        {"UTF-8 with its mark", kBom + "[Tollik]\r\nMode=2\r\n", {Mode(u"2")}},
        {"the mark twice hides the first header", kBom + kBom + "[Tollik]\r\nMode=2", {Mode(u"1")}},
        {"the mark twice, an earlier header takes the line",
         "[Tollik]\r\n" + kBom + "[Other]\r\nMode=2", {Mode(u"2"), {'n', u"Other", u"Mode", u"1", u"1"}}},
        {"only the mark", kBom, {Mode(u"1"), Dir(u"<default>")}},
        {"UTF-16 with its mark", Utf16Le(u"[Tollik]\r\nMode=2\r\n", true), {Mode(u"1")}},
        {"UTF-16 without a mark ends at the first zero byte", Utf16Le(u"[Tollik]\r\nMode=2\r\n", false),
         {Mode(u"1")}},
        {"Shift_JIS in one value disregards the whole file",
         "[Tollik]\r\nMode=2\r\nHSPDirName=C:\\\x83\x65\x83\x58\x83\x67\r\n", {Mode(u"1"), Dir(u"<default>")}},
        {"the same in UTF-8", "[Tollik]\r\nMode=2\r\nHSPDirName=C:\\テスト\r\n",
         {Mode(u"2"), Dir(u"C:\\テスト")}},
        {"an overlong form", "[Tollik]\r\nMode=2\r\nX=\xC0\xAF\r\n", {Mode(u"1")}},
        {"an encoded surrogate", "[Tollik]\r\nMode=2\r\nX=\xED\xA0\x80\r\n", {Mode(u"1")}},
        {"a value above U+10FFFF", "[Tollik]\r\nMode=2\r\nX=\xF4\x90\x80\x80\r\n", {Mode(u"1")}},
        {"a five-byte form", "[Tollik]\r\nMode=2\r\nX=\xF8\x88\x80\x80\x80\r\n", {Mode(u"1")}},
        {"a stray continuation byte", "[Tollik]\r\nMode=2\r\nX=\x80\r\n", {Mode(u"1")}},
        {"a sequence cut short at the end", "[Tollik]\r\nMode=2\r\nX=\xE3\x81", {Mode(u"1")}},
        {"a sequence cut short by a line break", "[Tollik]\r\nMode=2\r\nX=\xE3\x81\r\n", {Mode(u"1")}},
        {"four-byte characters are kept",
         "[Tollik]\r\nHSPDirName=D:\\\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF", {Dir(u"D:\\\xD83D\xDE00\xDBFF\xDFFF")}},
        {"a zero byte ends the text", "[Tollik]\r\nMode=2\r\nDebug" + std::string(1, '\0') + "Window=0\r\nDebugWindow=0",
         {Mode(u"2"), Debug(u"1")}},
        {"CR LF, LF and CR mixed, no final break",
         "[Tollik]\nMode=2\rDebugWindow=0\r\nHSPDirName=D:\\h", {Mode(u"2"), Debug(u"0"), Dir(u"D:\\h")}},
        {"LF then CR ends two lines", "[Tollik]\n\rMode=2\n\r", {Mode(u"2")}},
        {"a form feed does not break a line", "[Tollik]\x0CMode=2", {Mode(u"1")}},
        {"U+2028 does not break a line", "[Tollik]\r\nHSPDirName=a\xE2\x80\xA8Mode=3",
         {Dir(u"a\u2028Mode=3"), Mode(u"1")}},

        // Sections.
        {"header in lower case", "[tollik]\r\nMode=2", {Mode(u"2")}},
        {"header in upper case", "[TOLLIK]\r\nMode=2", {Mode(u"2")}},
        {"a blank before the header", " [Tollik]\r\nMode=2", {Mode(u"1")}},
        {"a blank after the header", "[Tollik] \r\nMode=2", {Mode(u"1")}},
        {"a tab after the header", "[Tollik]\t\r\nMode=2", {Mode(u"1")}},
        {"a comment after the header", "[Tollik] ;note\r\nMode=2", {Mode(u"1")}},
        {"a broken header belongs to the section before it", "[A]\r\n[Tollik] \r\nMode=2",
         {Mode(u"1"), {'n', u"A", u"Mode", u"1", u"2"}}},
        {"blanks inside the brackets", "[ Tollik ]\r\nMode=2",
         {Mode(u"1"), {'n', u" Tollik ", u"mode", u"1", u"2"}}},
        {"the empty section name", "[]\r\nMode=2", {{'n', u"", u"Mode", u"1", u"2"}, Mode(u"1")}},
        {"a bracket inside the name", "[a]b]\r\nMode=2", {{'n', u"A]B", u"Mode", u"1", u"2"}}},
        {"an unclosed header is a line", "[Tollik]\r\n[Tollik\r\nMode=2",
         {Mode(u"2"), {'t', u"Tollik", u"[Tollik", u"none", u"none"}}},
        {"an entry before the first header", "Mode=2\r\n[Tollik]\r\nDebugWindow=0", {Mode(u"1"), Debug(u"0")}},
        {"the last section of a name is the only one",
         "[Tollik]\r\nMode=2\r\n[Other]\r\n[TOLLIK]\r\nDebugWindow=0", {Mode(u"1"), Debug(u"0")}},

        // Entries and text values.
        {"a comment", "[Tollik]\r\n;Mode=2", {Mode(u"1")}},
        {"a blank before the semicolon", "[Tollik]\r\n ;Mode=2",
         {Mode(u"1"), {'n', u"Tollik", u" ;Mode", u"1", u"2"}}},
        {"a hash is no comment", "[Tollik]\r\n#Mode=2", {Mode(u"1"), {'n', u"Tollik", u"#MODE", u"1", u"2"}}},
        {"key in upper and lower case", "[Tollik]\r\nMODE=2\r\ndebugwindow=0", {Mode(u"2"), Debug(u"0")}},
        {"blanks around the equals sign", "[Tollik]\r\nMode = 2",
         {Mode(u"1"), {'t', u"Tollik", u"Mode ", u"", u" 2"}}},
        {"a blank before the key", "[Tollik]\r\n Mode=2", {Mode(u"1")}},
        {"a blank after the equals sign", "[Tollik]\r\nMode= 2\r\nHSPDirName= D:\\hsp",
         {Mode(u"2"), {'t', u"Tollik", u"Mode", u"", u" 2"}, Dir(u" D:\\hsp")}},
        {"a blank after the value", "[Tollik]\r\nMode=2 ", {Mode(u"1")}},
        {"an empty value", "[Tollik]\r\nMode=\r\nHSPDirName=", {Mode(u"1"), Dir(u"")}},
        {"a key without equals sign", "[Tollik]\r\nMode\r\nHSPDirName", {Mode(u"1"), Dir(u"<default>")}},
        {"a second equals sign", "[Tollik]\r\nMode=2=3", {Mode(u"1"), {'t', u"Tollik", u"Mode", u"", u"2=3"}}},
        {"quotes are kept", "[Tollik]\r\nHSPDirName=\"C:\\hsp 37\\\"", {Dir(u"\"C:\\hsp 37\\\"")}},
        {"the last entry of a key", "[Tollik]\r\nMode=2\r\nMODE=3", {Mode(u"3")}},
        {"the last entry even when it does not convert", "[Tollik]\r\nMode=2\r\nmode=two", {Mode(u"1")}},

        // Matching beyond ASCII: each unit upper-cased on its own.
        {"Latin-1 and Cyrillic names", "[Äbc]\r\nпривет=1\r\nÿ=2",
         {{'n', u"äBC", u"ПРИВЕТ", u"0", u"1"}, {'n', u"ÄBC", u"Ÿ", u"0", u"2"}}},
        {"Greek names", "[ΑΒΓ]\r\nλόγοι=1", {{'n', u"αβγ", u"ΛΌΓΟΙ", u"0", u"1"}}},
        {"full-width letters match their own case only", "[Tollik]\r\nＭｏｄｅ=2\r\nｍｏｄｅ２=3",
         {Mode(u"1"), {'n', u"Tollik", u"ＭＯＤＥ", u"1", u"2"}, {'n', u"Tollik", u"ＭＯＤＥ２", u"1", u"3"}}},
        {"no width folding or normalisation", "[Tollik]\r\nMode=2\r\nCafe\xCC\x81=3",
         {{'n', u"Tollik", u"ＭＯＤＥ", u"1", u"1"}, {'n', u"Tollik", u"CAFÉ", u"1", u"1"},
          {'n', u"Tollik", u"CAFE\u0301", u"1", u"3"}}},

        // Numbers and flags through the store.
        {"hexadecimal and decimal forms", "[N]\r\na=0x1f\r\nb=$FFFFFFFF\r\nc=-2147483648\r\nd=2147483648\r\ne=0x",
         {{'n', u"N", u"a", u"0", u"31"}, {'n', u"N", u"b", u"0", u"-1"},
          {'n', u"N", u"c", u"0", u"-2147483648"}, {'n', u"N", u"d", u"7", u"7"}, {'n', u"N", u"e", u"7", u"0"}}},
        {"flags with default true",
         "[F]\r\na=0\r\nb=0x0\r\nc=-1\r\nd=true\r\ne=\r\nf=off",
         {{'f', u"F", u"a", u"1", u"0"}, {'f', u"F", u"b", u"1", u"0"}, {'f', u"F", u"c", u"1", u"1"},
          {'f', u"F", u"d", u"1", u"1"}, {'f', u"F", u"e", u"1", u"1"}, {'f', u"F", u"f", u"1", u"1"},
          {'f', u"F", u"missing", u"1", u"1"}}},
        {"flags with default false", "[F]\r\na=true\r\nb=1",
         {{'f', u"F", u"a", u"0", u"0"}, {'f', u"F", u"b", u"0", u"1"}}},
    };
}

std::u16string Number(std::int32_t value) {
    const std::string text = std::to_string(value);
    return std::u16string(text.begin(), text.end());
}

std::int32_t ParseDecimal(const std::u16string& text) {
    return static_cast<std::int32_t>(std::stoll(std::string(text.begin(), text.end())));
}

std::u16string Perform(const IniStore& store, const Read& read) {
    switch (read.kind) {
        case 't': return store.ReadText(read.section, read.key, read.defaultValue);
        case 'n': return Number(store.ReadNumber(read.section, read.key, ParseDecimal(read.defaultValue)));
        default: return store.ReadFlag(read.section, read.key, read.defaultValue == u"1") ? u"1" : u"0";
    }
}

// What building a store over `path` did: "ok" or the failure's message.
std::u16string Open(os::SystemApi& api, const std::u16string& path) {
    try {
        const IniStore store(api, path, kUtf8Encoding);
        return u"ok";
    } catch (const GeneralError& e) {
        return e.Message();
    }
}

void OpeningCases(ConformanceWorld& world, Checker& check) {
    os::SystemApi& api = world.Api();
    const std::u16string folder = world.Base() + u"\\open";
    world.AddFolder(folder);
    check.Expect("no file", Open(api, folder + u"\\none.ini"), std::u16string(u"ok"));
    check.Expect("a folder", Open(api, folder), std::u16string(u"ok"));

    const std::u16string path = folder + u"\\Tollik.ini";
    world.AddFile(path, "[Tollik]\r\nMode=2\r\n");
    world.HoldOpenForReading(path);
    check.Expect("a file another program reads", Open(api, path), std::u16string(u"ok"));
    world.ReleaseHeldFiles();

    world.HoldOpenForWriting(path);
    const std::u16string message = Open(api, path);
    world.ReleaseHeldFiles();
    const std::u16string head = u"ファイル " + ExpandPath(api, path) + u" は開けません。 ";
    check.Expect("a file another program writes: the message's start", message.substr(0, head.size()), head);
    const std::u16string reason = message.size() > head.size() + 1
                                      ? message.substr(head.size(), message.size() - head.size() - 1)
                                      : std::u16string();
    check.Expect("the system's reason is given", !reason.empty(), true);
    check.Expect("the message ends with one blank", message.ends_with(u' '), true);
    check.Expect("the reason is trimmed",
                 !reason.empty() && reason.back() != u'.' && reason.back() > u' ', true);
    check.Expect("the file afterwards", world.Content(path), std::string("[Tollik]\r\nMode=2\r\n"));
}

}  // namespace

int SettingsFormatCaseCount() { return static_cast<int>(FormatCases().size()); }

std::vector<std::string> SettingsConformanceMismatches(ConformanceWorld& world) {
    std::vector<std::string> mismatches;
    Checker check(mismatches);
    const std::u16string folder = world.Base() + u"\\settings";
    world.AddFolder(folder);
    int index = 0;
    for (const FormatCase& c : FormatCases()) {
        // A fresh file each time: a case never sees the one before it.
        const std::u16string path = folder + u"\\" + Number(++index) + u".ini";
        world.AddFile(path, c.bytes);
        const IniStore store(world.Api(), path, kUtf8Encoding);
        for (const Read& read : c.reads) {
            check.Expect(std::string(c.name) + ": " + read.kind + " [" + Utf8(read.section) + "] " +
                             Utf8(read.key),
                         Perform(store, read), read.expected);
        }
    }
    OpeningCases(world, check);
    return mismatches;
}

}  // namespace tollik::testing
