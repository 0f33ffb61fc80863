#pragma once
// Where the host editor keeps its settings file, found the way the host
// finds it: beside its executable in portable use, else in a per-user folder.

#include <string>

#include "Common/Drives.h"
#include "os/SystemApi.h"

namespace tollik {

// The per-user roaming application-data folder with a final backslash;
// empty when the system cannot tell.
std::u16string GetAppDataFolder(os::SystemApi& api);

// Sets `path` to the host settings file (which need not exist) and returns
// true; false, leaving `path` alone, when the host executable itself cannot
// be confirmed. The per-user folder is created when it is the one chosen.
// Throws IoError when the per-user folder is unknown and the relative
// folder that stands in for it is neither there nor can be made.
bool GetHostIniFileName(os::SystemApi& api, const DiskSpaceFunction& diskSpace, bool packaged,
                        std::u16string& path);

}  // namespace tollik
