#include "FolderLock.h"

#include <climits>

namespace tollik::runner {

std::u16string FolderLockName(os::SystemApi& api, std::u16string_view folder) {
    std::u16string upper(folder);
    if (!upper.empty() && upper.size() <= UINT_MAX)
        api.CharUpperBuffW(upper.data(), static_cast<std::uint32_t>(upper.size()));
    // FNV-1a over the UTF-16 units.
    std::uint64_t hash = 0xCBF29CE484222325ull;
    for (const char16_t unit : upper) {
        hash = (hash ^ (unit & 0xFFu)) * 0x100000001B3ull;
        hash = (hash ^ (unit >> 8)) * 0x100000001B3ull;
    }
    std::u16string name = u"Local\\Tollik-";
    for (int shift = 60; shift >= 0; shift -= 4) name += u"0123456789ABCDEF"[(hash >> shift) & 0xF];
    return name;
}

FolderLock::FolderLock(os::RunnerApi& api, std::u16string_view folder)
    : api_(api), mutex_(api, api.CreateMutexW(FolderLockName(api, folder).c_str())) {}

bool FolderLock::Acquire(std::uint32_t milliseconds) {
    if (!mutex_ || owned_) return true;
    const std::uint32_t waited = api_.WaitForSingleObject(mutex_.get(), milliseconds);
    if (waited == os::kWaitTimeout) return false;
    // Abandoned: the runner before ended mid-way; this one rewrites its files.
    owned_ = waited == os::kWaitObject0 || waited == os::kWaitAbandoned;
    return true;
}

void FolderLock::Release() noexcept {
    if (!owned_) return;
    owned_ = false;
    try {
        // Closing the handle would not do: a mutex is its thread's until
        // released or the thread ends.
        api_.ReleaseMutex(mutex_.get());
    } catch (...) {
        // Nothing left to try: the system abandons it when the runner ends.
    }
    mutex_.reset();
}

}  // namespace tollik::runner
