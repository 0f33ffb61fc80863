// The fake Windows is only worth its tests if it answers as Windows does.
// These cases were observed on Wine (and, where Wine departs from Windows'
// documented behaviour, follow Windows, as marked).

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "Checker.h"
#include "FakeText.h"
#include "FakeWindows.h"

namespace tollik::fake {
namespace {

using namespace os;

struct FullPathCase {
    std::u16string in;
    std::u16string out;  // empty: the system refuses the path
    int filePart;        // index of the last name in the result, -1 for none
};

TEST(FakeWindows, FullPathNamesFollowTheSystemRules) {
    const FullPathCase cases[] = {
        {u"a\\b", u"C:\\windows\\system32\\a\\b", 22},
        {u"a/b", u"C:\\windows\\system32\\a\\b", 22},
        {u"..\\x", u"C:\\windows\\x", 11},
        {u".", u"C:\\windows\\system32", 11},
        {u"C:\\a\\.", u"C:\\a", 3},
        {u"C:\\a\\..", u"C:\\", -1},
        {u"C:\\..\\..\\x", u"C:\\x", 3},
        {u"C:\\a\\b.", u"C:\\a\\b", 5},
        {u"C:\\a\\b. . ", u"C:\\a\\b", 5},
        {u"C:\\a.\\b", u"C:\\a\\b", 5},
        {u"C:\\a \\b", u"C:\\a \\b", 6},
        {u"C:\\a\\", u"C:\\a\\", -1},
        {u"C:\\a\\\\b", u"C:\\a\\b", 5},
        {u"C:x", u"C:\\windows\\system32\\x", 20},
        {u"D:x", u"D:\\x", 3},
        {u"c:\\X", u"c:\\X", 3},
        {u"\\x", u"C:\\x", 3},
        {u"\\\\srv\\share\\a\\..\\..\\b", u"\\\\srv\\share\\b", 12},
        {u"\\\\?\\C:\\a\\..\\b", u"\\\\?\\C:\\b", 7},
        {u"\\\\.\\C:\\a\\..\\b", u"\\\\.\\C:\\b", 7},
        {u"C:\\a\\NUL", u"\\\\.\\NUL", -1},
        {u"NUL", u"\\\\.\\NUL", -1},
        {u"C:", u"C:\\windows\\system32\\", -1},
        {u"C:\\", u"C:\\", -1},
        {u"//srv/share/x", u"\\\\srv\\share\\x", 12},
        {u"C:\\a\\...", u"C:\\a\\", -1},
        {u"C:\\a\\..\\", u"C:\\", -1},
        {u"C:\\a*b\\c?", u"C:\\a*b\\c?", 7},
        {u"", u"", -1},
    };
    FakeWindows windows;
    windows.files.paths.currentDirectory = u"C:\\windows\\system32";
    for (const FullPathCase& c : cases) {
        SCOPED_TRACE(Utf8(c.in));
        char16_t buffer[400] = {};
        char16_t* filePart = nullptr;
        const std::uint32_t n = windows.GetFullPathNameW(c.in.c_str(), 400, buffer, &filePart);
        EXPECT_EQ(std::u16string(buffer, n), c.out);
        EXPECT_EQ(filePart == nullptr ? -1 : static_cast<int>(filePart - buffer),
                  c.out.empty() ? -1 : c.filePart);
    }
}

TEST(FakeWindows, FullPathNameAsksForRoomWhenTheBufferIsShort) {
    FakeWindows windows;
    char16_t buffer[8] = {u'x'};
    EXPECT_EQ(windows.GetFullPathNameW(u"C:\\1234567", 8, buffer, nullptr), 11u);
    EXPECT_EQ(buffer[0], u'x');  // left alone
    EXPECT_EQ(windows.GetFullPathNameW(u"C:\\123", 8, buffer, nullptr), 6u);
    EXPECT_EQ(std::u16string(buffer), u"C:\\123");
}

TEST(FakeWindows, AttributeQueriesAndSearchesFailWithTheSystemsCodes) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\probe\\f.txt");
    const struct {
        std::u16string path;
        std::uint32_t attributes;  // kInvalidFileAttributes: fails with `error`
        std::uint32_t error;
        bool searchFinds;
        std::uint32_t searchError;
    } cases[] = {
        {u"C:\\probe\\f.txt", kFileAttributeArchive, 0, true, 0},
        {u"C:\\probe\\F.TXT", kFileAttributeArchive, 0, true, 0},
        {u"C:\\probe\\f.txt.", kFileAttributeArchive, 0, true, 0},
        {u"C:\\probe\\f.txt\\", kInvalidFileAttributes, kErrorPathNotFound, false, kErrorFileNotFound},
        {u"C:\\probe\\missing", kInvalidFileAttributes, kErrorFileNotFound, false, kErrorFileNotFound},
        {u"C:\\probe\\missing\\x", kInvalidFileAttributes, kErrorPathNotFound, false,
         kErrorPathNotFound},
        {u"C:\\probe\\a*b", kInvalidFileAttributes, kErrorInvalidName, false, kErrorFileNotFound},
        {u"C:\\probe\\a<b", kInvalidFileAttributes, kErrorInvalidName, false, kErrorFileNotFound},
        {u"C:\\probe", kFileAttributeDirectory, 0, true, 0},
        {u"C:\\probe\\", kFileAttributeDirectory, 0, false, kErrorFileNotFound},
        {u"C:\\", kFileAttributeDirectory, 0, false, kErrorFileNotFound},
        {u"C:\\probe\\*", kInvalidFileAttributes, kErrorInvalidName, true, 0},
        // Windows' documented codes, where Wine answers 2 and 66.
        {u"Q:\\x", kInvalidFileAttributes, kErrorPathNotFound, false, kErrorPathNotFound},
        {u"\\\\nosuchserver\\share\\x", kInvalidFileAttributes, kErrorBadNetpath, false,
         kErrorBadNetpath},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        windows.SetLastError(0);
        EXPECT_EQ(windows.GetFileAttributesW(c.path.c_str()), c.attributes);
        if (c.attributes == kInvalidFileAttributes) {
            EXPECT_EQ(windows.GetLastError(), c.error);
        }
        FindData found;
        const SearchHandle search = windows.FindFirstFileW(c.path.c_str(), found);
        EXPECT_EQ(search != InvalidHandleValue(), c.searchFinds);
        if (search != InvalidHandleValue()) {
            EXPECT_TRUE(windows.FindClose(search));
        } else {
            EXPECT_EQ(windows.GetLastError(), c.searchError);
        }
    }
    FindData found;
    const SearchHandle search = windows.FindFirstFileW(u"C:\\probe\\*.*", found);
    EXPECT_EQ(std::u16string(found.name), u".");  // a folder lists itself first
    EXPECT_TRUE(windows.FindClose(search));
    EXPECT_EQ(windows.files.OpenSearches(), 0);
}

TEST(FakeWindows, OpenFilesShareAsTheirModesAllow) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\probe\\f.txt", "old");
    const FileHandle writer = windows.CreateFileW(u"C:\\probe\\f.txt", kGenericWrite,
                                                  kFileShareRead, kCreateAlways, kFileAttributeNormal);
    ASSERT_NE(writer, InvalidHandleValue());
    EXPECT_EQ(windows.GetLastError(), kErrorAlreadyExists);  // success, but it was there
    EXPECT_EQ(windows.files.FileContent(u"C:\\probe\\f.txt"), "");
    EXPECT_EQ(windows.GetFileType(writer), kFileTypeDisk);

