#pragma once
// UTF-16 written out as UTF-8, for text shown outside the system's own
// calls (a console, a report). An unpaired surrogate becomes U+FFFD.

#include <string>
#include <string_view>

namespace tollik {

std::string ToUtf8(std::u16string_view text);

}  // namespace tollik
