#include "HSPCmp/TempFolder.h"

#include <memory>
#include <string>

#include "util/TerminatedText.h"

namespace tollik {

std::u16string GetLongTempPath(os::SystemApi& api) {
    api.SetLastError(0);
    const std::uint32_t tempSize = api.GetTempPathW(0, nullptr);
    if (tempSize == 0) return {};
    const auto temp = std::make_unique<char16_t[]>(tempSize);  // zeroed: size - 1 units and a NUL
    if (api.GetTempPathW(tempSize, temp.get()) == 0) return {};

    const std::uint32_t longSize = api.GetLongPathNameW(temp.get(), nullptr, 0);
    if (longSize == 0) return {};
    const auto longForm = std::make_unique<char16_t[]>(longSize);
    // The result is not examined: the buffer holds the long form, or less
    // when the folder was renamed or removed since the size was asked, and
    // then no NUL unit may stay inside the path.
    api.GetLongPathNameW(temp.get(), longForm.get(), longSize);
    return std::u16string(UpToTerminator({longForm.get(), longSize - 1}));
}

}  // namespace tollik
