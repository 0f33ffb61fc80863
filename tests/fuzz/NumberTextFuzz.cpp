// Settings numbers: whatever the text, a result that is there reads back the
// same from its decimal and its hexadecimal forms, and leading blanks change
// nothing.

#include <cstdio>
#include <string>

#include "FuzzInput.h"
#include "settings/NumberText.h"

using namespace tollik;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks how the rest becomes text.
    const std::u16string text =
        data[0] & 1 ? fuzz::Units(data + 1, size - 1) : fuzz::Narrow(data + 1, size - 1);
    const std::optional<std::int32_t> value = ConvertSettingsNumber(text);
    fuzz::Require(ConvertSettingsNumber(u"  " + text) == value, "leading blanks are skipped");
    if (!value) return 0;

    const std::string decimal = std::to_string(*value);
    fuzz::Require(ConvertSettingsNumber(std::u16string(decimal.begin(), decimal.end())) == value,
                  "the decimal form reads back");
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%X", static_cast<unsigned>(*value));
    const std::string hexText = hex;
    fuzz::Require(ConvertSettingsNumber(std::u16string(hexText.begin(), hexText.end())) == value,
                  "the hexadecimal form reads back");
    return 0;
}
