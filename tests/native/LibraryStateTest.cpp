#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeWindows.h"
#include "LibraryState.h"

namespace tollik {
namespace {

TEST(LibraryState, OnWindows7ReadsCodePageThenVersionThenLooksUpDiskSpaceAndNothingElse) {
    fake::FakeWindows windows;
    windows.ansiCodePage = 932;
    windows.version = {6, 1, 7601};
    int self = 0;

    const LibraryState state = InitializeLibrary(windows, &self);

    EXPECT_EQ(windows.calls, (std::vector<std::string>{"GetACP", "GetVersionExW",
                                                       "GetModuleHandleW", "GetProcAddress"}));
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetModuleHandleW kernel32.dll"}));
    EXPECT_NE(state.diskSpace.extended, nullptr);
    EXPECT_EQ(state.self, &self);
    EXPECT_EQ(state.ansiCodePage, 932u);
    EXPECT_EQ(state.osVersion.major, 6u);
    EXPECT_EQ(state.osVersion.minor, 1u);
    EXPECT_FALSE(state.packaged);
}

TEST(LibraryState, OnNewerSystemsAsksForThePackageLast) {
    fake::FakeWindows windows;
    windows.version = {10, 0, 19045};
    windows.packageFullName = u"Pellam_2.0.0.0_x64__8wekyb3d8bbwe";

    const LibraryState state = InitializeLibrary(windows, nullptr);

    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"GetACP", "GetVersionExW", "GetModuleHandleW", "GetProcAddress",
                                        "GetModuleHandleW", "GetProcAddress",
                                        "GetCurrentPackageFullName", "GetCurrentPackageFullName"}));
    EXPECT_TRUE(state.packaged);
}

TEST(LibraryState, VersionStaysZeroWhenTheSystemCannotTell) {
    fake::FakeWindows windows;
    windows.ansiCodePage = 65001;
    windows.FailCall("GetVersionExW", 87);

    const LibraryState state = InitializeLibrary(windows, nullptr);

    EXPECT_EQ(state.ansiCodePage, 65001u);
    EXPECT_EQ(state.osVersion.major, 0u);
    EXPECT_EQ(state.osVersion.minor, 0u);
}

TEST(LibraryState, DiskSpaceFallsBackWhenTheExtendedFunctionIsMissing) {
    for (const bool moduleMissing : {false, true}) {
        fake::FakeWindows windows;
        windows.version = {6, 1, 7601};
        windows.hasDiskFreeSpaceEx = false;
        if (moduleMissing) windows.FailCall("GetModuleHandleW", 126);

        const LibraryState state = InitializeLibrary(windows, nullptr);

        EXPECT_EQ(state.diskSpace.extended, nullptr) << moduleMissing;
        EXPECT_EQ(windows.CallCount("GetProcAddress"), moduleMissing ? 0 : 1);
        // The classic function then answers for every drive.
        EXPECT_EQ(DriveSize(windows, state.diskSpace, 3), std::int64_t{512} << 30);
        EXPECT_EQ(windows.CallCount("GetDiskFreeSpaceW"), 1);
    }
}

}  // namespace
}  // namespace tollik
