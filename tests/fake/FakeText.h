#pragma once
// Text helpers of the fake Windows: the system's case-insensitive name
// matching and readable UTF-8 for test messages.

#include <string>
#include <string_view>

#include "Utf8.h"

namespace tollik::fake {

// The simple upper-case mapping of one UTF-16 unit, over the whole Basic
// Multilingual Plane; surrogates map to themselves.
char16_t UpperUnit(char16_t unit);
std::u16string UpperCase(std::u16string_view text);
bool EqualNoCase(std::u16string_view a, std::u16string_view b);

using testing::Utf8;

}  // namespace tollik::fake
