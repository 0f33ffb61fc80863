#pragma once
// A settings file, read once and whole into memory when the store is built,
// then answered from memory: text, numbers and flags by section and key,
// each with the caller's default. The store never writes, and never looks
// at the file again after it is built.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/SystemApi.h"
#include "settings/IniText.h"

namespace tollik {

// How the file's bytes are decoded: the code page, strictly, after skipping
// one leading byte-order mark.
struct TextEncoding {
    std::uint32_t codePage;
    std::string_view byteOrderMark;
};

inline constexpr TextEncoding kUtf8Encoding{os::kCpUtf8, "\xEF\xBB\xBF"};

// Settings files of 2 GiB or more are not read at all (one read cannot take
// them in): every read then gives its default.
inline constexpr std::int64_t kSettingsFileSizeLimit = std::int64_t{1} << 31;

// Names (sections, keys) match as the system upper-cases them, unit by unit.
std::u16string UpperSettingsName(os::SystemApi& api, std::u16string_view name);
bool MatchesUpperName(os::SystemApi& api, std::u16string_view name,
                      std::u16string_view upperWanted);

// The text of a settings file's bytes: one leading byte-order mark skipped,
// then decoded strictly; empty when any sequence is ill-formed.
std::u16string DecodeSettingsText(os::SystemApi& api, std::string_view bytes,
                                  const TextEncoding& encoding);

class IniStore {
public:
    // Loads the file at `path`. No file there (or a folder, or an empty
    // path), a file that is not well-formed in `encoding`, and a file too
    // large to read all give an empty store. Throws GeneralError when the
    // file is there but cannot be opened (another program writing it, or
    // access denied). The file is closed again before this returns.
    IniStore(os::SystemApi& api, std::u16string_view path, const TextEncoding& encoding);
    // The sections point into the store's own text.
    IniStore(const IniStore&) = delete;
    IniStore& operator=(const IniStore&) = delete;

    // Names match without regard to case, unit by unit. Only the last
    // section of a name is consulted, and in it the last entry of a key.
    std::u16string ReadText(std::u16string_view section, std::u16string_view key,
                            std::u16string_view defaultValue) const;
    std::int32_t ReadNumber(std::u16string_view section, std::u16string_view key,
                            std::int32_t defaultValue) const;
    bool ReadFlag(std::u16string_view section, std::u16string_view key, bool defaultValue) const;

    const std::vector<IniSection>& Sections() const noexcept { return sections_; }

private:
    void Load(const std::u16string& path, const TextEncoding& encoding);

    os::SystemApi& api_;
    std::u16string text_;
    std::vector<IniSection> sections_;
};

}  // namespace tollik
