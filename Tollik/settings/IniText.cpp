#include "settings/IniText.h"

namespace tollik {
namespace {

// Calls `take` for each line, in order, without building a list.
template <class Take>
void ForEachLine(std::u16string_view text, Take take) {
    std::size_t at = 0;
    while (at < text.size() && text[at] != u'\0') {
        std::size_t end = at;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n' && text[end] != u'\0')
            ++end;
        take(text.substr(at, end - at));
        at = end;
        if (at < text.size() && text[at] == u'\r') ++at;
        if (at < text.size() && text[at] == u'\n') ++at;
    }
}

}  // namespace

bool IsIniSectionHeader(std::u16string_view line) {
    return line.size() >= 2 && line.front() == u'[' && line.back() == u']';
}

std::vector<std::u16string_view> SplitIniLines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    ForEachLine(text, [&](std::u16string_view line) { lines.push_back(line); });
    return lines;
}

std::vector<IniSection> ParseIniSections(std::u16string_view text) {
    std::vector<IniSection> sections;
    ForEachLine(text, [&](std::u16string_view line) {
        if (line.empty() || line.front() == u';') return;
        if (IsIniSectionHeader(line)) {
            sections.push_back({line.substr(1, line.size() - 2), {}});
        } else if (!sections.empty()) {
            sections.back().lines.push_back(line);
        }
    });
    return sections;
}

bool SplitIniEntry(std::u16string_view line, std::u16string_view& name,
                   std::u16string_view& value) {
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos) return false;
    name = line.substr(0, equals);
    value = line.substr(equals + 1);
    return true;
}

}  // namespace tollik
