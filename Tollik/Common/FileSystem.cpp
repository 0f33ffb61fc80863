#include "Common/FileSystem.h"

#include <array>
#include <vector>

#include "Common/PathText.h"
#include "Failure.h"
#include "os/Handles.h"

namespace tollik {
namespace {

using namespace os;

constexpr std::uint32_t kPathBufferUnits = 260;
constexpr std::uint32_t kModuleBufferUnits = 261;
// Longer than any path Windows can name; a buffer this size that still
// comes back full means the name cannot be had whole.
constexpr std::size_t kLongestModulePath = 32768;

bool Has(std::uint32_t attributes, std::uint32_t bit) { return (attributes & bit) != 0; }

}  // namespace

std::u16string ExpandPath(SystemApi& api, std::u16string_view path) {
    const std::u16string name(path);
    std::array<char16_t, kPathBufferUnits> buffer{};
    char16_t* filePart = nullptr;
    const std::uint32_t needed =
        api.GetFullPathNameW(name.c_str(), kPathBufferUnits, buffer.data(), &filePart);
    if (needed <= kPathBufferUnits) return std::u16string(buffer.data(), needed);

    std::u16string expanded(needed, u'\0');
    const std::uint32_t written =
        api.GetFullPathNameW(name.c_str(), needed, expanded.data(), &filePart);
    // Only a shorter answer was written into the buffer; a longer one (the
    // current directory changed in between) left nothing there to return.
    if (written == 0 || written >= needed) return {};
    expanded.resize(written);
    return expanded;
}

bool FileIsPresent(SystemApi& api, std::u16string_view path) {
    const std::u16string name(path);
    const std::uint32_t attributes = api.GetFileAttributesW(name.c_str());
    if (attributes == kInvalidFileAttributes) {
        const std::uint32_t error = api.GetLastError();
        if (error == kErrorFileNotFound || error == kErrorPathNotFound ||
            error == kErrorInvalidName)
            return false;
        // The system would not describe it (in use, say): a search still can.
        FindData found;
        const unique_hfind search(api, api.FindFirstFileW(name.c_str(), found));
        return search && !Has(found.attributes, kFileAttributeDirectory);
    }
    if (!Has(attributes, kFileAttributeReparsePoint))
        return !Has(attributes, kFileAttributeDirectory);
    if (Has(attributes, kFileAttributeDirectory)) return false;

    // A link to a file: present when its target opens, or is merely in use.
    const unique_hfile target(
        api, api.CreateFileW(name.c_str(), kGenericRead, kFileShareRead, kOpenExisting, 0));
    if (target) return true;
    return api.GetLastError() == kErrorSharingViolation;
}

bool DirectoryIsPresent(SystemApi& api, std::u16string_view path) {
    const std::u16string name(path);
    const std::uint32_t attributes = api.GetFileAttributesW(name.c_str());
    if (attributes == kInvalidFileAttributes) {
        const std::uint32_t error = api.GetLastError();
        return error != kErrorFileNotFound && error != kErrorPathNotFound &&
               error != kErrorBadNetpath && error != kErrorInvalidName;
    }
    if (!Has(attributes, kFileAttributeReparsePoint))
        return Has(attributes, kFileAttributeDirectory);

    // A link: present only when its target opens.
    const unique_hfile target(api, api.CreateFileW(name.c_str(), kGenericRead, kFileShareRead,
                                                   kOpenExisting, kFileFlagBackupSemantics));
    return target && Has(attributes, kFileAttributeDirectory);
}

bool CreateDirectoryTree(SystemApi& api, std::u16string_view folder) {
    // Walk up to the first folder that needs nothing, remembering the levels
    // to create; a loop rather than recursion, since a chain of missing
    // folders can be thousands deep. Every level is a prefix of `folder`.
    std::vector<std::size_t> missing;
    std::u16string_view current = folder;
    for (;;) {
        if (current.empty()) throw IoError(u"ディレクトリを作成できません", 3);
        std::u16string_view level = current;
        if (level.back() == u'\\') level.remove_suffix(1);
        const std::u16string parent = DirPart(level);
        if (level.size() < 3 || DirectoryIsPresent(api, level) || parent == level) break;
        missing.push_back(level.size());
        current = folder.substr(0, parent.size());
    }
    for (auto length = missing.rbegin(); length != missing.rend(); ++length) {
        if (!api.CreateDirectoryW(std::u16string(folder.substr(0, *length)).c_str())) return false;
    }
    return true;
}

std::u16string HostExecutablePath(SystemApi& api) {
    std::u16string path(kModuleBufferUnits, u'\0');
    for (;;) {
        const std::uint32_t length =
            api.GetModuleFileNameW(nullptr, path.data(), static_cast<std::uint32_t>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        // Cut short: a host installed deep down is still found with more room.
        if (path.size() >= kLongestModulePath) return {};
        path.resize(path.size() * 2);
    }
}

FileBytes ReadFileBytes(SystemApi& api, const std::u16string& path, std::int64_t sizeLimit) {
    FileBytes result;
    const unique_hfile file(api, api.CreateFileW(path.c_str(), kGenericRead, kFileShareRead,
                                                 kOpenExisting, kFileAttributeNormal));
    if (!file) {
        result.outcome = FileRead::CannotOpen;
        result.error = api.GetLastError();
        return result;
    }
    std::int64_t size = 0;
    if (!api.GetFileSizeEx(file.get(), &size) || size <= 0) return result;
    if (size >= sizeLimit) {
        result.outcome = FileRead::TooLarge;
        return result;
    }
    // One read; a file that shrank since gives what it still holds.
    result.bytes.assign(static_cast<std::size_t>(size), '\0');
    std::uint32_t read = 0;
    api.ReadFile(file.get(), result.bytes.data(), static_cast<std::uint32_t>(size), &read);
    result.bytes.resize(read);
    return result;
}

}  // namespace tollik
