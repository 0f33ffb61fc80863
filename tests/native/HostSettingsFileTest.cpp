#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/HostSettingsFile.h"
#include "Failure.h"
#include "FakeText.h"
#include "FakeWindows.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;

const std::u16string kAppData = u"C:\\Users\\tollik\\AppData\\Roaming\\";

bool Lookup(FakeWindows& windows, bool packaged, std::u16string& path) {
    return GetHostIniFileName(windows, LookUpDiskSpaceFunction(windows), packaged, path);
}

TEST(GetHostIniFileName, FindsTheFileWhereTheHostKeepsIt) {
    const struct {
        const char* name;
        std::u16string exe;
        std::vector<std::u16string> files;  // beside the executable
        bool packaged;
        std::u16string expected;
        std::u16string createdFolder;  // empty: nothing created
    } cases[] = {
        {"beside the executable", u"C:\\Tools\\Pellam.exe", {u"C:\\Tools\\Pellam.ini"}, false,
         u"C:\\Tools\\Pellam.ini", u""},
        {"portable, not yet written", u"C:\\Tools\\Pellam.exe", {u"C:\\Tools\\PellamPortable.ini"}, false,
         u"C:\\Tools\\Pellam.ini", u""},
        {"per user", u"C:\\Tools\\Pellam.exe", {}, false, kAppData + u"Pellam\\Pellam.ini",
         kAppData + u"Pellam"},
        {"per user, packaged", u"C:\\Tools\\Pellam.exe", {}, true, kAppData + u"PellamUWP\\Pellam.ini",
         kAppData + u"PellamUWP"},
        {"a renamed host keeps the fixed names", u"C:\\Tools\\Ed.exe", {u"C:\\Tools\\PellamPortable.ini"},
         false, u"C:\\Tools\\Ed.ini", u""},
        {"a renamed host per user", u"C:\\Tools\\Ed.exe", {u"C:\\Tools\\EdPortable.ini"}, false,
         kAppData + u"Pellam\\Ed.ini", kAppData + u"Pellam"},
        {"a folder named like the file does not count", u"C:\\Tools\\Pellam.exe", {}, false,
         kAppData + u"Pellam\\Pellam.ini", kAppData + u"Pellam"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.executablePath = c.exe;
        windows.files.AddFile(c.exe, "MZ");
        for (const std::u16string& file : c.files) windows.files.AddFile(file, "");
        if (std::string(c.name).starts_with("a folder")) windows.files.AddFolder(u"C:\\Tools\\Pellam.ini");

        std::u16string path;
        EXPECT_TRUE(Lookup(windows, c.packaged, path));
        EXPECT_EQ(Utf8(path), Utf8(c.expected));
        const std::vector<std::u16string> created =
            c.createdFolder.empty() ? std::vector<std::u16string>{} : std::vector{c.createdFolder};
        EXPECT_EQ(windows.files.createdFolders, created);
    }
}

TEST(GetHostIniFileName, AnExistingPerUserFolderIsLeftAlone) {
    FakeWindows windows;
    windows.files.AddFile(windows.executablePath, "MZ");
    windows.files.AddFolder(kAppData + u"Pellam");
    std::u16string path;
    EXPECT_TRUE(Lookup(windows, false, path));
    EXPECT_EQ(path, kAppData + u"Pellam\\Pellam.ini");
    EXPECT_TRUE(windows.files.createdFolders.empty());
}

TEST(GetHostIniFileName, AFolderThatCannotBeMadeIsStillNamed) {
    FakeWindows windows;
    windows.files.AddFile(windows.executablePath, "MZ");
    windows.files.RefuseNewEntries(kAppData);
    std::u16string path;
    EXPECT_TRUE(Lookup(windows, false, path));
    EXPECT_EQ(path, kAppData + u"Pellam\\Pellam.ini");
}

TEST(GetHostIniFileName, AnUnconfirmedExecutableEndsTheLookupUntouched) {
    const struct {
        const char* name;
        std::u16string exe;
        bool onDriveWithoutMedia;
    } cases[] = {
        {"no such file", u"C:\\Tools\\Pellam.exe", false},
        {"a drive without media", u"E:\\Pellam.exe", true},
        {"no name at all", u"", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.executablePath = c.exe;
        if (c.onDriveWithoutMedia) windows.files.AddDrive(u'E', {kDriveCdrom, false});
        std::u16string path = u"untouched";
        EXPECT_FALSE(Lookup(windows, false, path));
        EXPECT_EQ(path, u"untouched");
        EXPECT_EQ(windows.files.criticalErrorBoxes, 0);
        EXPECT_TRUE(windows.files.createdFolders.empty());
    }
}

// Without the per-user folder the name is relative to the current folder.
TEST(GetHostIniFileName, AFailedFolderQueryGivesARelativePath) {
    for (const bool folderThere : {true, false}) {
        SCOPED_TRACE(folderThere);
        FakeWindows windows;
        windows.files.AddFile(windows.executablePath, "MZ");
        windows.FailCall("SHGetFolderPathW", 0);
        if (folderThere) windows.files.AddFolder(windows.files.paths.currentDirectory + u"\\Pellam");

        std::u16string path;
        if (folderThere) {
            EXPECT_TRUE(Lookup(windows, false, path));
            EXPECT_EQ(path, u"Pellam\\Pellam.ini");
        } else {
            try {
                Lookup(windows, false, path);
                ADD_FAILURE() << "no failure";
            } catch (const IoError& e) {
                EXPECT_EQ(Utf8(e.Message()), "ディレクトリを作成できません");
                EXPECT_EQ(e.Code(), 3);
            }
        }
        EXPECT_TRUE(windows.files.createdFolders.empty());
    }
}

TEST(GetAppDataFolder, EndsWithABackslashOrIsEmpty) {
    FakeWindows windows;
    windows.SetLastError(kErrorAccessDenied);
    EXPECT_EQ(GetAppDataFolder(windows), kAppData);
    EXPECT_EQ(windows.GetLastError(), 0u);

    windows.appDataFolder = u"D:\\";
    windows.files.AddDrive(u'D');
    EXPECT_EQ(GetAppDataFolder(windows), u"D:\\");

    windows.appDataFolder = u"C:\\gone";  // the folder does not exist
    EXPECT_EQ(GetAppDataFolder(windows), u"");
}

}  // namespace
}  // namespace tollik
