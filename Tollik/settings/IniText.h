#pragma once
// The settings format's text rules, without any system call: lines, section
// headers, comments and entries. Nothing is trimmed or altered anywhere: a
// blank is part of whatever it stands in.

#include <string_view>
#include <vector>

namespace tollik {

// A section as its header opened it. `name` is everything between the
// brackets; `lines` are the section's lines that are neither empty nor
// comments, unchanged. Both point into the text that was parsed.
struct IniSection {
    std::u16string_view name;
    std::vector<std::u16string_view> lines;
};

// A section header: "[" first, "]" last, the name between, nothing else
// on the line (not even a blank).
bool IsIniSectionHeader(std::u16string_view line);

// The lines of `text`: CR LF, a lone CR and a lone LF each end one; a break
// at the very end adds no empty line; U+0000 ends the text.
std::vector<std::u16string_view> SplitIniLines(std::u16string_view text);

// The sections in file order, the same name possibly more than once. Empty
// lines and comments (";" in the first unit) are skipped, as are lines
// before the first header.
std::vector<IniSection> ParseIniSections(std::u16string_view text);

// An entry is a line with an "=": its name is what comes before the first
// one, its value what comes after. False for a line without "=".
bool SplitIniEntry(std::u16string_view line, std::u16string_view& name,
                   std::u16string_view& value);

}  // namespace tollik
