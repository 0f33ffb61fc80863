#include "settings/IniStore.h"

#include <memory>

#include "Common/FileSystem.h"
#include "Common/SystemMessage.h"
#include "Failure.h"
#include "os/Handles.h"
#include "settings/NumberText.h"

namespace tollik {
namespace {

using namespace os;

[[noreturn]] void FailToOpen(SystemApi& api, const std::u16string& path) {
    const std::uint32_t error = api.GetLastError();
    std::u16string message = u"ファイル ";
    message += ExpandPath(api, path);
    message += u" は開けません。 ";
    message += SystemMessageText(api, error);
    message += u' ';
    throw GeneralError(std::move(message));
}

// The file's bytes, read in one piece. A read that delivers less than the
// size leaves zeros in the rest, which end the text where the bytes end.
std::unique_ptr<char[]> ReadWholeFile(SystemApi& api, const std::u16string& path,
                                      std::size_t& size) {
    const unique_hfile file(api, api.CreateFileW(path.c_str(), kGenericRead, kFileShareRead,
                                                 kOpenExisting, kFileAttributeNormal));
    if (!file) FailToOpen(api, path);
    std::int64_t fileSize = 0;
    if (!api.GetFileSizeEx(file.get(), &fileSize) || fileSize <= 0 ||
        fileSize >= kSettingsFileSizeLimit) {
        size = 0;
        return nullptr;
    }
    size = static_cast<std::size_t>(fileSize);
    auto bytes = std::make_unique<char[]>(size);  // zeroed
    std::uint32_t read = 0;
    api.ReadFile(file.get(), bytes.get(), static_cast<std::uint32_t>(size), &read);
    return bytes;
}

}  // namespace

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

    std::size_t size = 0;
    std::unique_ptr<char[]> bytes = ReadWholeFile(api_, path, size);
    text_ = DecodeSettingsText(api_, {bytes.get(), size}, encoding);
    bytes.reset();  // the bytes are not needed once decoded
    sections_ = ParseIniSections(text_);
}

std::u16string IniStore::UpperCopy(std::u16string_view name) const {
    std::u16string upper(name);
    if (!upper.empty()) api_.CharUpperBuffW(upper.data(), static_cast<std::uint32_t>(upper.size()));
    return upper;
}

bool IniStore::SameName(std::u16string_view name, const std::u16string& upperWanted) const {
    return name.size() == upperWanted.size() && UpperCopy(name) == upperWanted;
}

std::u16string IniStore::ReadText(std::u16string_view section, std::u16string_view key,
                                  std::u16string_view defaultValue) const {
    const std::u16string wantedSection = UpperCopy(section);
    for (auto s = sections_.rbegin(); s != sections_.rend(); ++s) {
        if (!SameName(s->name, wantedSection)) continue;
        // The last section of the name is the only one consulted.
        const std::u16string wantedKey = UpperCopy(key);
        for (auto line = s->lines.rbegin(); line != s->lines.rend(); ++line) {
            std::u16string_view name, value;
            if (SplitIniEntry(*line, name, value) && SameName(name, wantedKey))
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
