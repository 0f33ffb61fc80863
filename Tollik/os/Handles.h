#pragma once
// Owners for what the logic opens through the seam, named after the value
// that means "nothing open": a file from CreateFileW and a search from
// FindFirstFileW both fail with INVALID_HANDLE_VALUE, a process from
// CreateProcessW leaves a null handle. Each closes through the same seam
// that opened it, on every path.

#include <cstdint>
#include <utility>

#include "os/SystemApi.h"

namespace tollik::os {

template <class Api, bool (Api::*Close)(void*), std::uintptr_t Invalid>
class [[nodiscard]] unique_system_handle {
public:
    unique_system_handle(Api& api, void* handle) noexcept : api_(&api), handle_(handle) {}
    unique_system_handle(unique_system_handle&& other) noexcept
        : api_(other.api_), handle_(std::exchange(other.handle_, None())) {}
    unique_system_handle& operator=(unique_system_handle&&) = delete;
    unique_system_handle(const unique_system_handle&) = delete;
    unique_system_handle& operator=(const unique_system_handle&) = delete;
    ~unique_system_handle() { reset(); }

    explicit operator bool() const noexcept { return handle_ != None(); }
    void* get() const noexcept { return handle_; }

    // Closes now, dropping the close's result: for handles only read from,
    // a failed close has nothing left to undo.
    void reset() noexcept { (void)close(); }

    // Closes now and tells whether the system accepted the close (false also
    // when nothing was held). The handle is gone either way; a file written
    // through it may learn only here that its data did not reach the disk.
    [[nodiscard]] bool close() noexcept {
        if (handle_ == None()) return false;
        void* const handle = std::exchange(handle_, None());
        try {
            return (api_->*Close)(handle);
        } catch (...) {
            return false;
        }
    }

private:
    static void* None() noexcept { return reinterpret_cast<void*>(Invalid); }

    Api* api_;
    void* handle_;
};

inline constexpr std::uintptr_t kInvalidHandleBits = ~std::uintptr_t{0};
using unique_hfile = unique_system_handle<SystemApi, &SystemApi::CloseHandle, kInvalidHandleBits>;
using unique_hfind = unique_system_handle<SystemApi, &SystemApi::FindClose, kInvalidHandleBits>;
// A process or thread handle: null means none.
using unique_handle = unique_system_handle<SystemApi, &SystemApi::CloseHandle, 0>;

// Memory the system allocated for the caller (FormatMessageW's buffer),
// released with LocalFree; null means nothing to release.
class [[nodiscard]] unique_hlocal {
public:
    unique_hlocal(SystemApi& api, void* memory) noexcept : api_(api), memory_(memory) {}
    unique_hlocal(const unique_hlocal&) = delete;
    unique_hlocal& operator=(const unique_hlocal&) = delete;
    ~unique_hlocal() {
        if (memory_ == nullptr) return;
        try {
            api_.LocalFree(memory_);
        } catch (...) {
        }
    }

private:
    SystemApi& api_;
    void* memory_;
};

// Pages from VirtualAlloc, released whole with VirtualFree; null means none.
class [[nodiscard]] unique_virtual_memory {
public:
    unique_virtual_memory() noexcept = default;
    unique_virtual_memory(SystemApi& api, void* pages) noexcept : api_(&api), pages_(pages) {}
    unique_virtual_memory(unique_virtual_memory&& other) noexcept
        : api_(other.api_), pages_(std::exchange(other.pages_, nullptr)) {}
    unique_virtual_memory& operator=(unique_virtual_memory&&) = delete;
    unique_virtual_memory(const unique_virtual_memory&) = delete;
    unique_virtual_memory& operator=(const unique_virtual_memory&) = delete;
    ~unique_virtual_memory() {
        if (pages_ == nullptr) return;
        try {
            api_->VirtualFree(pages_, 0, kMemRelease);
        } catch (...) {
        }
    }

    void* get() const noexcept { return pages_; }

private:
    SystemApi* api_ = nullptr;
    void* pages_ = nullptr;
};

// Sets the process error mode for one scope and restores the previous mode
// when it ends, however it ends.
class [[nodiscard]] scoped_error_mode {
public:
    scoped_error_mode(SystemApi& api, std::uint32_t mode)
        : api_(api), previous_(api.SetErrorMode(mode)) {}
    scoped_error_mode(const scoped_error_mode&) = delete;
    scoped_error_mode& operator=(const scoped_error_mode&) = delete;
    ~scoped_error_mode() {
        try {
            api_.SetErrorMode(previous_);
        } catch (...) {
        }
    }

private:
    SystemApi& api_;
    std::uint32_t previous_;
};

}  // namespace tollik::os
