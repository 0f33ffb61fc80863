#include "Common/Drives.h"

#include <string>

#include "Common/FileSystem.h"
#include "os/Handles.h"
#include "os/Kernel32Function.h"

namespace tollik {
namespace {

using namespace os;

template <class Present>
bool ExistsChecked(SystemApi& api, const DiskSpaceFunction& diskSpace, std::u16string_view path,
                   Present present) {
    if (path.empty()) return false;
    const std::u16string expanded = ExpandPath(api, path);
    // A path the system refuses names no drive to ask, and nothing is there.
    if (expanded.empty()) return false;
    if (expanded.front() != u'\\' && !IsDriveReady(api, diskSpace, expanded.front())) return false;
    return present(api, path);
}

}  // namespace

DiskSpaceFunction LookUpDiskSpaceFunction(SystemApi& api) {
    return {LookUpKernel32Function(api, "GetDiskFreeSpaceExW")};
}

std::int64_t DriveSize(SystemApi& api, const DiskSpaceFunction& diskSpace, std::uint8_t drive) {
    // Drive 0 passes no root: the current drive.
    const char16_t root[] = {static_cast<char16_t>(drive + 64), u':', u'\\', u'\0'};
    const char16_t* const rootPath = drive == 0 ? nullptr : root;

    if (diskSpace.extended != nullptr) {
        std::uint64_t available = 0;
        std::uint64_t total = 0;
        if (!api.GetDiskFreeSpaceExW(diskSpace.extended, rootPath, &available, &total, nullptr))
            return -1;
        return static_cast<std::int64_t>(total);
    }
    std::uint32_t sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!api.GetDiskFreeSpaceW(rootPath, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                               &totalClusters))
        return -1;
    const std::uint32_t bytesPerCluster = sectorsPerCluster * bytesPerSector;
    return static_cast<std::int64_t>(std::uint64_t{bytesPerCluster} * totalClusters);
}

bool IsDriveReady(SystemApi& api, const DiskSpaceFunction& diskSpace, char16_t letter) {
    if (letter == u'\\') return true;
    char16_t upper[] = {letter, u'\0'};
    api.CharUpperW(upper);
    const char16_t drive = upper[0];

    // No "insert a disk" box from the system while the drive is asked.
    const scoped_error_mode quiet(api, kSemFailCriticalErrors);
    if (DriveSize(api, diskSpace, static_cast<std::uint8_t>(drive - 64)) == -1) return false;

    const char16_t root[] = {drive, u':', u'\\', u'\0'};
    const std::uint32_t type = api.GetDriveTypeW(root);
    if (type != kDriveRemote && type != kDriveCdrom) return true;

    // An empty disc or share counts as not ready: every kind of entry counts.
    const char16_t pattern[] = {drive, u':', u'\\', u'*', u'.', u'*', u'\0'};
    FindData found;
    const unique_hfind search(api, api.FindFirstFileW(pattern, found));
    return static_cast<bool>(search);
}

bool FileExistsChecked(SystemApi& api, const DiskSpaceFunction& diskSpace,
                       std::u16string_view path) {
    return ExistsChecked(api, diskSpace, path, FileIsPresent);
}

bool DirectoryExistsChecked(SystemApi& api, const DiskSpaceFunction& diskSpace,
                            std::u16string_view path) {
    return ExistsChecked(api, diskSpace, path, DirectoryIsPresent);
}

}  // namespace tollik
