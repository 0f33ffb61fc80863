#include "Common/SystemMessage.h"

#include <string_view>

#include "os/Handles.h"

namespace tollik {

using namespace os;

std::u16string SystemMessageText(SystemApi& api, std::uint32_t error) {
    char16_t* buffer = nullptr;
    const std::uint32_t length =
        api.FormatMessageW(kFormatMessageAllocateBuffer | kFormatMessageFromSystem |
                               kFormatMessageIgnoreInserts | kFormatMessageArgumentArray,
                           error, 0, &buffer);
    const unique_hlocal owned(api, buffer);
    if (length == 0 || buffer == nullptr) return {};
    std::u16string_view text(buffer, length);
    while (!text.empty() && (text.back() <= u' ' || text.back() == u'.')) text.remove_suffix(1);
    return std::u16string(text);
}

}  // namespace tollik
