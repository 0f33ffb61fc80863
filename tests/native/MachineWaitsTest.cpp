#include "MachineWaits.h"

#include <gtest/gtest.h>

namespace tollik::test {
namespace {

TEST(MachineWaits, GrowWithTheMeasuredStartAndStayFinite) {
    const struct {
        unsigned starts;
        unsigned startMilliseconds;
        unsigned expected;
    } cases[] = {
        {2, 0, 90000},                   // not measured: as always
        {2, 1500, 90000},                // natively: as always
        {1, 55000, 142500},              // emulated: one start
        {2, 55000, 225000},              // the runner, then the program
        {1000, 0xFFFFFFFFu, 0xFFFFFFFEu},  // never INFINITE
    };
    for (const auto& c : cases)
        EXPECT_EQ(WaitForStarts(c.starts, c.startMilliseconds), c.expected) << c.starts << " x " << c.startMilliseconds;
}

TEST(MachineWaits, StartTimeIsReadOnlyFromAPlainNumber) {
    EXPECT_EQ(StartMillisecondsFrom("55000"), 55000u);
    for (const char* bad : {static_cast<const char*>(nullptr), "", "-1", "55 s", "1e5", "99999999999"})
        EXPECT_EQ(StartMillisecondsFrom(bad), 0u) << (bad ? bad : "(null)");
}

}  // namespace
}  // namespace tollik::test
