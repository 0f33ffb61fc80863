#pragma once
// One runner at a time in a script folder, from the compile to the
// runtime's start. The plug-in does not wait for its runner, so two quick
// presses start two: both would write obj, start.ax and packfile there, and
// a runtime could read a half-written object file.

#include <cstdint>
#include <string>
#include <string_view>

#include "os/Handles.h"
#include "os/RunnerApi.h"

namespace tollik::runner {

// How long a second runner waits for the first: its compile, and in mode 3
// iconins.exe's minute.
inline constexpr std::uint32_t kFolderWaitMilliseconds = 90000;
// How long the folder stays held for a runtime to read the object file.
inline constexpr std::uint32_t kRuntimeReadMilliseconds = 10000;
inline constexpr std::uint32_t kConsoleRuntimeReadMilliseconds = 1000;

// "Local\Tollik-<16 hex digits>": a mutex name may hold no backslash and
// at most MAX_PATH units, so the folder goes in as a hash of its upper-case
// form (Windows compares names so; mutex names are compared exactly).
std::u16string FolderLockName(os::SystemApi& api, std::u16string_view folder);

class FolderLock {
public:
    FolderLock(os::RunnerApi& api, std::u16string_view folder);
    ~FolderLock() { Release(); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Waits up to `milliseconds` for the folder. False only when another
    // runner still holds it then; a lock the system will not give (no
    // mutex, a failed wait) lets the run go on as it did before locks.
    bool Acquire(std::uint32_t milliseconds);
    void Release() noexcept;

private:
    os::RunnerApi& api_;
    os::unique_handle mutex_;
    bool owned_ = false;
};

}  // namespace tollik::runner
