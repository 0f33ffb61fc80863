#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/FileSystem.h"
#include "Failure.h"
#include "FakeText.h"
#include "FakeWindows.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;

TEST(ExpandPath, ExpandsShortAndLongPathsWhole) {
    FakeWindows windows;
    windows.files.paths.currentDirectory = u"D:\\work";
    EXPECT_EQ(ExpandPath(windows, u"a/b\\..\\c"), u"D:\\work\\a\\c");
    EXPECT_EQ(windows.CallCount("GetFullPathNameW"), 1);

    // Past 260 units: asked again with the size the system names.
    const std::u16string deep = u"C:\\" + std::u16string(300, u'd') + u"\\x";
    EXPECT_EQ(ExpandPath(windows, deep), deep);
    EXPECT_EQ(windows.CallCount("GetFullPathNameW"), 3);

    // 259 units fit the first buffer with their NUL; 260 do not.
    for (const std::size_t length : {259u, 260u}) {
        const std::u16string path = u"C:\\" + std::u16string(length - 3, u'e');
        EXPECT_EQ(ExpandPath(windows, path), path) << length;
    }
}

TEST(ExpandPath, GivesEmptyWhenTheSystemRefusesOrChangesItsAnswer) {
    FakeWindows windows;
    windows.FailCall("GetFullPathNameW", kErrorInvalidName, 1);
    EXPECT_EQ(ExpandPath(windows, u"C:\\x"), u"");

    // The second call wants more room than the first named (the current
    // directory moved in between): nothing trustworthy was written.
    FakeWindows moving;
    const std::u16string deep = std::u16string(300, u'm');
    moving.OnCall("GetFullPathNameW", 2, [&] {
        moving.files.paths.currentDirectory = u"C:\\much\\longer\\than\\before";
    });
    EXPECT_EQ(ExpandPath(moving, deep), u"");
    EXPECT_EQ(moving.CallCount("GetFullPathNameW"), 2);

    FakeWindows refusedSecond;
    refusedSecond.FailCall("GetFullPathNameW", kErrorFilenameExcedRange, 2);
    EXPECT_EQ(ExpandPath(refusedSecond, deep), u"");
}

// The world for the presence tests.
void Populate(FakeWindows& windows) {
    auto& fs = windows.files;
    fs.AddFile(u"C:\\w\\file.hsp", "x");
    fs.AddFolder(u"C:\\w\\folder");
    fs.AddFile(u"C:\\w\\hidden", "x", kFileAttributeHidden | kFileAttributeSystem);
    fs.AddLink(u"C:\\w\\fileLink", u"C:\\w\\file.hsp", false);
    fs.AddLink(u"C:\\w\\folderLink", u"C:\\w\\folder", true);
    fs.AddLink(u"C:\\w\\danglingFile", u"C:\\w\\gone.hsp", false);
    fs.AddLink(u"C:\\w\\danglingFolder", u"C:\\w\\gone", true);
    fs.AddFile(u"C:\\w\\busy.hsp", "x");
    fs.FailAttributeQuery(u"C:\\w\\busy.hsp", kErrorSharingViolation);
    fs.AddFolder(u"C:\\w\\locked");
    fs.FailAttributeQuery(u"C:\\w\\locked", kErrorAccessDenied);
    fs.AddFile(u"C:\\w\\target.hsp", "x");
    fs.AddLink(u"C:\\w\\inUseLink", u"C:\\w\\target.hsp", false);
    fs.OpenElsewhere(u"C:\\w\\target.hsp", kGenericWrite, 0);
    fs.AddDrive(u'E', {kDriveCdrom, false});
    fs.AddShare(u"\\\\srv\\share");
    fs.AddFile(u"\\\\srv\\share\\net.hsp");
}

