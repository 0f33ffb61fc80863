#include "SettingsLint.h"

#include <algorithm>
#include <array>
#include <optional>

#include "settings/IniStore.h"
#include "settings/IniText.h"
#include "settings/NumberText.h"
#include "settings/SettingsKeys.h"

namespace tollik::check {
namespace {

// In the order of EffectiveLines.
constexpr std::array<std::u16string_view, 3> kKeys = {kHspDirNameKey, kModeKey, kDebugWindowKey};

std::u16string_view TrimBlanks(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(u' ') - first + 1);
}

// Names compared as the reader compares them.
class Names {
public:
    explicit Names(os::SystemApi& api) : api_(api), section_(UpperSettingsName(api, kSettingsSection)) {
        for (std::size_t k = 0; k < kKeys.size(); ++k) keys_[k] = UpperSettingsName(api, kKeys[k]);
    }

    bool IsSection(std::u16string_view name) const { return MatchesUpperName(api_, name, section_); }

    // Which of the three keys `name` is, if any.
    std::optional<std::size_t> Key(std::u16string_view name) const {
        for (std::size_t k = 0; k < kKeys.size(); ++k)
            if (MatchesUpperName(api_, name, keys_[k])) return k;
        return std::nullopt;
    }

private:
    os::SystemApi& api_;
    std::u16string section_;
    std::array<std::u16string, kKeys.size()> keys_;
};

// The 1-based line a U+0000 at `nul` stands on, given the lines before it
// (the text ends there): the last of them when it runs up to the NUL.
std::size_t LineOfNul(std::u16string_view text, std::size_t nul,
                      const std::vector<std::u16string_view>& lines) {
    if (!lines.empty() && lines.back().data() + lines.back().size() == text.data() + nul)
        return lines.size();
    return lines.size() + 1;
}

LintFinding Finding(LintKind kind, std::size_t line = 0, std::u16string name = {},
                    std::u16string value = {}, std::size_t other = 0, std::size_t offset = 0) {
    return {kind, line, std::move(name), std::move(value), other, offset};
}

struct Entry {
    std::size_t line;
    std::u16string_view name;
    std::u16string_view value;
};

struct Section {
    std::size_t line;
    std::u16string_view name;
    bool tollik;
    std::vector<Entry> entries;  // known keys only
};

// Only the last [Tollik] is read, and in it the last line of each key:
// what that hides, which values are not numbers, and where each value
// comes from.
EffectiveLines ConcludeSections(const Names& names, const std::vector<Section>& sections,
                                bool hasText, std::vector<LintFinding>& findings) {
    const Section* last = nullptr;
    for (const Section& section : sections) {
        if (!section.tollik) continue;
        if (last != nullptr)
            findings.push_back(Finding(LintKind::HiddenSection, last->line, {}, {}, section.line));
        last = &section;
    }
    if (last == nullptr) {
        if (hasText) findings.push_back(Finding(LintKind::NoTollikSection));
        return {};
    }
    std::array<const Entry*, kKeys.size()> chosen{};
    for (const Entry& entry : last->entries) {
        const std::size_t key = *names.Key(entry.name);
        if (chosen[key] != nullptr) {
            findings.push_back(Finding(LintKind::RepeatedKey, chosen[key]->line,
                                       std::u16string(kKeys[key]), {}, entry.line));
        }
        chosen[key] = &entry;
    }
    for (std::size_t key = 1; key < kKeys.size(); ++key) {  // Mode and DebugWindow are numbers
        if (chosen[key] != nullptr && !ConvertSettingsNumber(chosen[key]->value)) {
            findings.push_back(Finding(LintKind::NotANumber, chosen[key]->line,
                                       std::u16string(kKeys[key]),
                                       std::u16string(chosen[key]->value)));
        }
    }
    const auto lineOf = [&](std::size_t key) { return chosen[key] ? chosen[key]->line : 0; };
    return {lineOf(0), lineOf(1), lineOf(2)};
}

}  // namespace

