#include "Utf8.h"

#include "util/Utf8Text.h"

namespace tollik::testing {

std::string Utf8(std::u16string_view text) {
    return ToUtf8(text);
}

}  // namespace tollik::testing
