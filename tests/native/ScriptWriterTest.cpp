#include <gtest/gtest.h>
#include <sys/mman.h>

#include <climits>
#include <string>
#include <vector>

#include "Failure.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "HSPCmp/ScriptWriter.h"

namespace tollik {
namespace {

using namespace os;
using fake::FakeWindows;
using testing::Utf8;

const std::u16string kScript = u"C:\\work\\hsptmp";
const std::u16string kWriteFailure = u"hsptmp\r\nファイルに書き込みできません。";

struct BytesCase {
    const char* name;
    std::uint32_t codePage;
    std::u16string text;
    std::string bytes;
};

void ExpectWritten(const BytesCase& c) {
    SCOPED_TRACE(c.name);
    FakeWindows windows;
    windows.files.AddFolder(u"C:\\work");
    SaveScriptFile(windows, c.codePage, kScript, c.text);
    EXPECT_EQ(windows.files.FileContent(kScript), c.bytes);
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

TEST(SaveScriptFile, WritesTheTextInTheAnsiCodePageThenCrLf) {
    const BytesCase cases[] = {
        {"ascii", 1252, u"abc", "abc\r\n"},
        {"empty text, no line break", 1252, u"", ""},
        {"already ending with CR LF", 1252, u"a\r\n", "a\r\n\r\n"},
        {"lone LF kept as it is", 1252, u"a\nb", "a\nb\r\n"},
        {"Japanese under 932", 932, u"日本語のテスト", "\x93\xFA\x96\x7B\x8C\xEA\x82\xCC\x83\x65\x83\x58\x83\x67\r\n"},
        {"emoji under 932: the default character per unit", 932, u"a\xD83D\xDE00", "a??\r\n"},
        {"Japanese under 1252", 1252, u"日本", "??\r\n"},
        {"Western under 1252", 1252, u"caf\u00E9 \u20AC", "caf\xE9 \x80\r\n"},
        {"UTF-8 system", 65001, u"日\u00E9", "\xE6\x97\xA5\xC3\xA9\r\n"},
        {"NUL units", 1252, std::u16string(u"a\0\0b", 4), std::string("a\0\0b\r\n", 6)},
        {"unpaired surrogates", 932, u"\xDC00x\xD800", "?x?\r\n"},
        {"unpaired surrogates in UTF-8", 65001, u"\xD800", "\xEF\xBF\xBD\r\n"},
    };
    for (const BytesCase& c : cases) ExpectWritten(c);
}

// The bytes a script lands on disk in: code page x asks or not x what the
// text holds.
TEST(SaveScriptFile, ScriptsForTheUtf8RuntimeKeepEveryCharacterOnEachCodePage) {
    const std::u16string asks = u"#include \"hsp3utf.as\"\r\nmes \"";
    const std::string asksBytes = "#include \"hsp3utf.as\"\r\nmes \"";
    const std::string mark = "\xEF\xBB\xBF";
    const BytesCase cases[] = {
        {"932, asks, ASCII", 932, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"932, asks, fits", 932, asks + u"あ\"", asksBytes + "\x82\xA0\"\r\n"},
        {"932, asks, an emoji", 932, asks + u"\U0001F600\"", mark + asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
        {"932, asks, a look-alike (yen sign)", 932, asks + u"\u00A5\"", mark + asksBytes + "\xC2\xA5\"\r\n"},
        {"932, asks, Korean", 932, asks + u"한\"", mark + asksBytes + "\xED\x95\x9C\"\r\n"},
        {"932, does not ask, an emoji", 932, u"mes \"\U0001F600\"", "mes \"??\"\r\n"},
        {"1252, asks, ASCII", 1252, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"1252, asks, an accent it holds", 1252, asks + u"é\"", mark + asksBytes + "\xC3\xA9\"\r\n"},
        {"1252, asks, Japanese", 1252, asks + u"あ\"", mark + asksBytes + "\xE3\x81\x82\"\r\n"},
        {"1252, does not ask", 1252, u"mes \"éあ\"", "mes \"\xE9?\"\r\n"},
        {"65001, asks, ASCII", 65001, asks + u"a\"", asksBytes + "a\"\r\n"},
        {"65001, asks, an emoji", 65001, asks + u"\U0001F600\"", asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
        {"65001, does not ask", 65001, u"mes \"é\"", "mes \"\xC3\xA9\"\r\n"},
        {"the mark's character starts the text", 932, u"\uFEFF" + asks + u"\U0001F600\"",
         mark + asksBytes + "\xF0\x9F\x98\x80\"\r\n"},
    };
    for (const BytesCase& c : cases) ExpectWritten(c);
}

TEST(SaveScriptFile, ConvertsInOnePieceWithTheLoadedCodePageAndNoReplacement) {
    FakeWindows windows;
    windows.ansiCodePage = 1252;  // what GetACP would say now; the writer uses what it is given
    windows.files.AddFolder(u"C:\\work");
    SaveScriptFile(windows, 932, kScript, u"日本");
    EXPECT_EQ(windows.files.FileContent(kScript), "\x93\xFA\x96\x7B\r\n");
    EXPECT_EQ(windows.trace,
              (std::vector<std::string>{
                  "GetFileAttributesW C:\\work",
                  "CreateFileW C:\\work\\hsptmp access=40000000 share=1 disposition=2 flags=80",
                  "WideCharToMultiByte cp=932 flags=0 size=0",
                  "WideCharToMultiByte cp=932 flags=0 size=4"}));
}

TEST(SaveScriptFile, WritesOneFullBufferAtATimeAndTheRestAtClose) {
    const struct {
        std::size_t textUnits;
        std::vector<std::uint32_t> writes;
    } cases[] = {
        {1, {3}},
        {126, {128}},          // text and line break fill one buffer exactly
        {127, {128, 1}},       // the LF spills over
        {128, {128, 2}},
        {300, {128, 128, 46}},
        {0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.textUnits);
        FakeWindows windows;
        windows.files.AddFolder(u"C:\\work");
        SaveScriptFile(windows, 1252, kScript, std::u16string(c.textUnits, u'x'));
        EXPECT_EQ(windows.writeSizes, c.writes);
        EXPECT_EQ(windows.files.FileContent(kScript)->size(), c.textUnits == 0 ? 0 : c.textUnits + 2);
    }
}

TEST(SaveScriptFile, ReplacesAnExistingFileFromTheStart) {
    FakeWindows windows;
    windows.files.AddFile(kScript, std::string(1000, 'o'));
    SaveScriptFile(windows, 1252, kScript, u"new");
    EXPECT_EQ(windows.files.FileContent(kScript), "new\r\n");
    SaveScriptFile(windows, 1252, kScript, u"");
    EXPECT_EQ(windows.files.FileContent(kScript), "");
}

TEST(SaveScriptFile, CreatesAMissingFolderChainFirst) {
    FakeWindows windows;
    SaveScriptFile(windows, 1252, u"C:\\work\\deep\\hsptmp", u"a");
    EXPECT_EQ(windows.files.createdFolders,
              (std::vector<std::u16string>{u"C:\\work", u"C:\\work\\deep"}));
    EXPECT_EQ(windows.files.FileContent(u"C:\\work\\deep\\hsptmp"), "a\r\n");
}

TEST(SaveScriptFile, ARelativeNameWithoutFolderLandsInTheCurrentDirectory) {
    FakeWindows windows;
    SaveScriptFile(windows, 1252, u"hsptmp", u"a");
    EXPECT_EQ(windows.files.FileContent(u"C:\\Users\\tollik\\hsptmp"), "a\r\n");
    EXPECT_EQ(windows.CallCount("GetFileAttributesW"), 0);  // no folder to test
}

TEST(SaveScriptFile, WritesA259UnitPathAndRefusesA260UnitOneUntouched) {
    for (const std::size_t length : {259u, 260u}) {
        SCOPED_TRACE(length);
        FakeWindows windows;
        const std::u16string folder = u"C:\\" + std::u16string(length - 3 - 7, u'f');
        const std::u16string path = folder + u"\\hsptmp";
        ASSERT_EQ(path.size(), length);
        windows.files.AddFile(path, "old");
        if (length == 259) {
            SaveScriptFile(windows, 1252, path, u"a");
            EXPECT_EQ(windows.files.FileContent(path), "a\r\n");
            continue;
        }
        try {
            SaveScriptFile(windows, 1252, path, u"a");
            ADD_FAILURE() << "no failure";
        } catch (const IoError& e) {
            EXPECT_EQ(e.Code(), 3);
            EXPECT_NE(e.Message().find(u"259"), std::u16string::npos) << Utf8(e.Message());
            EXPECT_EQ(e.Message().find(u"書き込みできません"), std::u16string::npos);
        }
        EXPECT_EQ(windows.files.FileContent(path), "old");
        EXPECT_EQ(windows.CallCount("CreateFileW"), 0);
    }
}

// One row per situation of the failure table.
struct FailureCase {
    const char* name;
    void (*arrange)(FakeWindows&);
    std::u16string path;
    bool general;
    std::u16string message;
    int code;
};

const FailureCase kFailures[] = {
    {"folder cannot be created",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\locked");
         w.files.RefuseNewEntries(u"C:\\locked");
     },
     u"C:\\locked\\new\\hsptmp", true, u"ディレクトリC:\\locked\\newを作成できません。", 0},
    {"relative folder runs out of parents", [](FakeWindows&) {}, u"Work\\sub\\hsptmp", false,
     u"ディレクトリを作成できません", 3},
    {"read-only script", [](FakeWindows& w) { w.files.AddFile(kScript, "x", kFileAttributeReadOnly); },
     kScript, false, kWriteFailure, 0},
    {"hidden script", [](FakeWindows& w) { w.files.AddFile(kScript, "x", kFileAttributeHidden); },
     kScript, false, kWriteFailure, 0},
    {"system script", [](FakeWindows& w) { w.files.AddFile(kScript, "x", kFileAttributeSystem); },
     kScript, false, kWriteFailure, 0},
    {"script open for writing elsewhere",
     [](FakeWindows& w) {
         w.files.AddFile(kScript, "x");
         w.files.OpenElsewhere(kScript, kGenericWrite, kFileShareRead);
     },
     kScript, false, kWriteFailure, 0},
    {"script open elsewhere without sharing writes",
     [](FakeWindows& w) {
         w.files.AddFile(kScript, "x");
         w.files.OpenElsewhere(kScript, kGenericRead, kFileShareRead);
     },
     kScript, false, kWriteFailure, 0},
    {"a folder where the script goes", [](FakeWindows& w) { w.files.AddFolder(kScript); }, kScript,
     false, kWriteFailure, 0},
    {"disk full",
     [](FakeWindows& w) {
         w.files.AddDrive(u'C', {kDriveFixed, true, false, 1000, 200});  // fails mid-way
         w.files.AddFolder(u"C:\\work");
     },
     kScript, false, kWriteFailure, 0},
    {"drive without media: the folder counts as present",
     [](FakeWindows& w) { w.files.AddDrive(u'E', {kDriveRemovable, false}); },
     u"E:\\work\\hsptmp", false, kWriteFailure, 0},
    {"no such drive: the root is never created", [](FakeWindows&) {}, u"Q:\\hsptmp", false,
     kWriteFailure, 0},
    {"not a file",
     [](FakeWindows& w) { w.files.AddDevice(kScript, kFileTypeUnknown); }, kScript, false,
     kWriteFailure, 0},
    {"write fails",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\work");
         w.FailCall("WriteFile", kErrorDiskFull, 2);
     },
     kScript, false, kWriteFailure, 0},
    {"last write at close fails",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\work");
         w.FailCall("WriteFile", kErrorWriteFault, 3);
     },
     kScript, false, kWriteFailure, 0},
    {"close refused: a deferred write failed",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\work");
         w.FailCall("CloseHandle", kErrorDiskFull);
     },
     kScript, false, kWriteFailure, 0},
    {"sizing conversion fails",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\work");
         w.FailCall("WideCharToMultiByte", kErrorInvalidParameter, 1);
     },
     kScript, false, kWriteFailure, 0},
    {"converting call fails",
     [](FakeWindows& w) {
         w.files.AddFolder(u"C:\\work");
         w.FailCall("WideCharToMultiByte", kErrorInsufficientBuffer, 2);
     },
     kScript, false, kWriteFailure, 0},
    {"the name part alone is named",
     [](FakeWindows& w) {
         w.files.AddFile(u"C:\\work\\other.hsp", "x", kFileAttributeReadOnly);
     },
     u"C:\\work\\other.hsp", false, u"other.hsp\r\nファイルに書き込みできません。", 0},
};