std::size_t FirstIllFormedUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // the second byte's range
        if (b < 0x80)
            length = 1;
        else if (b >= 0xC2 && b <= 0xDF)
            length = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;   // no overlong forms
            if (b == 0xED) high = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;   // no overlong forms
            if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
        } else {
            return i;
        }
        if (i + length > bytes.size()) return i;
        for (std::size_t k = 1; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            const unsigned char min = k == 1 ? low : 0x80, max = k == 1 ? high : 0xBF;
            if (c < min || c > max) return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

LintResult LintSettings(os::SystemApi& api, std::string_view bytes) {
    LintResult result;
    auto& findings = result.findings;
    const std::string_view mark = kUtf8Encoding.byteOrderMark;
    const std::size_t skipped = bytes.starts_with(mark) ? mark.size() : 0;
    const std::size_t bad = FirstIllFormedUtf8(bytes.substr(skipped));
    if (bad != std::string_view::npos) {
        findings.push_back(Finding(LintKind::NotUtf8, 0, {}, {}, 0, skipped + bad));
        return result;
    }

    const Names names(api);
    const std::u16string text = DecodeSettingsText(api, bytes, kUtf8Encoding);
    const std::vector<std::u16string_view> lines = SplitIniLines(text);
    std::vector<Section> sections;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t number = i + 1;
        const std::u16string_view line = lines[i];
        if (line.empty() || line.front() == u';') continue;
        const std::u16string_view trimmed = TrimBlanks(line);
        // Each of these is read as no header and no comment; saying why is enough.
        std::optional<LintKind> misread;
        if (line.front() == u'\uFEFF')
            misread = LintKind::ByteOrderMarkInLine;
        else if (line.front() == u' ' && trimmed.starts_with(u'['))
            misread = LintKind::BlankBeforeHeader;
        else if (line.front() == u' ' && trimmed.starts_with(u';'))
            misread = LintKind::BlankBeforeComment;
        else if (line.front() == u'[' && !IsIniSectionHeader(line))
            misread = LintKind::TextAfterHeader;
        if (misread) {
            findings.push_back(Finding(*misread, number));
            continue;
        }
        if (IsIniSectionHeader(line)) {
            const std::u16string_view name = line.substr(1, line.size() - 2);
            const bool tollik = names.IsSection(name);
            sections.push_back({number, name, tollik, {}});
            if (!tollik)
                findings.push_back(Finding(LintKind::UnknownSection, number, std::u16string(name)));
            continue;
        }
        std::u16string_view name, value;
        const bool entry = SplitIniEntry(line, name, value);
        if (sections.empty()) {
            if (entry) findings.push_back(Finding(LintKind::EntryBeforeHeader, number));
            continue;
        }
        Section& section = sections.back();
        if (!section.tollik) continue;  // another section's lines are never read
        if (!entry) {
            findings.push_back(Finding(LintKind::NotAnEntry, number));
            continue;
        }
        if (const auto key = names.Key(name)) {
            section.entries.push_back({number, name, value});
            // Numbers skip leading blanks; a folder keeps every blank it is given.
            if (*key == 0 && value.starts_with(u' '))
                findings.push_back(
                    Finding(LintKind::BlankAroundEquals, number, std::u16string(kKeys[0])));
            else if (*key == 0 && value.ends_with(u' '))
                findings.push_back(
                    Finding(LintKind::TrailingBlank, number, std::u16string(kKeys[0])));
        } else if (const auto meant = names.Key(TrimBlanks(name))) {
            findings.push_back(
                Finding(LintKind::BlankAroundEquals, number, std::u16string(kKeys[*meant])));
        } else {
            findings.push_back(Finding(LintKind::UnknownKey, number, std::u16string(name)));
        }
    }
    if (const std::size_t nul = text.find(u'\0'); nul != std::u16string::npos)
        findings.push_back(Finding(LintKind::NulCharacter, LineOfNul(text, nul, lines)));

    result.effective = ConcludeSections(names, sections, !text.empty(), findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    return result;
}

}  // namespace tollik::check