    const struct {
        std::uint32_t access, share, disposition;
        bool opens;
    } others[] = {
        {kGenericWrite, kFileShareRead, kCreateAlways, false},                 // second writer
        {kGenericRead, kFileShareRead, kOpenExisting, false},                  // reader not sharing writes
        {kGenericRead, kFileShareRead | kFileShareWrite, kOpenExisting, true}, // reader sharing writes
    };
    for (const auto& other : others) {
        const FileHandle h = windows.CreateFileW(u"C:\\probe\\f.txt", other.access, other.share,
                                                 other.disposition, 0);
        EXPECT_EQ(h != InvalidHandleValue(), other.opens);
        if (h != InvalidHandleValue()) {
            EXPECT_TRUE(windows.CloseHandle(h));
        } else {
            EXPECT_EQ(windows.GetLastError(), kErrorSharingViolation);
        }
    }
    EXPECT_TRUE(windows.CloseHandle(writer));
    EXPECT_FALSE(windows.CloseHandle(writer));
    EXPECT_EQ(windows.GetLastError(), kErrorInvalidHandle);
    EXPECT_EQ(windows.files.OpenFiles(), 0);
}

TEST(FakeWindows, CreationRefusesWhatWindowsRefuses) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\p\\ro", "x", kFileAttributeReadOnly);
    windows.files.AddFile(u"C:\\p\\hidden", "x", kFileAttributeHidden);
    windows.files.AddFile(u"C:\\p\\system", "x", kFileAttributeSystem);
    const struct {
        std::u16string path;
        std::uint32_t flags;
        std::uint32_t error;  // 0: opens
    } cases[] = {
        {u"C:\\p\\ro", kFileAttributeNormal, kErrorAccessDenied},
        {u"C:\\p\\hidden", kFileAttributeNormal, kErrorAccessDenied},
        {u"C:\\p\\hidden", kFileAttributeHidden, 0},
        {u"C:\\p\\system", kFileAttributeNormal, kErrorAccessDenied},
        {u"C:\\p", kFileAttributeNormal, kErrorAccessDenied},  // a folder
        {u"C:\\p\\nodir\\f", kFileAttributeNormal, kErrorPathNotFound},
        {u"Q:\\f", kFileAttributeNormal, kErrorPathNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Utf8(c.path));
        const FileHandle h =
            windows.CreateFileW(c.path.c_str(), kGenericWrite, kFileShareRead, kCreateAlways, c.flags);
        if (c.error == 0) {
            ASSERT_NE(h, InvalidHandleValue());
            windows.CloseHandle(h);
        } else {
            EXPECT_EQ(h, InvalidHandleValue());
            EXPECT_EQ(windows.GetLastError(), c.error);
        }
    }
    EXPECT_EQ(windows.files.FileContent(u"C:\\p\\ro"), "x");
    EXPECT_FALSE(windows.CreateDirectoryW(u"C:\\p"));
    EXPECT_EQ(windows.GetLastError(), kErrorAlreadyExists);
    EXPECT_FALSE(windows.CreateDirectoryW(u"C:\\p\\ro\\x"));
    EXPECT_EQ(windows.GetLastError(), kErrorPathNotFound);
}

