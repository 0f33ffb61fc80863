#pragma once
// Drive sizes and the drive-guarded existence tests. A test against a drive
// without media, an empty disc or an unreachable or empty network share
// answers false, without a system error box, instead of asking the drive.

#include <cstdint>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik {

// GetDiskFreeSpaceExW as looked up once at load; null where the system
// lacks it and GetDiskFreeSpaceW stands in.
struct DiskSpaceFunction {
    os::ProcAddress extended = nullptr;
};

DiskSpaceFunction LookUpDiskSpaceFunction(os::SystemApi& api);

// Total bytes of drive `drive` (0 the current drive, 1 A, 3 C), or -1.
std::int64_t DriveSize(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                       std::uint8_t drive);

// The drive named by `letter` is present and ready; a backslash (a network
// or device path) is ready without asking.
bool IsDriveReady(os::SystemApi& api, const DiskSpaceFunction& diskSpace, char16_t letter);

// The drive test, then FileIsPresent / DirectoryIsPresent for `path` itself.
bool FileExistsChecked(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                       std::u16string_view path);
bool DirectoryExistsChecked(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                            std::u16string_view path);

}  // namespace tollik
