// The host settings-file lookup and the packaged-process test through the
// real seam: the system's own folder query and package function.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>

#include "Common/Drives.h"
#include "Common/HostSettingsFile.h"
#include "Common/PathText.h"
#include "DesktopBridge.Helpers/PackagedProcess.h"
#include "os/Win32SystemApi.h"

namespace tollik {
namespace {

std::u16string Narrow(const wchar_t* text) { return reinterpret_cast<const char16_t*>(text); }

// Bound through its looked-up address, the package function answers that
// this test program has no package, also where the version alone would
// not rule it out.
TEST(HostSettings, APlainProgramIsNotPackaged) {
    os::Win32SystemApi api;
    EXPECT_FALSE(IsPackagedProcess(api, {10, 0, 19045}));
    EXPECT_FALSE(IsPackagedProcess(api, {6, 1, 7601}));
}

TEST(HostSettings, WithoutAFileOrMarkerTheFileIsPerUserAndItsFolderIsMade) {
    os::Win32SystemApi api;
    wchar_t appData[MAX_PATH + 1] = {};
    ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData), S_OK);
    const std::u16string folder = AddTrailingDelimiter(Narrow(appData)) + u"Pellam";
    RemoveDirectoryW(reinterpret_cast<const wchar_t*>(folder.c_str()));

    std::u16string path;
    ASSERT_TRUE(GetHostIniFileName(api, LookUpDiskSpaceFunction(api), false, path));
    EXPECT_EQ(path, folder + u"\\wine_logic_tests.ini");
    const DWORD attributes = GetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.c_str()));
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace tollik