TEST(FakeWindows, ConvertsToTheAnsiCodePages) {
    // Bytes as Wine's WideCharToMultiByte(cp, 0, ...) writes them.
    const std::u16string loneSurrogates = u"a\xD800z\xDC00";
    const std::u16string emoji = u"\xD83D\xDE00";
    const std::u16string japanese = u"日本語\u00A5\u2014\uFF5E\u00E9\u0100\u221E\uFF21";
    const std::u16string withNul(u"a\0b", 3);
    const struct {
        std::uint32_t codePage;
        std::u16string text;
        std::string bytes;
    } cases[] = {
        {1252, loneSurrogates, "a?z?"},
        {932, loneSurrogates, "a?z?"},
        {65001, loneSurrogates, "a\xEF\xBF\xBDz\xEF\xBF\xBD"},
        {1252, emoji, "??"},
        {932, emoji, "??"},
        {65001, emoji, "\xF0\x9F\x98\x80"},
        // Best fit included: U+0100 as "A", U+221E as "8", U+00E9 as "e" under 932.
        {1252, japanese, "???\xA5\x97~\xE9" "A8A"},
        {932, japanese, "\x93\xFA\x96\x7B\x8C\xEA\x5C?\x81\x60" "e?\x81\x87\x82\x60"},
        {65001, japanese,
         "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\xC2\xA5\xE2\x80\x94\xEF\xBD\x9E\xC3\xA9"
         "\xC4\x80\xE2\x88\x9E\xEF\xBC\xA1"},
        {1252, withNul, std::string("a\0b", 3)},
        {932, withNul, std::string("a\0b", 3)},
        {1252, u"\u20AC\u0081\u2122", "\x80\x81\x99"},
    };
    FakeWindows windows;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        SCOPED_TRACE(Utf8(c.text));
        const int length = static_cast<int>(c.text.size());
        const int size = windows.WideCharToMultiByte(c.codePage, 0, c.text.data(), length, nullptr,
                                                     0, nullptr, nullptr);
        std::string bytes(static_cast<std::size_t>(size), '\0');
        EXPECT_EQ(windows.WideCharToMultiByte(c.codePage, 0, c.text.data(), length, bytes.data(),
                                              size, nullptr, nullptr),
                  size);
        EXPECT_EQ(bytes, c.bytes);
    }
    char small[2];
    EXPECT_EQ(windows.WideCharToMultiByte(1252, 0, u"abc", 3, small, 2, nullptr, nullptr), 0);
    EXPECT_EQ(windows.GetLastError(), kErrorInsufficientBuffer);
    EXPECT_EQ(windows.WideCharToMultiByte(1252, 0, u"", 0, nullptr, 0, nullptr, nullptr), 0);
    EXPECT_EQ(windows.GetLastError(), kErrorInvalidParameter);
}

