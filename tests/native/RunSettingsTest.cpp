#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Failure.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "settings/RunSettings.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;

const std::u16string kHostIni = u"C:\\Tools\\Pellam.ini";
const std::u16string kSettingsFile = u"C:\\Tools\\Plugins\\Tollik\\Tollik.ini";

RunSettings Load(FakeWindows& windows) {
    const DiskSpaceFunction diskSpace = LookUpDiskSpaceFunction(windows);
    return LoadRunSettings(windows, diskSpace, kHostIni);
}

TEST(LoadRunSettings, ReadsTheThreeKeysWithTheirDefaults) {
    const struct {
        const char* name;
        const char* file;  // null: no settings file
        std::u16string directory;
        std::int32_t mode;
        bool debug;
    } cases[] = {
        {"no settings file", nullptr, u"C:\\hsp34\\", 1, true},
        {"every key", "[Tollik]\r\nHSPDirName=D:\\hsp\\\r\nMode=7\r\nDebugWindow=0", u"D:\\hsp\\", 7, false},
        {"a folder without final backslash", "[Tollik]\r\nHSPDirName=D:\\tools\\hsp", u"D:\\tools\\hsp\\", 1, true},
        {"an empty folder name", "[Tollik]\r\nHSPDirName=", u"\\", 1, true},
        {"a blank after the equals sign", "[Tollik]\r\nHSPDirName= D:\\hsp", u" D:\\hsp\\", 1, true},
        {"blanks around the equals sign", "[Tollik]\r\nMode = 2\r\nDebugWindow = 0", u"C:\\hsp34\\", 1, true},
        {"a negative mode", "[Tollik]\r\nMode=-3", u"C:\\hsp34\\", -3, true},
        {"a hexadecimal flag", "[Tollik]\r\nDebugWindow=0x0", u"C:\\hsp34\\", 1, false},
        {"words are no flags", "[Tollik]\r\nDebugWindow=no", u"C:\\hsp34\\", 1, true},
        {"not UTF-8", "[Tollik]\r\nMode=2\r\nHSPDirName=C:\\\x83\x65", u"C:\\hsp34\\", 1, true},
        {"another section", "[Pellam]\r\nMode=2", u"C:\\hsp34\\", 1, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddFolder(u"C:\\Tools");
        if (c.file != nullptr) windows.files.AddFile(kSettingsFile, c.file);
        const RunSettings settings = Load(windows);
        EXPECT_EQ(Utf8(settings.HspDirectory), Utf8(c.directory));
        EXPECT_EQ(settings.RunMode, c.mode);
        EXPECT_EQ(settings.ShowDebugWindow, c.debug);
        EXPECT_EQ(windows.files.OpenFiles(), 0);
    }
}

TEST(LoadRunSettings, ProbesTheHspFoldersInOrderOnEveryRun) {
    const struct {
        std::vector<std::u16string> present;
        std::u16string chosen;
        int probes;
    } cases[] = {
        {{}, u"C:\\hsp34\\", 6},
        {{u"C:\\hsp37"}, u"C:\\hsp37\\", 1},
        {{u"C:\\hsp36", u"C:\\hsp35"}, u"C:\\hsp36\\", 2},
        {{u"C:\\hsp351"}, u"C:\\hsp351\\", 4},  // the "p" release before it is missing
        {{u"C:\\hsp34"}, u"C:\\hsp34\\", 6},
    };
    for (const auto& c : cases) {
        FakeWindows windows;
        for (const std::u16string& folder : c.present) windows.files.AddFolder(folder);
        // The file names a folder of its own; the probe runs all the same.
        windows.files.AddFile(kSettingsFile, "[Tollik]\r\nMode=2");
        EXPECT_EQ(Utf8(Load(windows).HspDirectory), Utf8(c.chosen));

        std::vector<std::string> probes;
        for (const std::string& line : windows.trace)
            if (line.starts_with("GetFileAttributesW C:\\hsp")) probes.push_back(line);
        EXPECT_EQ(static_cast<int>(probes.size()), c.probes) << Utf8(c.chosen);
        const auto open = std::find_if(windows.trace.begin(), windows.trace.end(),
                                       [](const std::string& l) { return l.starts_with("CreateFileW"); });
        const auto lastProbe = std::find(windows.trace.begin(), windows.trace.end(), probes.back());
        EXPECT_LT(lastProbe, open) << "the probe comes before the file is opened";
    }
}

// A drive without media answers as absent without a system error box.
TEST(LoadRunSettings, ADriveWithoutMediaIsPassedOverQuietly) {
    FakeWindows windows;
    windows.files.AddFolder(u"C:\\hsp37");
    windows.files.AddDrive(u'D', {kDriveRemovable, false});
    windows.files.AddFile(kSettingsFile, "[Tollik]\r\nHSPDirName=D:\\hsp");
    const RunSettings settings = Load(windows);
    EXPECT_EQ(settings.HspDirectory, u"D:\\hsp\\");  // read, never tested
    EXPECT_EQ(windows.files.criticalErrorBoxes, 0);
}

TEST(LoadRunSettings, ASettingsFileHeldForWritingEndsTheRun) {
    FakeWindows windows;
    windows.files.AddFile(kSettingsFile, "[Tollik]\r\nMode=2");
    windows.files.OpenElsewhere(kSettingsFile, kGenericWrite, kFileShareRead);
    try {
        Load(windows);
        ADD_FAILURE() << "no failure";
    } catch (const GeneralError& e) {
        EXPECT_EQ(Utf8(e.Message()),
                  "ファイル C:\\Tools\\Plugins\\Tollik\\Tollik.ini は開けません。 The process cannot "
                  "access the file because it is being used by another process ");
    }
    EXPECT_EQ(windows.files.OpenFiles(), 0);
    EXPECT_EQ(windows.LocalAllocations(), 0);
}

TEST(PluginSettingsPath, StandsBesideTheHostSettingsFile) {
    EXPECT_EQ(PluginSettingsPath(u"C:\\Users\\me\\AppData\\Roaming\\Pellam\\Pellam.ini"),
              u"C:\\Users\\me\\AppData\\Roaming\\Pellam\\Plugins\\Tollik\\Tollik.ini");
    EXPECT_EQ(PluginSettingsPath(u"Pellam\\Pellam.ini"), u"Pellam\\Plugins\\Tollik\\Tollik.ini");
}

}  // namespace
}  // namespace tollik
