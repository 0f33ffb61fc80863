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

// Held while the runner starts a program: SetDllDirectoryW's setting is
// passed on to child processes, and an HSP program must find the DLLs in its
// folder as it does when HSP's own editor starts it. The standard order is
// put back for the start; afterwards the runner's own "" returns where
// nothing else keeps the current directory out of its search (`loadFlags`
// as RestrictDllSearch returned them; SetDefaultDllDirectories, where it
// exists, is the process's own and not passed on).
class ChildrenSearchAsUsual {
public:
    ChildrenSearchAsUsual(os::RunnerApi& api, std::uint32_t loadFlags);
    ~ChildrenSearchAsUsual();
    ChildrenSearchAsUsual(const ChildrenSearchAsUsual&) = delete;
    ChildrenSearchAsUsual& operator=(const ChildrenSearchAsUsual&) = delete;

private:
    os::RunnerApi& api_;
    bool restoreEmpty_;
};

}  // namespace tollik::runner
