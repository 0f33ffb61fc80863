#include "HSPCmp/TempFolder.h"

#include <memory>
#include <string>

namespace tollik {
namespace {

// The text the system wrote, up to its terminator. A result shorter than
// the size first asked for (the folder renamed or removed between the two
// calls) must not leave NUL units inside the path.
std::u16string TextUpToNul(const char16_t* buffer, std::size_t units) {
    const char16_t* end = std::char_traits<char16_t>::find(buffer, units, u'\0');
    return std::u16string(buffer, end != nullptr ? end : buffer + units);
}

}  // namespace

std::u16string GetLongTempPath(os::SystemApi& api) {
    api.SetLastError(0);
    const std::uint32_t tempSize = api.GetTempPathW(0, nullptr);
    if (tempSize == 0) return {};
    const auto temp = std::make_unique<char16_t[]>(tempSize);  // zeroed: size - 1 units and a NUL
    if (api.GetTempPathW(tempSize, temp.get()) == 0) return {};

    const std::uint32_t longSize = api.GetLongPathNameW(temp.get(), nullptr, 0);
    if (longSize == 0) return {};
    const auto longForm = std::make_unique<char16_t[]>(longSize);
    // Whatever this call answers, the buffer holds the long form or less.
    api.GetLongPathNameW(temp.get(), longForm.get(), longSize);
    return TextUpToNul(longForm.get(), longSize - 1);
}

}  // namespace tollik