TEST(FakeWindows, DecodesUtf8StrictlyOrWithReplacements) {
    const struct {
        std::string bytes;
        std::u16string lenient;  // strict decoding gives the same, or fails when it differs
        bool wellFormed;
    } cases[] = {
        {"a\xC3\xA9\xE6\x97\xA5", u"a\u00E9\u65E5", true},
        {"\xF0\x9F\x98\x80", u"\xD83D\xDE00", true},
        {"\xEF\xBF\xBE", u"\uFFFE", true},  // a noncharacter is still well-formed
        {std::string("a\0b", 3), std::u16string(u"a\0b", 3), true},
        {"\xC0\xAF", u"\uFFFD\uFFFD", false},
        {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD", false},  // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},  // surrogate; Wine writes two
        {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD", false},  // above U+10FFFF; Wine writes three
        {"a\xE3\x81" "b", u"a\uFFFD" "b", false},                 // cut short: one for the maximal part
        {"\x80", u"\uFFFD", false},
        {"\xFF", u"\uFFFD", false},
    };
    FakeWindows windows;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::ShowBytes(c.bytes));
        const int length = static_cast<int>(c.bytes.size());
        char16_t out[16] = {};
        const int lenient = windows.MultiByteToWideChar(kCpUtf8, 0, c.bytes.data(), length, out, 16);
        EXPECT_EQ(std::u16string(out, static_cast<std::size_t>(lenient)), c.lenient);
        const int strict =
            windows.MultiByteToWideChar(kCpUtf8, kMbErrInvalidChars, c.bytes.data(), length, out, 16);
        EXPECT_EQ(strict, c.wellFormed ? lenient : 0);
        if (!c.wellFormed) {
            EXPECT_EQ(windows.GetLastError(), kErrorNoUnicodeTranslation);
        }
    }
    char16_t one[1];
    EXPECT_EQ(windows.MultiByteToWideChar(kCpUtf8, 0, "ab", 2, one, 1), 0);
    EXPECT_EQ(windows.GetLastError(), kErrorInsufficientBuffer);
    EXPECT_EQ(windows.MultiByteToWideChar(kCpUtf8, 0, "ab", 0, nullptr, 0), 0);
    EXPECT_EQ(windows.GetLastError(), kErrorInvalidParameter);
    EXPECT_EQ(windows.MultiByteToWideChar(kCpUtf8, 0x1, "ab", 2, nullptr, 0), 0);
    EXPECT_EQ(windows.GetLastError(), kErrorInvalidFlags);
}

TEST(FakeWindows, ReadsOnlyThroughAHandleOpenedForReading) {
    FakeWindows windows;
    windows.files.AddFile(u"C:\\f", "abc");
    void* const writer = windows.CreateFileW(u"C:\\f", kGenericWrite, kFileShareRead | kFileShareWrite,
                                             kOpenExisting, 0);
    char bytes[8] = {};
    std::uint32_t read = 99;
    EXPECT_FALSE(windows.ReadFile(writer, bytes, 8, &read));
    EXPECT_EQ(windows.GetLastError(), kErrorAccessDenied);
    EXPECT_EQ(read, 0u);

    void* const reader = windows.CreateFileW(u"C:\\f", kGenericRead, kFileShareRead | kFileShareWrite,
                                             kOpenExisting, 0);
    std::int64_t size = 0;
    EXPECT_TRUE(windows.GetFileSizeEx(reader, &size));
    EXPECT_EQ(size, 3);
    EXPECT_TRUE(windows.ReadFile(reader, bytes, 2, &read));
    EXPECT_EQ(std::string(bytes, read), "ab");
    EXPECT_TRUE(windows.ReadFile(reader, bytes, 8, &read));
    EXPECT_EQ(std::string(bytes, read), "c");
    EXPECT_TRUE(windows.ReadFile(reader, bytes, 8, &read));  // at the end: success, nothing read
    EXPECT_EQ(read, 0u);
    windows.CloseHandle(writer);
    windows.CloseHandle(reader);
}

