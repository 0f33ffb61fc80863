#include <gtest/gtest.h>

#include <new>
#include <string>
#include <vector>

#include "AllocationLimit.h"
#include "Failure.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "settings/IniStore.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;

const std::u16string kPath = u"C:\\work\\Tollik.ini";
const std::string kSettings = "[Tollik]\r\nMode=2\r\n";

std::u16string OpenFailure(FakeWindows& windows, const std::u16string& path) {
    try {
        const IniStore store(windows, path, kUtf8Encoding);
    } catch (const GeneralError& e) {
        return e.Message();
    }
    return u"(opened)";
}

TEST(IniStore, OpensOnlyAnExistingFileAndAsksNothingOfTheDrive) {
    const struct {
        const char* name;
        std::u16string path;
    } cases[] = {{"empty path", u""}, {"no file", u"C:\\work\\none.ini"}, {"a folder", u"C:\\work"},
                 {"under a file", kPath + u"\\x.ini"}, {"no such drive", u"Q:\\Tollik.ini"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddFile(kPath, kSettings);
        const IniStore store(windows, c.path, kUtf8Encoding);
        EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 9), 9);
        EXPECT_EQ(windows.CallCount("CreateFileW"), 0);
        EXPECT_EQ(windows.CallCount("GetDriveTypeW") + windows.CallCount("GetDiskFreeSpaceExW"), 0);
    }
}

TEST(IniStore, ReadsTheWholeFileInOneReadSharingOnlyReadingThenClosesIt) {
    FakeWindows windows;
    windows.files.AddFile(kPath, "\xEF\xBB\xBF" + kSettings);
    const IniStore store(windows, kPath, kUtf8Encoding);

    EXPECT_EQ(windows.files.OpenFiles(), 0);
    std::vector<std::string> io;
    for (const std::string& line : windows.trace)
        if (!line.starts_with("GetFileAttributesW") && !line.starts_with("FindFirstFileW")) io.push_back(line);
    EXPECT_EQ(io, (std::vector<std::string>{
                      "CreateFileW C:\\work\\Tollik.ini access=80000000 share=1 disposition=3 flags=80",
                      "ReadFile 21",
                      "MultiByteToWideChar cp=65001 flags=8 size=0",
                      "MultiByteToWideChar cp=65001 flags=8 size=18",
                  }));
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 2);
}

TEST(IniStore, IsASnapshotOfTheFileAsItWas) {
    FakeWindows windows;
    windows.files.AddFile(kPath, kSettings);
    const IniStore store(windows, kPath, kUtf8Encoding);
    windows.files.AddFile(kPath, "[Tollik]\r\nMode=3\r\n");
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 2);
    EXPECT_EQ(windows.files.FileContent(kPath), "[Tollik]\r\nMode=3\r\n");
}

TEST(IniStore, AFileThatCannotBeOpenedFailsWithThePathAndTheSystemsReason) {
    const std::u16string head = u"ファイル C:\\work\\Tollik.ini は開けません。 ";
    const struct {
        const char* name;
        std::uint32_t error;
        std::u16string systemText;  // empty: the system has none
        std::u16string reason;
    } cases[] = {
        {"sharing violation", kErrorSharingViolation,
         u"The process cannot access the file because it is being used by another process.\r\n",
         u"The process cannot access the file because it is being used by another process"},
        {"access denied", kErrorAccessDenied, u"Access is denied.\r\n", u"Access is denied"},
        {"Japanese text keeps its full stop", kErrorAccessDenied, u"アクセスが拒否されました。\r\n",
         u"アクセスが拒否されました。"},
        {"stops, blanks and controls trimmed in any order", kErrorAccessDenied,
         std::u16string(u"Denied. .\t.\r\n\0", 14), u"Denied"},
        {"nothing but stops", kErrorAccessDenied, u"...", u""},
        {"an insert left as it is", 129, u"The %1 application.\r\n", u"The %1 application"},
        {"no text for the code", 4321, u"", u""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddFile(kPath, kSettings);
        windows.files.RefuseOpen(kPath, c.error);
        if (c.systemText.empty()) windows.systemMessages.erase(c.error);
        else windows.systemMessages[c.error] = c.systemText;

        EXPECT_EQ(Utf8(OpenFailure(windows, kPath)), Utf8(head + c.reason + u" "));
        EXPECT_EQ(windows.LocalAllocations(), 0);
        EXPECT_EQ(windows.files.OpenFiles(), 0);
    }
}

TEST(IniStore, TheMessageNamesTheFullPathAndSurvivesAFailingMessageTable) {
    FakeWindows windows;
    windows.files.paths.currentDirectory = u"C:\\work";
    windows.files.AddFile(kPath, kSettings);
    windows.files.OpenElsewhere(kPath, kGenericWrite, kFileShareRead);
    windows.FailCall("FormatMessageW", kErrorNotEnoughMemory);
    EXPECT_EQ(OpenFailure(windows, u".\\sub\\..\\Tollik.ini"),
              u"ファイル C:\\work\\Tollik.ini は開けません。  ");
}

TEST(IniStore, AFileOpenOnlyForReadingElsewhereOpensNormally) {
    FakeWindows windows;
    windows.files.AddFile(kPath, kSettings);
    windows.files.OpenElsewhere(kPath, kGenericRead, kFileShareRead | kFileShareWrite);
    const IniStore store(windows, kPath, kUtf8Encoding);
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 2);
}

