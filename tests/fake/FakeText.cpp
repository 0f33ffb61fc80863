#include "FakeText.h"

#include <locale.h>
#include <wctype.h>

#include <stdexcept>

namespace tollik::fake {
namespace {

// glibc's C.UTF-8 carries the Unicode simple case mappings.
locale_t UnicodeLocale() {
    static const locale_t locale = [] {
        const locale_t created = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (created == nullptr) throw std::runtime_error("the C.UTF-8 locale is missing");
        return created;
    }();
    return locale;
}

}  // namespace

char16_t UpperUnit(char16_t unit) {
    if (unit < 0x80) return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit;
    if (unit >= 0xD800 && unit <= 0xDFFF) return unit;
    const wint_t upper = towupper_l(static_cast<wint_t>(unit), UnicodeLocale());
    return upper > 0xFFFF ? unit : static_cast<char16_t>(upper);
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string upper(text);
    for (char16_t& unit : upper) unit = UpperUnit(unit);
    return upper;
}

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (UpperUnit(a[i]) != UpperUnit(b[i])) return false;
    return true;
}

}  // namespace tollik::fake
