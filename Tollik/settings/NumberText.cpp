#include "settings/NumberText.h"

namespace tollik {
namespace {

int DigitValue(char16_t unit, bool hexadecimal) {
    if (unit >= u'0' && unit <= u'9') return unit - u'0';
    if (!hexadecimal) return -1;
    if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
    if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
    return -1;
}

// The value of the digits, or nothing past `limit`. Leading zeros never
// count against the limit, however many there are.
std::optional<std::uint32_t> DigitsValue(std::u16string_view digits, bool hexadecimal,
                                         std::uint64_t limit) {
    const std::uint64_t base = hexadecimal ? 16 : 10;
    std::uint64_t value = 0;
    for (const char16_t unit : digits) {
        const int digit = DigitValue(unit, hexadecimal);
        if (digit < 0) return std::nullopt;
        value = value * base + static_cast<std::uint64_t>(digit);
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

}  // namespace

std::optional<std::int32_t> ConvertSettingsNumber(std::u16string_view text) {
    const std::size_t start = text.find_first_not_of(u' ');
    if (start == std::u16string_view::npos) return std::nullopt;
    text.remove_prefix(start);

    const char16_t first = text.front();
    if (first == u'$' || first == u'x' || first == u'X' ||
        (first == u'0' && text.size() > 1 && (text[1] == u'x' || text[1] == u'X'))) {
        const std::size_t prefix = first == u'0' ? 2 : 1;
        // A one-unit prefix needs digits after it; "0x" alone is zero.
        if (prefix == 1 && text.size() == 1) return std::nullopt;
        const auto value = DigitsValue(text.substr(prefix), true, 0xFFFFFFFFu);
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(*value);  // two's complement: FFFFFFFF is -1
    }

    const bool negative = first == u'-';
    if (first == u'+' || first == u'-') {
        if (text.size() == 1) return std::nullopt;
        text.remove_prefix(1);
    }
    const std::uint64_t limit = negative ? 2147483648u : 2147483647u;
    const auto value = DigitsValue(text, false, limit);
    if (!value) return std::nullopt;
    if (!negative) return static_cast<std::int32_t>(*value);
    return static_cast<std::int32_t>(-static_cast<std::int64_t>(*value));
}

}  // namespace tollik