TEST(SaveScriptFile, FailsAsTheFailureTableSays) {
    const std::u16string text(300, u'x');  // three buffers' worth
    for (const FailureCase& c : kFailures) {
        SCOPED_TRACE(c.name);
        FakeWindows windows;
        windows.files.AddDrive(u'C');  // a fresh C: for each row
        windows.files.AddFolder(windows.files.paths.currentDirectory);
        c.arrange(windows);
        try {
            SaveScriptFile(windows, 1252, c.path, text);
            ADD_FAILURE() << "no failure";
        } catch (const IoError& e) {
            EXPECT_FALSE(c.general);
            EXPECT_EQ(Utf8(e.Message()), Utf8(c.message));
            EXPECT_EQ(e.Code(), c.code);
        } catch (const GeneralError& e) {
            EXPECT_TRUE(c.general);
            EXPECT_EQ(Utf8(e.Message()), Utf8(c.message));
        }
        EXPECT_EQ(windows.files.OpenFiles(), 0);  // closed on every path
    }
}

TEST(SaveScriptFile, ClosesTheFileWhenTheWritingBreaksMidWay) {
    for (const char* breaking : {"GetFileType", "WideCharToMultiByte", "WriteFile"}) {
        SCOPED_TRACE(breaking);
        FakeWindows windows;
        windows.files.AddFolder(u"C:\\work");
        windows.ThrowOnCall(breaking, 0, [] { throw std::bad_alloc(); });
        EXPECT_THROW(SaveScriptFile(windows, 1252, kScript, std::u16string(200, u'x')),
                     std::bad_alloc);  // not turned into a write failure
        EXPECT_EQ(windows.files.OpenFiles(), 0);
        EXPECT_EQ(windows.CallCount("CloseHandle"), 1);
    }
}

