#pragma once
// The values computed once when the library is loaded and kept for its life.
// Nothing else outlives a single export call.

#include <cstdint>

#include "Common/Drives.h"
#include "os/SystemApi.h"

namespace tollik {

struct LibraryState {
    os::ModuleHandle self = nullptr;   // the plug-in's own module, for its resources
    std::uint32_t ansiCodePage = 0;    // the script file's encoding
    os::VersionInfo osVersion;         // 0.0 when the system cannot tell
    DiskSpaceFunction diskSpace;       // for the drive-guarded existence tests
    bool packaged = false;             // the host runs with a package identity
};

// Runs the load-time steps in their fixed order. Makes no other call.
LibraryState InitializeLibrary(os::SystemApi& api, os::ModuleHandle self);

}  // namespace tollik
