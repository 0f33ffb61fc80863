#pragma once
// UTF-16 text as UTF-8, for test messages and for comparing texts in both
// the native and the Windows test programs. An unpaired surrogate becomes
// U+FFFD.

#include <string>
#include <string_view>

namespace tollik::testing {

std::string Utf8(std::u16string_view text);

}  // namespace tollik::testing
