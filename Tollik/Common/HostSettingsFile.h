#pragma once
// Where the host editor keeps its settings file, found the way the host
// finds it: beside its executable in portable use, else in a per-user folder.

#include <optional>
#include <string>
#include <string_view>

#include "Common/Drives.h"
#include "os/SystemApi.h"

namespace tollik {

// The per-user roaming application-data folder with a final backslash;
// empty when the system cannot tell.
std::u16string GetAppDataFolder(os::SystemApi& api);

// Why the host settings file is where it is.
enum class HostSettingsPlace {
    BesideExecutable,  // the file is there, beside the executable
    PortableMarker,    // "PellamPortable.ini" beside the executable says it belongs there
    PerUserFolder,     // in "Pellam" (or "PellamUWP" when packaged) under the per-user folder
    RelativeFolder,    // the per-user folder is unknown: "Pellam" in the current directory
};

struct HostSettingsLocation {
    std::u16string path;  // the file, which need not exist
    HostSettingsPlace place;
};

// Finds the host settings file of the host at `executable`, creating
// nothing; nothing when the executable cannot be confirmed.
std::optional<HostSettingsLocation> LocateHostSettings(os::SystemApi& api,
                                                       const DiskSpaceFunction& diskSpace,
                                                       bool packaged, std::u16string_view executable);

// Sets `path` to the host settings file (which need not exist) and returns
// true; false, leaving `path` alone, when the host executable itself cannot
// be confirmed. The per-user folder is created when it is the one chosen.
// Throws IoError when the per-user folder is unknown and the relative
// folder that stands in for it is neither there nor can be made.
bool GetHostIniFileName(os::SystemApi& api, const DiskSpaceFunction& diskSpace, bool packaged,
                        std::u16string& path);

}  // namespace tollik
