#include "os/WindowGeometry.h"

#include <gtest/gtest.h>

#include <array>

namespace tollik::os {
namespace {

TEST(WindowGeometry, ScalesFromNinetySixDpiAndFitsTheWorkArea) {
    EXPECT_EQ(ScaleForDpi(720, 144), 1080);
    EXPECT_EQ(ScaleForDpi(26, 120), 33);  // 32.5 rounds up, as MulDiv does
    // A second monitor narrower than the window: fitted, centred top to bottom.
    const Box placed = CentreIn(1440, 920, {1920, 0, 3200, 984});
    EXPECT_EQ((std::array{placed.left, placed.top, placed.right, placed.bottom}), (std::array{1920, 32, 3200, 952}));
}

}  // namespace
}  // namespace tollik::os