TEST(SaveScriptFile, AShortWriteReportedAsSuccessIsStillAFailure) {
    struct ShortWrites : FakeWindows {
        bool WriteFile(FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                       std::uint32_t* bytesWritten) override {
            const bool ok = FakeWindows::WriteFile(file, buffer, bytesToWrite / 2, bytesWritten);
            return ok;
        }
    } windows;
    windows.files.AddFolder(u"C:\\work");
    try {
        SaveScriptFile(windows, 1252, kScript, u"abc");
        ADD_FAILURE() << "no failure";
    } catch (const IoError& e) {
        EXPECT_EQ(e.Message(), kWriteFailure);
    }
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

TEST(SaveScriptFile, ATextTooLongToConvertInOneCallIsAWriteFailure) {
    // INT_MAX + 1 units of reserved, never-touched address space: the writer
    // must refuse by the length alone, not cut the text or read it.
    const std::size_t units = std::size_t{INT_MAX} + 1;
    void* const pages = mmap(nullptr, units * sizeof(char16_t), PROT_READ,
                             MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    ASSERT_NE(pages, MAP_FAILED);
    FakeWindows windows;
    windows.files.AddFolder(u"C:\\work");
    try {
        SaveScriptFile(windows, 1252, kScript,
                       std::u16string_view(static_cast<const char16_t*>(pages), units));
        ADD_FAILURE() << "no failure";
    } catch (const IoError& e) {
        EXPECT_EQ(e.Message(), kWriteFailure);
    }
    munmap(pages, units * sizeof(char16_t));
    EXPECT_EQ(windows.CallCount("WideCharToMultiByte"), 0);
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

}  // namespace
}  // namespace tollik
