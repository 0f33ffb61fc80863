#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/Drives.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "LibraryState.h"

namespace tollik {
namespace {

using namespace os;
using fake::DriveDescription;
using fake::FakeWindows;
using testing::Utf8;

DiskSpaceFunction Loaded(FakeWindows& windows) {
    const DiskSpaceFunction diskSpace = LookUpDiskSpaceFunction(windows);
    windows.calls.clear();
    windows.trace.clear();
    return diskSpace;
}

TEST(DriveSize, AsksForTheDrivesRootOrTheCurrentDrive) {
    FakeWindows windows;
    windows.files.AddDrive(u'D', {kDriveFixed, true, false, 1000, 10});
    const DiskSpaceFunction diskSpace = Loaded(windows);
    EXPECT_EQ(DriveSize(windows, diskSpace, 4), 1000);
    EXPECT_EQ(DriveSize(windows, diskSpace, 0), std::int64_t{512} << 30);  // C:, the current drive
    EXPECT_EQ(DriveSize(windows, diskSpace, 17), -1);                      // Q: is no drive
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetDiskFreeSpaceExW D:\\",
                                                       "GetDiskFreeSpaceExW (null)",
                                                       "GetDiskFreeSpaceExW Q:\\"}));
}

TEST(DriveSize, TheClassicFunctionMultipliesClustersOut) {
    FakeWindows windows;
    windows.hasDiskFreeSpaceEx = false;
    windows.files.AddDrive(u'D', {kDriveFixed, true, false, std::uint64_t{3} << 40, 0});
    const DiskSpaceFunction diskSpace = Loaded(windows);
    // 4096-byte clusters: 3 TiB is 805306368 of them, beyond what 32 bits of
    // bytes could hold but within the 64-bit product.
    EXPECT_EQ(DriveSize(windows, diskSpace, 4), std::int64_t{3} << 40);
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetDiskFreeSpaceW D:\\"}));
}

struct ReadyCase {
    const char* name;
    DriveDescription description;
    bool entryInRoot;
    bool ready;
};

TEST(IsDriveReady, ChecksMediaAndEmptyDiscsAndShares) {
    const ReadyCase cases[] = {
        {"fixed", {kDriveFixed}, false, true},
        {"removable without media", {kDriveRemovable, false}, false, false},
        {"optical without disc", {kDriveCdrom, false}, false, false},
        {"optical, empty disc", {kDriveCdrom, true, true}, false, false},
        {"optical with files", {kDriveCdrom, true, true}, true, true},
        {"network, empty share", {kDriveRemote}, false, false},
        {"network with files", {kDriveRemote}, true, true},
        {"network unreachable", {kDriveRemote, false}, true, false},
    };
    for (const ReadyCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddDrive(u'X', c.description);
        if (c.entryInRoot && c.description.ready) windows.files.AddFile(u"X:\\setup.hsp");
        windows.files.errorMode = 0x8000;
        const DiskSpaceFunction diskSpace = Loaded(windows);
        EXPECT_EQ(IsDriveReady(windows, diskSpace, u'x'), c.ready);
        EXPECT_EQ(windows.files.errorMode, 0x8000u);  // restored
        EXPECT_EQ(windows.files.criticalErrorBoxes, 0);
        EXPECT_EQ(windows.files.OpenSearches(), 0);
    }
}

TEST(IsDriveReady, MakesItsCallsInOrderUnderTheQuietErrorMode) {
    FakeWindows windows;
    windows.files.AddDrive(u'C', {kDriveCdrom});
    windows.files.AddFile(u"C:\\a");
    const DiskSpaceFunction diskSpace = Loaded(windows);
    EXPECT_TRUE(IsDriveReady(windows, diskSpace, u'c'));
    EXPECT_EQ(windows.calls,
              (std::vector<std::string>{"CharUpperW", "SetErrorMode", "GetDiskFreeSpaceExW",
                                        "GetDriveTypeW", "FindFirstFileW", "FindClose",
                                        "SetErrorMode"}));
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetDiskFreeSpaceExW C:\\",
                                                       "GetDriveTypeW C:\\",
                                                       "FindFirstFileW C:\\*.*"}));

    // A backslash asks nothing.
    windows.calls.clear();
    EXPECT_TRUE(IsDriveReady(windows, diskSpace, u'\\'));
    EXPECT_TRUE(windows.calls.empty());
}

