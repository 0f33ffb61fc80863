#pragma once
// Where the runner's process loads DLLs from. It runs with the script's
// folder as its current directory, and users fill such folders with
// downloads: a DLL planted there must never be loaded.

#include <cstdint>

#include "os/RunnerApi.h"

namespace tollik::runner {

// Called before the runner loads anything: DLLs come from the system folder
// and the runner's own only, never from the current directory. Returns the
// LoadLibraryExW flags to load the compiler with by its full path: its own
// folder first for what it loads in turn, then the system folder.
std::uint32_t RestrictDllSearch(os::RunnerApi& api);

// Called before the runner starts a program: SetDllDirectoryW's setting is
// passed on to child processes, and an HSP program must find the DLLs in its
// folder as it does when HSP's own editor starts it. The runner keeps its
// own protection (SetDefaultDllDirectories is not passed on); where that is
// missing (`loadFlags` as RestrictDllSearch returned them), the setting stays.
void LetChildrenSearchAsUsual(os::RunnerApi& api, std::uint32_t loadFlags);

}  // namespace tollik::runner
