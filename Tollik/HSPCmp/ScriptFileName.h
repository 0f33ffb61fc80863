#pragma once
// The script file's name: the plug-in writes it, the runner hands it to the
// HSP compiler (which takes ANSI bytes, hence the second spelling).

#include <string_view>

namespace tollik {

inline constexpr std::u16string_view kScriptFileName = u"hsptmp";
inline constexpr std::string_view kScriptFileNameBytes = "hsptmp";

static_assert([] {
    if (kScriptFileName.size() != kScriptFileNameBytes.size()) return false;
    for (std::size_t i = 0; i < kScriptFileName.size(); ++i)
        if (kScriptFileName[i] != static_cast<char16_t>(kScriptFileNameBytes[i])) return false;
    return true;
}());

}  // namespace tollik
