// The checker's reading of a settings file, line by line: each way a
// hand-edited line is ignored or misread is named with its line.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FakeWindows.h"
#include "SettingsLint.h"

namespace tollik::check {
namespace {

using Found = std::vector<std::pair<LintKind, std::size_t>>;

Found Kinds(const LintResult& result) {
    Found found;
    for (const LintFinding& f : result.findings) found.emplace_back(f.kind, f.line);
    return found;
}

TEST(SettingsLint, NamesEachMisreadLine) {
    const struct {
        const char* name;
        std::string bytes;
        Found expected;
    } cases[] = {
        {"well formed",
         "; c\r\n[Tollik]\r\nHSPDirName=C:\\hsp\r\nmode=2\r\nDEBUGWINDOW=$0\r\n",
         {}},
        {"empty file", "", {}},
        {"no [Tollik]", "; only a comment\r\n", {{LintKind::NoTollikSection, 0}}},
        {"blank around =",
         "[Tollik]\r\nMode = 2\r\nHSPDirName= C:\\hsp\r\n",
         {{LintKind::BlankAroundEquals, 2}, {LintKind::BlankAroundEquals, 3}}},
        {"blank after = before a number is read", "[Tollik]\r\nMode= 2\r\n", {}},
        {"blank before [ and before ;",
         "[Tollik]\r\n  [Other]\r\n ;Mode=3\r\n",
         {{LintKind::BlankBeforeHeader, 2}, {LintKind::BlankBeforeComment, 3}}},
        {"text after ]",
         "[Tollik] ; main\r\nMode=2\r\n",
         {{LintKind::NoTollikSection, 0},
          {LintKind::TextAfterHeader, 1},
          {LintKind::EntryBeforeHeader, 2}}},
        {"entry before the first header",
         "Mode=2\r\n[Tollik]\r\n",
         {{LintKind::EntryBeforeHeader, 1}}},
        {"hidden section, case apart",
         "[Tollik]\r\nMode=2\r\n[TOLLIK]\r\n",
         {{LintKind::HiddenSection, 1}}},
        {"unknown section and key",
         "[Tolik]\r\nMode=2\r\n[Tollik]\r\nColour=red\r\n",
         {{LintKind::UnknownSection, 1}, {LintKind::UnknownKey, 4}}},
        {"repeated key", "[Tollik]\r\nMode=2\r\nMODE=3\r\n", {{LintKind::RepeatedKey, 2}}},
        {"not a number, only the value read",
         "[Tollik]\r\nMode=two\r\nDebugWindow=1x\r\nMode=0x1G\r\n",
         {{LintKind::RepeatedKey, 2}, {LintKind::NotANumber, 3}, {LintKind::NotANumber, 4}}},
        {"trailing blank in the folder",
         "[Tollik]\r\nHSPDirName=C:\\hsp \r\n",
         {{LintKind::TrailingBlank, 2}}},
        {"line without =", "[Tollik]\r\nMode\r\n", {{LintKind::NotAnEntry, 2}}},
        {"second byte-order mark",
         "\xEF\xBB\xBF\xEF\xBB\xBF[Tollik]\r\nMode=2\r\n",
         {{LintKind::NoTollikSection, 0},
          {LintKind::ByteOrderMarkInLine, 1},
          {LintKind::EntryBeforeHeader, 2}}},
        {"NUL ends the text",
         std::string("[Tollik]\nMode=2\r\nx\0Mode=3\n", 24),
         {{LintKind::NotAnEntry, 3}, {LintKind::NulCharacter, 3}}},
        {"lone CR and LF end lines too", "[Tollik]\rMode=2\nMode=3", {{LintKind::RepeatedKey, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fake::FakeWindows windows;
        EXPECT_EQ(Kinds(LintSettings(windows, c.bytes)), c.expected);
    }
}

TEST(SettingsLint, NamesTheFirstBadByteOfAFileThatIsNotUtf8) {
    const struct {
        std::string bytes;
        std::size_t offset;
    } cases[] = {
        {"[Tollik]\r\nMode=\xFF\r\n", 15},
        {"\xEF\xBB\xBF[Tollik]\r\nHSPDirName=C:\\\xC0\xAF", 27},  // overlong "/" after the mark
        {"\xED\xA0\x80", 0},                                      // a surrogate
        {"ab\xF4\x90\x80\x80", 2},                                // past U+10FFFF
        {"ab\xE3\x81", 2},                                        // cut off at the end
    };
    for (const auto& c : cases) {
        fake::FakeWindows windows;
        const LintResult result = LintSettings(windows, c.bytes);
        ASSERT_EQ(result.findings.size(), 1u);
        EXPECT_EQ(result.findings[0].kind, LintKind::NotUtf8);
        EXPECT_EQ(result.findings[0].offset, c.offset);
    }
    // Agreement with the system's strict decoding on every byte pair.
    fake::FakeWindows windows;
    for (int a = 0x80; a <= 0xFF; ++a) {
        for (int b = 0; b <= 0xFF; b += 0x11) {
            const std::string bytes = {static_cast<char>(a), static_cast<char>(b), '\x80', '\x80'};
            const bool strictOk = windows.MultiByteToWideChar(os::kCpUtf8, os::kMbErrInvalidChars,
                                                              bytes.data(), 4, nullptr, 0) > 0;
            EXPECT_EQ(FirstIllFormedUtf8(bytes) == std::string_view::npos, strictOk)
                << a << " " << b;
        }
    }
}

TEST(SettingsLint, ReportsTheLinesTheValuesComeFrom) {
    fake::FakeWindows windows;
    const LintResult result = LintSettings(
        windows,
        "[Tollik]\r\nMode=1\r\n[Tollik]\r\nmode=3\r\nHSPDirName=D:\\h\r\n; DebugWindow=0\r\n");
    EXPECT_EQ(result.effective.mode, 4u);
    EXPECT_EQ(result.effective.hspDirName, 5u);
    EXPECT_EQ(result.effective.debugWindow, 0u);
}

}  // namespace
}  // namespace tollik::check
