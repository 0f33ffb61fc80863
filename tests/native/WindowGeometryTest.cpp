#include "os/WindowGeometry.h"

#include <gtest/gtest.h>

namespace tollik::os {
namespace {

TEST(WindowGeometry, ScalesFromNinetySixDpiAndFitsTheWorkArea) {
    EXPECT_EQ(ScaleForDpi(720, 96), 720);
    EXPECT_EQ(ScaleForDpi(720, 144), 1080);
    EXPECT_EQ(ScaleForDpi(26, 120), 33);  // 32.5 rounds up, as MulDiv does
    const struct {
        int width, height;
        Box work, expected;
    } cases[] = {
        {720, 460, {0, 0, 1920, 1040}, {600, 290, 1320, 750}},     // centred
        {1440, 920, {1920, 0, 3200, 984}, {1920, 32, 3200, 952}},  // second monitor, too wide: fitted
    };
    for (const auto& c : cases) {
        const Box placed = CentreIn(c.width, c.height, c.work);
        EXPECT_EQ(placed.left, c.expected.left);
        EXPECT_EQ(placed.top, c.expected.top);
        EXPECT_EQ(placed.right, c.expected.right);
        EXPECT_EQ(placed.bottom, c.expected.bottom);
    }
}

}  // namespace
}  // namespace tollik::os
