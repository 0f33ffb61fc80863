#pragma once
// Whether the host runs as a packaged app (with a package identity), which
// moves its per-user settings to another folder.

#include "os/SystemApi.h"

namespace tollik {

// Asked once, when the library loads. Windows 7 and older have no packages:
// nothing is asked there, and the package function, looked up only on newer
// systems, is never bound.
bool IsPackagedProcess(os::SystemApi& api, const os::VersionInfo& version);

}  // namespace tollik
