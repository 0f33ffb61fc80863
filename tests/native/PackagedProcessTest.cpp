#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DesktopBridge.Helpers/PackagedProcess.h"
#include "FakeWindows.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;

TEST(IsPackagedProcess, AsksThePackageOnlyWhereThereAreAny) {
    const struct {
        const char* name;
        VersionInfo version;
        bool hasFunction;
        std::optional<std::u16string> package;
        bool packaged;
        int packageCalls;
    } cases[] = {
        {"Windows 7", {6, 1, 7601}, false, std::nullopt, false, 0},
        {"Windows 7 with a package", {6, 1, 7601}, true, u"Pellam_1.0.0.0_x64__abc", false, 0},
        {"XP", {5, 1, 2600}, false, std::nullopt, false, 0},
        {"version unknown", {0, 0, 0}, true, u"Pellam_1.0.0.0_x64__abc", false, 0},
        {"Windows 8, not packaged", {6, 2, 9200}, true, std::nullopt, false, 2},
        {"Windows 10, not packaged", {10, 0, 19045}, true, std::nullopt, false, 2},
        {"Windows 10, packaged", {10, 0, 19045}, true, u"Pellam_1.0.0.0_x64__abc", true, 2},
        {"Windows 11, an empty package name", {10, 0, 22631}, true, u"", true, 2},
        {"no function on a newer system", {10, 0, 19045}, false, u"Pellam_1.0.0.0_x64__abc", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.hasPackageFunctions = c.hasFunction;
        windows.packageFullName = c.package;
        EXPECT_EQ(IsPackagedProcess(windows, c.version), c.packaged);
        EXPECT_EQ(windows.CallCount("GetCurrentPackageFullName"), c.packageCalls);
        if (c.version.major < 6 || (c.version.major == 6 && c.version.minor <= 1)) {
            EXPECT_TRUE(windows.calls.empty());
        }
    }
}

TEST(IsPackagedProcess, OnlyTheSecondAnswerCounts) {
    const struct {
        const char* name;
        int occurrence;
        bool packaged;
    } cases[] = {
        {"the length query fails", 1, true},
        {"the name query fails otherwise than with no package", 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.packageFullName = u"Pellam_1.0.0.0_x64__abc";
        windows.FailCall("GetCurrentPackageFullName", kErrorAccessDenied, c.occurrence);
        EXPECT_EQ(IsPackagedProcess(windows, {10, 0, 19045}), c.packaged);
    }
    FakeWindows windows;
    windows.FailCall("GetCurrentPackageFullName", kAppModelErrorNoPackage, 2);
    windows.packageFullName = u"Pellam_1.0.0.0_x64__abc";
    EXPECT_FALSE(IsPackagedProcess(windows, {10, 0, 19045}));
}

}  // namespace
}  // namespace tollik
