// The constants only the fake and the tests name, checked against
// <windows.h> at compile time, as the product's own are.

#include <windows.h>

#include <utility>

#include "WindowsTestConstants.h"

namespace tollik::os {

static_assert(std::cmp_equal(kFileShareWrite, FILE_SHARE_WRITE));
static_assert(std::cmp_equal(kFileShareDelete, FILE_SHARE_DELETE));
static_assert(std::cmp_equal(kCreateNew, CREATE_NEW));
static_assert(std::cmp_equal(kOpenAlways, OPEN_ALWAYS));
static_assert(std::cmp_equal(kTruncateExisting, TRUNCATE_EXISTING));
static_assert(std::cmp_equal(kFileFlagOpenReparsePoint, FILE_FLAG_OPEN_REPARSE_POINT));
static_assert(std::cmp_equal(kFileAttributeReadOnly, FILE_ATTRIBUTE_READONLY));
static_assert(std::cmp_equal(kFileAttributeHidden, FILE_ATTRIBUTE_HIDDEN));
static_assert(std::cmp_equal(kFileAttributeSystem, FILE_ATTRIBUTE_SYSTEM));
static_assert(std::cmp_equal(kFileAttributeArchive, FILE_ATTRIBUTE_ARCHIVE));
static_assert(std::cmp_equal(kFileTypeDisk, FILE_TYPE_DISK));
static_assert(std::cmp_equal(kDriveUnknown, DRIVE_UNKNOWN));
static_assert(std::cmp_equal(kDriveNoRootDir, DRIVE_NO_ROOT_DIR));
static_assert(std::cmp_equal(kDriveRemovable, DRIVE_REMOVABLE));
static_assert(std::cmp_equal(kDriveFixed, DRIVE_FIXED));
static_assert(std::cmp_equal(kEFail, E_FAIL));
static_assert(std::cmp_equal(kEInvalidArg, E_INVALIDARG));
static_assert(std::cmp_equal(kErrorSuccess, ERROR_SUCCESS));
static_assert(std::cmp_equal(kErrorAccessDenied, ERROR_ACCESS_DENIED));
static_assert(std::cmp_equal(kErrorInvalidHandle, ERROR_INVALID_HANDLE));
static_assert(std::cmp_equal(kErrorNotEnoughMemory, ERROR_NOT_ENOUGH_MEMORY));
static_assert(std::cmp_equal(kErrorWriteProtect, ERROR_WRITE_PROTECT));
static_assert(std::cmp_equal(kErrorNotReady, ERROR_NOT_READY));
static_assert(std::cmp_equal(kErrorBadNetName, ERROR_BAD_NET_NAME));
static_assert(std::cmp_equal(kErrorFileExists, ERROR_FILE_EXISTS));
static_assert(std::cmp_equal(kErrorInvalidParameter, ERROR_INVALID_PARAMETER));
static_assert(std::cmp_equal(kErrorDiskFull, ERROR_DISK_FULL));
static_assert(std::cmp_equal(kErrorInsufficientBuffer, ERROR_INSUFFICIENT_BUFFER));
static_assert(std::cmp_equal(kErrorModNotFound, ERROR_MOD_NOT_FOUND));
static_assert(std::cmp_equal(kErrorProcNotFound, ERROR_PROC_NOT_FOUND));
static_assert(std::cmp_equal(kErrorAlreadyExists, ERROR_ALREADY_EXISTS));
static_assert(std::cmp_equal(kErrorMrMidNotFound, ERROR_MR_MID_NOT_FOUND));
static_assert(std::cmp_equal(kErrorFilenameExcedRange, ERROR_FILENAME_EXCED_RANGE));
static_assert(std::cmp_equal(kErrorInvalidFlags, ERROR_INVALID_FLAGS));
static_assert(std::cmp_equal(kErrorNoUnicodeTranslation, ERROR_NO_UNICODE_TRANSLATION));
static_assert(std::cmp_equal(kErrorCantResolveFilename, ERROR_CANT_RESOLVE_FILENAME));
static_assert(std::cmp_equal(kErrorInvalidWindowHandle, ERROR_INVALID_WINDOW_HANDLE));
static_assert(std::cmp_equal(kErrorResourceNameNotFound, ERROR_RESOURCE_NAME_NOT_FOUND));

}  // namespace tollik::os
