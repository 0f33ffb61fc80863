#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeWindows.h"
#include "LibraryState.h"

namespace tollik {
namespace {

TEST(LibraryState, ReadsCodePageThenVersionAndNothingElse) {
    fake::FakeWindows windows;
    windows.ansiCodePage = 932;
    windows.version = {6, 1, 7601};
    int self = 0;

    const LibraryState state = InitializeLibrary(windows, &self);

    EXPECT_EQ(windows.calls, (std::vector<std::string>{"GetACP", "GetVersionExW"}));
    EXPECT_EQ(state.self, &self);
    EXPECT_EQ(state.ansiCodePage, 932u);
    EXPECT_EQ(state.osVersion.major, 6u);
    EXPECT_EQ(state.osVersion.minor, 1u);
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

}  // namespace
}  // namespace tollik
