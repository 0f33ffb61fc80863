#pragma once
// Windows constants that only the fake and the tests name; the product's own
// are in os/SystemApi.h. The Windows test build checks each against
// <windows.h>.

#include <cstdint>

#include "os/SystemApi.h"

namespace tollik::os {

// CreateFileW sharing, dispositions and flags the tests open files with.
inline constexpr std::uint32_t kFileShareWrite = 0x2;
inline constexpr std::uint32_t kFileShareDelete = 0x4;
inline constexpr std::uint32_t kCreateNew = 1;
inline constexpr std::uint32_t kOpenAlways = 4;
inline constexpr std::uint32_t kTruncateExisting = 5;
inline constexpr std::uint32_t kFileFlagOpenReparsePoint = 0x00200000;

// File attributes the tests set.
inline constexpr std::uint32_t kFileAttributeReadOnly = 0x1;
inline constexpr std::uint32_t kFileAttributeHidden = 0x2;
inline constexpr std::uint32_t kFileAttributeSystem = 0x4;
inline constexpr std::uint32_t kFileAttributeArchive = 0x20;

// GetFileType and GetDriveTypeW results the fake gives.
inline constexpr std::uint32_t kFileTypeDisk = 1;
inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveRemovable = 2;

// SHGetFolderPathW failures the tests inject.
inline constexpr std::int32_t kEFail = static_cast<std::int32_t>(0x80004005);
inline constexpr std::int32_t kEInvalidArg = static_cast<std::int32_t>(0x80070057);

// System error codes the fake sets and the tests inject.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorInvalidHandle = 6;
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;
inline constexpr std::uint32_t kErrorWriteProtect = 19;
inline constexpr std::uint32_t kErrorNotReady = 21;
inline constexpr std::uint32_t kErrorBadNetName = 67;
inline constexpr std::uint32_t kErrorFileExists = 80;
inline constexpr std::uint32_t kErrorInvalidParameter = 87;
inline constexpr std::uint32_t kErrorDiskFull = 112;
inline constexpr std::uint32_t kErrorInsufficientBuffer = 122;
inline constexpr std::uint32_t kErrorModNotFound = 126;
inline constexpr std::uint32_t kErrorProcNotFound = 127;
inline constexpr std::uint32_t kErrorAlreadyExists = 183;
inline constexpr std::uint32_t kErrorMrMidNotFound = 317;
inline constexpr std::uint32_t kErrorFilenameExcedRange = 206;
inline constexpr std::uint32_t kErrorInvalidFlags = 1004;
inline constexpr std::uint32_t kErrorNoUnicodeTranslation = 1113;
inline constexpr std::uint32_t kErrorCantResolveFilename = 1921;
inline constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;
inline constexpr std::uint32_t kErrorResourceNameNotFound = 1814;

}  // namespace tollik::os
