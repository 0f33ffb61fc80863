#include "hsp/ScriptEncoding.h"

#include <string_view>

#include "os/Handles.h"

namespace tollik::runner {

bool BeginsWithByteOrderMark(os::SystemApi& api, const std::u16string& path) {
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    const os::unique_hfile file(api, api.CreateFileW(path.c_str(), os::kGenericRead, os::kFileShareRead,
                                                     os::kOpenExisting, os::kFileAttributeNormal));
    if (!file) return false;
    char first[kMark.size()] = {};
    std::uint32_t read = 0;
    return api.ReadFile(file.get(), first, sizeof first, &read) && read == sizeof first &&
           std::string_view(first, sizeof first) == kMark;
}

bool CompilerReadsUtf8(os::SystemApi& api, const std::u16string& script) {
    return api.GetACP() == os::kCpUtf8 || BeginsWithByteOrderMark(api, script);
}

}  // namespace tollik::runner
