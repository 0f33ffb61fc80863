#include "MachineWaits.h"

#include <gtest/gtest.h>

namespace tollik::test {
namespace {

TEST(MachineWaits, GrowWithTheMeasuredStartAndStayFinite) {
    EXPECT_EQ(WaitForStarts(2, 1500), 90000u);                  // natively: as always
    EXPECT_EQ(WaitForStarts(2, 55000), 225000u);                // emulated: the runner, then the program
    EXPECT_EQ(WaitForStarts(1000, 0xFFFFFFFFu), 0xFFFFFFFEu);  // never INFINITE
    EXPECT_EQ(StartMillisecondsFrom("55000"), 55000u);
    for (const char* bad : {static_cast<const char*>(nullptr), "", "-1", "55 s", "99999999999"})
        EXPECT_EQ(StartMillisecondsFrom(bad), 0u) << (bad ? bad : "(null)");
}

}  // namespace
}  // namespace tollik::test
