#pragma once
// The ANSI code pages the fake Windows converts to: 1252 (Western), 932
// (Japanese, through glibc's iconv) and 65001 (UTF-8), as WideCharToMultiByte
// does with flags 0 and no default-character arguments: each UTF-16 unit the
// code page cannot hold (unpaired surrogates and each half of a pair outside
// the Basic Multilingual Plane included) becomes the default character "?";
// UTF-8 writes U+FFFD for an unpaired surrogate. Best-fit substitutions
// (such as Ā to A) are not modelled: such characters become "?" here.

#include <cstdint>
#include <string>
#include <string_view>

namespace tollik::fake {

bool IsKnownCodePage(std::uint32_t codePage);
std::string EncodeForCodePage(std::uint32_t codePage, std::u16string_view text);

}  // namespace tollik::fake
