#pragma once
// How a settings value becomes a number. Hand-written because the C library's
// conversions disagree with the settings format on blanks, signs, prefixes
// and overflow.

#include <cstdint>
#include <optional>
#include <string_view>

namespace tollik {

// Leading blanks (U+0020 only) are skipped; then decimal with an optional
// sign ("+5", "-5", "007"), or hexadecimal after "$", "x", "X", "0x" or "0X"
// with no sign ("$FFFFFFFF" is -1, "0x" alone is 0). Every remaining unit
// must be a digit of that form. Decimal stays within the signed 32-bit
// range; hexadecimal within 32 bits, read as two's complement. Nothing when
// the text breaks any of this.
std::optional<std::int32_t> ConvertSettingsNumber(std::u16string_view text);

}  // namespace tollik
