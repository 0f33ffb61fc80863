#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "FakeText.h"
#include "settings/NumberText.h"

namespace tollik {
namespace {

using testing::Utf8;

struct NumberCase {
    std::u16string text;
    std::optional<std::int32_t> value;  // nothing: the conversion fails
};

TEST(ConvertSettingsNumber, FollowsTheSettingsNumberRules) {
    const NumberCase cases[] = {
        // Decimal.
        {u"0", 0}, {u"7", 7}, {u"007", 7}, {u"+5", 5}, {u"-5", -5}, {u"-0", 0}, {u"+0", 0},
        {u"2147483647", 2147483647}, {u"-2147483648", INT32_MIN},
        {u"2147483648", std::nullopt}, {u"-2147483649", std::nullopt},
        {u"00000000000000000002147483647", 2147483647},
        {u"99999999999999999999", std::nullopt},
        // Hexadecimal, five prefixes, digits of either case.
        {u"0x10", 16}, {u"0X10", 16}, {u"$10", 16}, {u"x10", 16}, {u"X10", 16},
        {u"0x1f", 31}, {u"0x1F", 31}, {u"$aBcD", 0xABCD}, {u"0x", 0}, {u"0X", 0},
        {u"$FFFFFFFF", -1}, {u"0x80000000", INT32_MIN}, {u"0x7FFFFFFF", INT32_MAX},
        {u"$100000000", std::nullopt}, {u"$000000001", 1}, {u"0x0000000000FFFFFFFF", -1},
        // A prefix or sign with nothing after it.
        {u"$", std::nullopt}, {u"x", std::nullopt}, {u"X", std::nullopt}, {u"+", std::nullopt},
        {u"-", std::nullopt}, {u"", std::nullopt}, {u"   ", std::nullopt},
        // Blanks: only leading U+0020 is skipped.
        {u"  42", 42}, {u" -1", -1}, {u"42 ", std::nullopt}, {u"\t42", std::nullopt},
        {u" \t42", std::nullopt}, {u"4 2", std::nullopt}, {u"\u300042", std::nullopt},
        // Signs and prefixes do not combine.
        {u"-0x10", std::nullopt}, {u"-$10", std::nullopt}, {u"+0x10", std::nullopt},
        {u"--5", std::nullopt}, {u"+-5", std::nullopt}, {u"0x-1", std::nullopt},
        {u"0$10", std::nullopt}, {u"00x10", std::nullopt}, {u"$0x10", std::nullopt},
        // Anything else in the digits.
        {u"1.0", std::nullopt}, {u"1e3", std::nullopt}, {u"12abc", std::nullopt},
        {u"0x1G", std::nullopt}, {u"10h", std::nullopt}, {u"true", std::nullopt},
        {u"\uFF11\uFF12", std::nullopt},              // full-width digits
        {u"\u0661", std::nullopt},                    // Arabic-Indic one
        {std::u16string(u"1\0", 2), std::nullopt},    // a NUL inside the text
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(ConvertSettingsNumber(c.text), c.value) << '"' << Utf8(c.text) << '"';
    }
}

}  // namespace
}  // namespace tollik
