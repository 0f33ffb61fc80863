#include "settings/IniStore.h"

#include "Common/FileSystem.h"
#include "Common/SystemMessage.h"
#include "Failure.h"
#include "settings/NumberText.h"

namespace tollik {
namespace {

using namespace os;

[[noreturn]] void FailToOpen(SystemApi& api, const std::u16string& path, std::uint32_t error) {
    std::u16string message = u"ファイル ";
    message += ExpandPath(api, path);
    message += u" は開けません。 ";
    message += SystemMessageText(api, error);
    message += u' ';
    throw GeneralError(std::move(message));
}

}  // namespace

std::u16string UpperSettingsName(SystemApi& api, std::u16string_view name) {
    std::u16string upper(name);
    if (!upper.empty()) api.CharUpperBuffW(upper.data(), static_cast<std::uint32_t>(upper.size()));
    return upper;
}

bool MatchesUpperName(SystemApi& api, std::u16string_view name, std::u16string_view upperWanted) {
    return name.size() == upperWanted.size() && UpperSettingsName(api, name) == upperWanted;
}

std::u16string DecodeSettingsText(SystemApi& api, std::string_view bytes,
                                  const TextEncoding& encoding) {
    const std::string_view mark = encoding.byteOrderMark;
    if (!mark.empty() && bytes.starts_with(mark)) bytes.remove_prefix(mark.size());
    // Strict decoding: one ill-formed sequence anywhere gives no text at all.
    if (bytes.empty()) return {};
    const auto length = static_cast<int>(bytes.size());
    const int needed = api.MultiByteToWideChar(encoding.codePage, kMbErrInvalidChars, bytes.data(),
                                               length, nullptr, 0);
    if (needed <= 0) return {};
    std::u16string text(static_cast<std::size_t>(needed), u'\0');
    const int decoded = api.MultiByteToWideChar(encoding.codePage, kMbErrInvalidChars,
                                                bytes.data(), length, text.data(), needed);
    if (decoded != needed) return {};
    return text;
}

IniStore::IniStore(SystemApi& api, std::u16string_view path, const TextEncoding& encoding)
    : api_(api) {
    Load(std::u16string(path), encoding);
}

void IniStore::Load(const std::u16string& path, const TextEncoding& encoding) {
    // The plain presence test: a settings file on a drive without media is
    // the system's to report, not something to look past.
    if (path.empty() || !FileIsPresent(api_, path)) return;

    {  // the bytes are not needed once decoded
        const FileBytes file = ReadFileBytes(api_, path, kSettingsFileSizeLimit);
        if (file.outcome == FileRead::CannotOpen) FailToOpen(api_, path, file.error);
        text_ = DecodeSettingsText(api_, file.bytes, encoding);
    }
    sections_ = ParseIniSections(text_);
}

std::u16string IniStore::ReadText(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue) const {
    const std::u16string wantedSection = UpperSettingsName(api_, section);
    for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
        if (!MatchesUpperName(api_, s->name, wantedSection)) continue;
        // The last section of the name is the only one consulted.
        const std::u16string wantedKey = UpperSettingsName(api_, key);
        for (auto line = s->lines.rbegin(); line != s->lines.rend(); ++line) {
            std::u16string_view name, value;
            if (SplitIniEntry(*line, name, value) && MatchesUpperName(api_, name, wantedKey))
                return std::u16string(value);
        }
        break;
    }
    return std::u16string(defaultValue);
}

std::int32_t IniStore::ReadNumber(std::u16string_view section, std::u16string_view key,
                                  std::int32_t defaultValue) const {
    return ConvertSettingsNumber(ReadText(section, key, u"")).value_or(defaultValue);
}

bool IniStore::ReadFlag(std::u16string_view section, std::u16string_view key,
                        bool defaultValue) const {
    return ReadNumber(section, key, defaultValue ? 1 : 0) != 0;
}

}  // namespace tollik