TEST(FakeWindows, SystemMessagesAreAllocatedAndMustBeFreed) {
    FakeWindows windows;
    const std::uint32_t flags = kFormatMessageAllocateBuffer | kFormatMessageFromSystem |
                                kFormatMessageIgnoreInserts;
    char16_t* text = nullptr;
    ASSERT_EQ(windows.FormatMessageW(flags, kErrorAccessDenied, 0, &text), 19u);
    EXPECT_EQ(std::u16string(text), u"Access is denied.\r\n");
    EXPECT_EQ(windows.LocalAllocations(), 1);
    EXPECT_EQ(windows.LocalFree(text), nullptr);
    EXPECT_EQ(windows.LocalAllocations(), 0);

    EXPECT_EQ(windows.FormatMessageW(flags, 0x12345, 0, &text), 0u);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(windows.GetLastError(), kErrorMrMidNotFound);
    // An insert without arguments would read from nowhere.
    EXPECT_THROW(windows.FormatMessageW(flags & ~kFormatMessageIgnoreInserts, 129, 0, &text),
                 std::logic_error);
}

TEST(FakeWindows, RefusesFaultsOnCallsItDoesNotAnswer) {
    FakeWindows windows;
    EXPECT_THROW(windows.FailCall("CreatFileW", kErrorAccessDenied), std::invalid_argument);
    EXPECT_THROW(windows.ThrowOnCall("LoadLibraryExW", 0, [] {}), std::invalid_argument);
    EXPECT_THROW(windows.OnCall("createfilew", 1, [] {}), std::invalid_argument);
    EXPECT_NO_THROW(windows.FailCall("CreateFileW", kErrorAccessDenied));
}

}  // namespace
}  // namespace tollik::fake

namespace tollik {
namespace {

TEST(FakeWindows, LongPathNamesResolveShortAliasesAndAskForRoom) {
    fake::FakeWindows windows;
    windows.files.AddFolder(u"C:\\Program Files\\Long Name");
    windows.files.SetShortName(u"C:\\Program Files", u"PROGRA~1");
    windows.files.SetShortName(u"C:\\Program Files\\Long Name", u"LONGNA~1");
    const std::u16string expected = u"C:\\Program Files\\Long Name\\";

    EXPECT_EQ(windows.GetLongPathNameW(u"c:\\progra~1\\LONGNA~1\\", nullptr, 0), expected.size() + 1);
    char16_t buffer[64] = {};
    EXPECT_EQ(windows.GetLongPathNameW(u"c:\\progra~1\\LONGNA~1\\", buffer, 64), expected.size());
    EXPECT_EQ(std::u16string(buffer), expected);
    EXPECT_EQ(windows.GetLongPathNameW(u"C:\\PROGRA~1\\Long Name", buffer, 64), expected.size() - 1);

    EXPECT_EQ(windows.GetLongPathNameW(u"C:\\PROGRA~1\\missing", buffer, 64), 0u);
    EXPECT_EQ(windows.GetLastError(), os::kErrorFileNotFound);
    EXPECT_EQ(windows.GetLongPathNameW(u"C:\\missing\\x", buffer, 64), 0u);
    EXPECT_EQ(windows.GetLastError(), os::kErrorPathNotFound);

    // The temporary folder is only named: it may be gone.
    windows.tempPath = u"C:\\Gone\\";
    EXPECT_EQ(windows.GetTempPathW(0, nullptr), 9u);
    EXPECT_EQ(windows.GetTempPathW(9, buffer), 8u);
    EXPECT_EQ(std::u16string(buffer), u"C:\\Gone\\");
}

}  // namespace
}  // namespace tollik
