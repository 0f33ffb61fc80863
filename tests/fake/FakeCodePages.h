#pragma once
// The ANSI code pages the fake Windows converts to: 1252 (Western), 932
// (Japanese) and 65001 (UTF-8), as WideCharToMultiByte does with flags 0 and
// no default-character arguments. 1252 comes from its own table and 932 from
// glibc's iconv, both corrected by Windows' best-fit table (BestFit.inc:
// U+0100 becomes "A" under 1252, U+00A5 becomes 0x5C under 932); 1250, 1251,
// 936, 949 and 950 come from iconv alone, without best fit. Each UTF-16
// unit the code page still cannot hold (unpaired surrogates, and each half
// of a pair outside the Basic Multilingual Plane) becomes the default
// character "?"; UTF-8 writes U+FFFD for an unpaired surrogate.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollik::fake {

bool IsKnownCodePage(std::uint32_t codePage);
// `exact` (WC_NO_BEST_FIT_CHARS) writes the default character for every
// unit whose bytes would not decode to it again; `usedDefault`, when given,
// says whether any default character was written.
std::string EncodeForCodePage(std::uint32_t codePage, std::u16string_view text,
                              bool exact = false, bool* usedDefault = nullptr);

// Bytes of a code page back to UTF-16, as MultiByteToWideChar does with
// flags 0: a byte that starts no character of 932 becomes U+30FB, of 936,
// 949 or 950 "?"; one 1250 or 1251 leaves undefined, the control of its value.
std::u16string DecodeFromCodePage(std::uint32_t codePage, std::string_view bytes);

// UTF-8 to UTF-16 as MultiByteToWideChar does for code page 65001: strictly
// (nothing when any sequence is ill-formed) or replacing each maximal
// ill-formed subpart with U+FFFD.
std::optional<std::u16string> DecodeUtf8(std::string_view bytes, bool strict);

}  // namespace tollik::fake
