// The seam's hand-typed Windows constants, checked against <windows.h> at
// compile time: the logic is built without that header, so nothing else
// would notice a wrong value. Built in both Windows builds (64- and 32-bit).

#include <windows.h>
#include <shlobj.h>

#include <utility>

#include "os/SystemApi.h"

namespace tollik::os {

static_assert(std::cmp_equal(kVkControl, VK_CONTROL));
static_assert(std::cmp_equal(kSwHide, SW_HIDE));
static_assert(std::cmp_equal(kMbOk, MB_OK));
static_assert(std::cmp_equal(kMbIconError, MB_ICONERROR));
static_assert(std::cmp_equal(kGenericRead, GENERIC_READ));
static_assert(std::cmp_equal(kGenericWrite, GENERIC_WRITE));
static_assert(std::cmp_equal(kFileShareRead, FILE_SHARE_READ));
static_assert(std::cmp_equal(kCreateAlways, CREATE_ALWAYS));
static_assert(std::cmp_equal(kOpenExisting, OPEN_EXISTING));
static_assert(std::cmp_equal(kFileFlagBackupSemantics, FILE_FLAG_BACKUP_SEMANTICS));
static_assert(std::cmp_equal(kFileAttributeDirectory, FILE_ATTRIBUTE_DIRECTORY));
static_assert(std::cmp_equal(kFileAttributeNormal, FILE_ATTRIBUTE_NORMAL));
static_assert(std::cmp_equal(kFileAttributeReparsePoint, FILE_ATTRIBUTE_REPARSE_POINT));
static_assert(std::cmp_equal(kInvalidFileAttributes, INVALID_FILE_ATTRIBUTES));
static_assert(std::cmp_equal(kFileTypeUnknown, FILE_TYPE_UNKNOWN));
static_assert(std::cmp_equal(kDriveFixed, DRIVE_FIXED));
static_assert(std::cmp_equal(kDriveRemote, DRIVE_REMOTE));
static_assert(std::cmp_equal(kDriveCdrom, DRIVE_CDROM));
static_assert(std::cmp_equal(kSemFailCriticalErrors, SEM_FAILCRITICALERRORS));
static_assert(std::cmp_equal(kCpAcp, CP_ACP));
static_assert(std::cmp_equal(kCpUtf8, CP_UTF8));
static_assert(std::cmp_equal(kMbErrInvalidChars, MB_ERR_INVALID_CHARS));
static_assert(std::cmp_equal(kWcNoBestFitChars, WC_NO_BEST_FIT_CHARS));
static_assert(std::cmp_equal(kFormatMessageAllocateBuffer, FORMAT_MESSAGE_ALLOCATE_BUFFER));
static_assert(std::cmp_equal(kFormatMessageIgnoreInserts, FORMAT_MESSAGE_IGNORE_INSERTS));
static_assert(std::cmp_equal(kFormatMessageFromSystem, FORMAT_MESSAGE_FROM_SYSTEM));
static_assert(std::cmp_equal(kFormatMessageArgumentArray, FORMAT_MESSAGE_ARGUMENT_ARRAY));
static_assert(std::cmp_equal(kMemCommit, MEM_COMMIT));
static_assert(std::cmp_equal(kMemReserve, MEM_RESERVE));
static_assert(std::cmp_equal(kMemRelease, MEM_RELEASE));
static_assert(std::cmp_equal(kPageReadWrite, PAGE_READWRITE));
static_assert(std::cmp_equal(kCsidlAppData, CSIDL_APPDATA));
static_assert(std::cmp_equal(kSOk, S_OK));
static_assert(std::cmp_equal(kErrorFileNotFound, ERROR_FILE_NOT_FOUND));
static_assert(std::cmp_equal(kErrorNoMoreFiles, ERROR_NO_MORE_FILES));
static_assert(std::cmp_equal(kErrorPathNotFound, ERROR_PATH_NOT_FOUND));
static_assert(std::cmp_equal(kErrorWriteFault, ERROR_WRITE_FAULT));
static_assert(std::cmp_equal(kErrorSharingViolation, ERROR_SHARING_VIOLATION));
static_assert(std::cmp_equal(kErrorBadNetpath, ERROR_BAD_NETPATH));
static_assert(std::cmp_equal(kErrorInvalidName, ERROR_INVALID_NAME));
static_assert(std::cmp_equal(kErrorArithmeticOverflow, ERROR_ARITHMETIC_OVERFLOW));
static_assert(std::cmp_equal(kAppModelErrorNoPackage, APPMODEL_ERROR_NO_PACKAGE));

// GetKeyState's "down" bit has no name in <windows.h>: kKeyStateDown is
// exercised instead by the Wine tests that run the command with Ctrl held.

}  // namespace tollik::os