TEST(IsDriveReady, RestoresTheErrorModeWhenACallBreaks) {
    for (const char* breaking : {"GetDiskFreeSpaceExW", "GetDriveTypeW", "FindFirstFileW"}) {
        FakeWindows windows;
        windows.files.AddDrive(u'C', {kDriveRemote});
        windows.files.errorMode = 0x2;
        const DiskSpaceFunction diskSpace = Loaded(windows);
        windows.ThrowOnCall(breaking, 0, [] { throw std::bad_alloc(); });
        EXPECT_THROW(IsDriveReady(windows, diskSpace, u'C'), std::bad_alloc) << breaking;
        EXPECT_EQ(windows.files.errorMode, 0x2u) << breaking;
    }
}

TEST(ExistsChecked, GuardsEachTestWithTheDriveOfTheExpandedPath) {
    FakeWindows windows;
    auto& fs = windows.files;
    fs.AddFile(u"C:\\w\\a.hsp");
    fs.AddFolder(u"C:\\w\\dir");
    fs.AddDrive(u'E', {kDriveCdrom, false});
    fs.AddDrive(u'F', {kDriveCdrom, true, true});  // an empty disc
    fs.AddDrive(u'N', {kDriveRemote});             // an empty share
    fs.AddShare(u"\\\\srv\\share");
    fs.AddFile(u"\\\\srv\\share\\n.hsp");
    fs.AddFolder(u"\\\\srv\\share\\dir");
    fs.paths.currentDirectory = u"C:\\w";
    const struct {
        std::u16string path;
        bool file;
        bool folder;
    } cases[] = {
        {u"C:\\w\\a.hsp", true, false},
        {u"a.hsp", true, false},  // relative: the drive of the current directory
        {u"dir", false, true},
        {u"c:\\w\\dir", false, true},
        {u"E:\\x", false, false},  // no disc: absent, not "present because unreadable"
        {u"F:\\x", false, false},
        {u"N:\\x", false, false},
        {u"\\\\srv\\share\\n.hsp", true, false},
        {u"\\\\srv\\share\\dir", false, true},
        {u"\\\\gone\\share\\x", false, false},
        {u"", false, false},
    };
    const DiskSpaceFunction diskSpace = Loaded(windows);
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_EQ(FileExistsChecked(windows, diskSpace, c.path), c.file);
        EXPECT_EQ(DirectoryExistsChecked(windows, diskSpace, c.path), c.folder);
    }
    EXPECT_EQ(fs.criticalErrorBoxes, 0);
    EXPECT_EQ(fs.errorMode, 0u);
}

TEST(ExistsChecked, AsksNothingForAnEmptyPathAndSkipsTheDriveForNetworkPaths) {
    FakeWindows windows;
    const DiskSpaceFunction diskSpace = Loaded(windows);
    EXPECT_FALSE(FileExistsChecked(windows, diskSpace, u""));
    EXPECT_FALSE(DirectoryExistsChecked(windows, diskSpace, u""));
    EXPECT_TRUE(windows.calls.empty());

    EXPECT_FALSE(FileExistsChecked(windows, diskSpace, u"\\\\srv\\share\\x"));
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetFullPathNameW \\\\srv\\share\\x",
                                                       "GetFileAttributesW \\\\srv\\share\\x",
                                                       "FindFirstFileW \\\\srv\\share\\x"}));
}

TEST(ExistsChecked, TestsThePathAsGivenAfterTheDriveCheck) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\Users\\tollik\\a.hsp");
    const DiskSpaceFunction diskSpace = Loaded(windows);
    EXPECT_TRUE(FileExistsChecked(windows, diskSpace, u"a.hsp"));
    EXPECT_EQ(windows.trace, (std::vector<std::string>{"GetFullPathNameW a.hsp",
                                                       "GetDiskFreeSpaceExW C:\\",
                                                       "GetDriveTypeW C:\\",
                                                       "GetFileAttributesW a.hsp"}));
}

TEST(ExistsChecked, APathTheSystemRefusesIsAbsent) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\a.hsp");
    const DiskSpaceFunction diskSpace = Loaded(windows);
    windows.FailCall("GetFullPathNameW", kErrorInvalidName);
    EXPECT_FALSE(FileExistsChecked(windows, diskSpace, u"C:\\a.hsp"));
    EXPECT_FALSE(DirectoryExistsChecked(windows, diskSpace, u"C:\\"));
    EXPECT_EQ(windows.CallCount("GetFileAttributesW"), 0);
}

}  // namespace
}  // namespace tollik
