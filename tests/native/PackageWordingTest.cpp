// The shipped sample settings file and read-me tell users where the settings
// file belongs. Their wording is held here to the plug-in's own lookup, so a
// change to either cannot leave users editing a file that is never read.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "Common/HostSettingsFile.h"
#include "Common/Drives.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "settings/RunSettings.h"

namespace tollik {
namespace {

using testing::Utf8;

std::string SourceFile(const char* relative) {
    std::ifstream file(std::string(TOLLIK_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Where the plug-in reads its settings for an editor at C:\Tools\Pellam.exe,
// written as the shipped texts write it: %APPDATA%\ for the per-user
// folder, `editorFolder` for the editor's.
std::string DocumentedPath(bool packaged, const char16_t* besideExecutable, const std::string& editorFolder) {
    fake::FakeWindows windows;
    windows.executablePath = u"C:\\Tools\\Pellam.exe";
    windows.files.AddFile(windows.executablePath, "MZ");
    if (besideExecutable != nullptr) windows.files.AddFile(besideExecutable, "");
    std::u16string hostSettings;
    EXPECT_TRUE(GetHostIniFileName(windows, LookUpDiskSpaceFunction(windows), packaged, hostSettings));
    std::string path = Utf8(PluginSettingsPath(hostSettings));
    const std::string appData = Utf8(windows.appDataFolder) + "\\";
    if (path.starts_with(appData)) return "%APPDATA%\\" + path.substr(appData.size());
    if (path.starts_with("C:\\Tools\\")) return editorFolder + "\\" + path.substr(9);
    return path;
}

TEST(PackageWording, SampleAndReadMeNameWhereTheSettingsAreReadForEachInstallation) {
    const struct {
        const char* kind;
        bool packaged;
        const char16_t* besideExecutable;
    } kinds[] = {
        {"per user", false, nullptr},
        {"Store version", true, nullptr},
        {"portable marker", false, u"C:\\Tools\\PellamPortable.ini"},
        {"settings beside the executable", false, u"C:\\Tools\\Pellam.ini"},
    };
    const std::string sample = SourceFile("package/Tollik.ini");
    const std::string readMe = SourceFile("package/Tollik-README.txt");
    ASSERT_FALSE(sample.empty());
    ASSERT_FALSE(readMe.empty());
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        for (const char* folder : {"<Pellam.exe のフォルダー>", "<Pellam.exe's folder>"}) {
            const std::string documented = DocumentedPath(k.packaged, k.besideExecutable, folder);
            EXPECT_NE(sample.find(documented), std::string::npos) << documented;
            EXPECT_NE(readMe.find(documented), std::string::npos) << documented;
        }
    }
    // And both send users to the checker for their own installation's path.
    EXPECT_NE(sample.find("tollik-check"), std::string::npos);
    EXPECT_NE(readMe.find("tollik-check"), std::string::npos);
}

}  // namespace
}  // namespace tollik