TEST(PresenceTests, AnswerForEveryKindOfEntry) {
    const struct {
        std::u16string path;
        bool file;
        bool folder;
    } cases[] = {
        {u"C:\\w\\file.hsp", true, false},
        {u"c:\\W\\FILE.HSP", true, false},
        {u"C:\\w\\folder", false, true},
        {u"C:\\w\\folder\\", false, true},
        {u"C:\\w\\hidden", true, false},
        {u"C:\\w\\fileLink", true, false},
        {u"C:\\w\\folderLink", false, true},
        {u"C:\\w\\danglingFile", false, false},
        {u"C:\\w\\danglingFolder", false, false},
        {u"C:\\w\\inUseLink", true, false},          // the target is open elsewhere
        {u"C:\\w\\busy.hsp", true, true},            // found by the search; folders count it present
        {u"C:\\w\\locked", false, true},             // access denied: a folder counts as present
        {u"C:\\w\\missing", false, false},
        {u"C:\\w\\missing\\x", false, false},
        {u"C:\\w\\a*b", false, false},
        {u"E:\\x", false, true},                      // not ready (21) counts as a folder
        {u"\\\\srv\\share\\net.hsp", true, false},
        {u"\\\\nowhere\\share\\x", false, false},      // 53 both ways
        {u"", false, false},
    };
    FakeWindows windows;
    Populate(windows);
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        EXPECT_EQ(FileIsPresent(windows, c.path), c.file);
        EXPECT_EQ(DirectoryIsPresent(windows, c.path), c.folder);
    }
    EXPECT_EQ(windows.files.OpenFiles(), 0);
    EXPECT_EQ(windows.files.OpenSearches(), 0);
}

