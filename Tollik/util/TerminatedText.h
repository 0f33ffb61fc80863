#pragma once
// Text the system or the host wrote into a fixed buffer ends at its first
// NUL, or fills the buffer when a terminator is missing: the plug-in never
// reads past the buffer it owns.

#include <string_view>

namespace tollik {

inline std::u16string_view UpToTerminator(std::u16string_view buffer) {
    return buffer.substr(0, buffer.find(u'\0'));
}

}  // namespace tollik