// Whatever goes wrong after the open, the file is closed before the store
// is built or the failure leaves.
TEST(IniStore, TheFileIsClosedOnEveryPath) {
    for (const char* call : {"GetFileSizeEx", "ReadFile", "MultiByteToWideChar"}) {
        SCOPED_TRACE(call);
        FakeWindows windows;
        windows.files.AddFile(kPath, kSettings);
        windows.ThrowOnCall(call, 1, [] { throw std::bad_alloc(); });
        EXPECT_THROW(IniStore(windows, kPath, kUtf8Encoding), std::bad_alloc);
        EXPECT_EQ(windows.files.OpenFiles(), 0);
    }
}

TEST(IniStore, AFailedSizeQueryOrReadGivesAnEmptyStore) {
    for (const char* call : {"GetFileSizeEx", "ReadFile"}) {
        SCOPED_TRACE(call);
        FakeWindows windows;
        windows.files.AddFile(kPath, kSettings);
        windows.FailCall(call, kErrorNotReady);
        const IniStore store(windows, kPath, kUtf8Encoding);
        EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 1);
        EXPECT_TRUE(store.Sections().empty());
        EXPECT_EQ(windows.files.OpenFiles(), 0);
    }
}

// The file shrinks between the size query and the read: what was not
// delivered counts as zero bytes.
TEST(IniStore, AShortReadEndsTheTextWhereTheBytesEnd) {
    const struct {
        const char* name;
        std::string delivered;
        int mode;
        int sections;
    } cases[] = {
        {"at a line break", "[Tollik]\r\nMode=2\r\n", 2, 1},
        {"inside a line", "[Tollik]\r\nMode=2", 2, 1},
        {"inside a character", "[Tollik]\r\nMode=2\r\nX=\xE3\x81", 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddFile(kPath, "[Tollik]\r\nMode=2\r\nX=\xE3\x81\x82\r\nDebugWindow=0\r\n");
        windows.OnCall("ReadFile", 1, [&] { windows.files.AddFile(kPath, c.delivered); });
        const IniStore store(windows, kPath, kUtf8Encoding);
        EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), c.mode);
        EXPECT_TRUE(store.ReadFlag(u"Tollik", u"DebugWindow", true));
        EXPECT_EQ(store.Sections().size(), static_cast<std::size_t>(c.sections));
    }
}

TEST(IniStore, AFileOfTwoGibibytesIsNotReadAtAll) {
    FakeWindows windows;
    windows.files.AddFile(kPath, kSettings);
    windows.files.SetSparseSize(kPath, std::uint64_t{1} << 31);
    const testing::AllocationLimit limit(1 << 20);
    const IniStore store(windows, kPath, kUtf8Encoding);
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 1);
    EXPECT_EQ(windows.CallCount("ReadFile"), 0);
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

TEST(IniStore, ALargeFileIsReadWhole) {
    // Past any buffer size a reader might be tempted to use.
    std::string bytes = "[Tollik]\r\n";
    for (int i = 0; i < 20000; ++i) bytes += "Key" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
    bytes += "Mode=7\r\n";
    FakeWindows windows;
    windows.files.AddFile(kPath, bytes);
    const IniStore store(windows, kPath, kUtf8Encoding);
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 7);
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"key19999", 1), 19999);
    EXPECT_EQ(windows.CallCount("ReadFile"), 1);
}

// The system's upper case decides, as the host's own reader would have it.
TEST(IniStore, NamesCompareThroughTheSystemsUpperCase) {
    FakeWindows windows;
    windows.files.AddFile(kPath, "[\xC3\xA4\xC3\xB6]\r\nk=2\r\n");
    const IniStore store(windows, kPath, kUtf8Encoding);
    EXPECT_EQ(store.ReadNumber(u"ÄÖ", u"K", 0), 2);
    EXPECT_GT(windows.CallCount("CharUpperBuffW"), 0);
}

}  // namespace
}  // namespace tollik