TEST(PresenceTests, MakeExactlyTheCallsOfEachRule) {
    FakeWindows windows;
    Populate(windows);
    const struct {
        std::u16string path;
        bool file;  // which test
        std::vector<std::string> trace;
    } cases[] = {
        {u"C:\\w\\missing", true, {"GetFileAttributesW C:\\w\\missing"}},
        {u"C:\\w\\busy.hsp", true,
         {"GetFileAttributesW C:\\w\\busy.hsp", "FindFirstFileW C:\\w\\busy.hsp"}},
        {u"C:\\w\\fileLink", true,
         {"GetFileAttributesW C:\\w\\fileLink",
          "CreateFileW C:\\w\\fileLink access=80000000 share=1 disposition=3 flags=0"}},
        {u"C:\\w\\folderLink", true, {"GetFileAttributesW C:\\w\\folderLink"}},
        {u"C:\\w\\folderLink", false,
         {"GetFileAttributesW C:\\w\\folderLink",
          "CreateFileW C:\\w\\folderLink access=80000000 share=1 disposition=3 flags=2000000"}},
        {u"\\\\nowhere\\share\\x", false, {"GetFileAttributesW \\\\nowhere\\share\\x"}},
        {u"\\\\nowhere\\share\\x", true,
         {"GetFileAttributesW \\\\nowhere\\share\\x", "FindFirstFileW \\\\nowhere\\share\\x"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        windows.trace.clear();
        if (c.file) {
            FileIsPresent(windows, c.path);
        } else {
            DirectoryIsPresent(windows, c.path);
        }
        EXPECT_EQ(windows.trace, c.trace);
    }
}

TEST(CreateDirectoryTree, CreatesTheMissingChainOutermostFirst) {
    const struct {
        std::vector<std::u16string> present;
        std::u16string folder;
        std::vector<std::u16string> created;
    } cases[] = {
        {{}, u"C:\\a\\b\\c", {u"C:\\a", u"C:\\a\\b", u"C:\\a\\b\\c"}},
        {{u"C:\\a"}, u"C:\\a\\b\\c", {u"C:\\a\\b", u"C:\\a\\b\\c"}},
        {{}, u"C:\\a\\b\\", {u"C:\\a", u"C:\\a\\b"}},
        {{u"C:\\a\\b\\c"}, u"C:\\a\\b\\c", {}},
        {{}, u"C:\\", {}},
        {{}, u"C:", {}},
        {{}, u"\\\\srv\\share\\new\\deeper", {u"\\\\srv\\share\\new", u"\\\\srv\\share\\new\\deeper"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.folder));
        FakeWindows windows;
        windows.files.AddShare(u"\\\\srv\\share");
        for (const auto& folder : c.present) windows.files.AddFolder(folder);
        EXPECT_TRUE(CreateDirectoryTree(windows, c.folder));
        EXPECT_EQ(windows.files.createdFolders, c.created);
        EXPECT_EQ(windows.CallCount("CreateDirectoryW"), static_cast<int>(c.created.size()));
    }
}

TEST(CreateDirectoryTree, StopsAtTheFirstFolderThatCannotBeMade) {
    FakeWindows windows;
    windows.files.AddFolder(u"C:\\locked");
    windows.files.RefuseNewEntries(u"C:\\locked");
    EXPECT_FALSE(CreateDirectoryTree(windows, u"C:\\locked\\new\\deeper"));
    EXPECT_EQ(windows.CallCount("CreateDirectoryW"), 1);  // the deeper one is never tried
    EXPECT_FALSE(windows.files.Exists(u"C:\\locked\\new"));

    // Folders made before a failure stay; a folder that someone else made
    // in the meantime also counts as a failure.
    FakeWindows partial;
    partial.OnCall("CreateDirectoryW", 2, [&] { partial.files.AddFolder(u"C:\\x\\y"); });
    EXPECT_FALSE(CreateDirectoryTree(partial, u"C:\\x\\y\\z"));
    EXPECT_TRUE(partial.files.IsFolder(u"C:\\x"));
    EXPECT_EQ(partial.CallCount("CreateDirectoryW"), 2);
}

TEST(CreateDirectoryTree, RelativeFoldersRunOutOfParents) {
    const struct {
        std::u16string folder;
        bool throws;
        bool result;
        int creations;
    } cases[] = {
        {u"", true, false, 0},
        {u"Work", true, false, 0},
        {u"Work\\sub", true, false, 0},
        {u"ab", false, true, 0},           // under 3 units: taken as present
        {u"ab\\cd", false, false, 1},      // so only the level below is tried, and fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.folder));
        FakeWindows windows;
        windows.files.paths.currentDirectory = u"C:\\cwd";
        windows.files.AddFolder(u"C:\\cwd");
        if (c.throws) {
            try {
                CreateDirectoryTree(windows, c.folder);
                ADD_FAILURE() << "no failure";
            } catch (const IoError& e) {
                EXPECT_EQ(e.Message(), u"ディレクトリを作成できません");
                EXPECT_EQ(e.Code(), 3);
            }
        } else {
            EXPECT_EQ(CreateDirectoryTree(windows, c.folder), c.result);
        }
        EXPECT_EQ(windows.CallCount("CreateDirectoryW"), c.creations);
        EXPECT_TRUE(windows.files.createdFolders.empty());
    }
}

TEST(CreateDirectoryTree, HandlesAChainThousandsOfFoldersDeep) {
    FakeWindows windows;
    std::u16string folder = u"C:";
    for (int i = 0; i < 2000; ++i) folder += u"\\d";
    EXPECT_TRUE(CreateDirectoryTree(windows, folder));
    EXPECT_EQ(windows.files.createdFolders.size(), 2000u);
    EXPECT_TRUE(windows.files.IsFolder(folder));
}

TEST(HostExecutablePath, ReadsTheWholeNameAtAnyLength) {
    const struct {
        std::size_t length;
        int calls;
    } cases[] = {{30, 1}, {259, 1}, {260, 1}, {261, 2}, {700, 3}, {32767, 8}};
    for (const auto& c : cases) {
        FakeWindows windows;
        windows.executablePath = u"C:\\" + std::u16string(c.length - 14, u'p') + u"\\Pellam.exe";
        EXPECT_EQ(HostExecutablePath(windows), windows.executablePath) << c.length;
        EXPECT_EQ(windows.CallCount("GetModuleFileNameW"), c.calls) << c.length;
    }
    FakeWindows failing;
    failing.FailCall("GetModuleFileNameW", kErrorNotEnoughMemory);
    EXPECT_EQ(HostExecutablePath(failing), u"");
}

}  // namespace
}  // namespace tollik
