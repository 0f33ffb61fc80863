#pragma once
// The one door between the plug-in's logic and Windows. Every system call the
// logic makes is a method here, named after the Windows function it stands for
// and keeping that function's meaning, results and error codes, so that the
// logic reads like Win32 code while tests can swap in an in-memory Windows.
//
// Types are platform-free: text is UTF-16 (char16_t), handles are opaque
// pointers, and wParam/lParam keep their pointer-sized widths.

#include <cstdint>

namespace tollik::os {

using WindowHandle = void*;  // HWND
using ModuleHandle = void*;  // HINSTANCE / HMODULE
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// What GetVersionExW reports, reduced to the fields the plug-in reads.
struct VersionInfo {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// MessageBoxW styles used by the plug-in.
inline constexpr std::uint32_t kMbOk = 0x00000000;
inline constexpr std::uint32_t kMbIconError = 0x00000010;

// System error codes the logic or its tests name.
inline constexpr std::uint32_t kErrorSuccess = 0;
inline constexpr std::uint32_t kErrorAccessDenied = 5;
inline constexpr std::uint32_t kErrorNotEnoughMemory = 8;
inline constexpr std::uint32_t kErrorInvalidWindowHandle = 1400;
inline constexpr std::uint32_t kErrorResourceNameNotFound = 1814;

class SystemApi {
public:
    virtual ~SystemApi() = default;

    // kernel32
    virtual std::uint32_t GetACP() = 0;
    // Fills `info` and returns true; false (with the last error set) when the
    // system cannot tell, in which case `info` is left untouched.
    virtual bool GetVersionExW(VersionInfo& info) = 0;
    virtual std::uint32_t GetLastError() = 0;
    virtual void SetLastError(std::uint32_t error) = 0;
    // Copies at most maxLength - 1 units of `source` and a terminating NUL;
    // a maxLength of 0 writes nothing.
    virtual char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) = 0;

    // user32
    virtual LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                 LParam lParam) = 0;
    // Copies string resource `id` of `module` into `buffer` (at most
    // bufferMax - 1 units and a NUL) and returns the units copied; 0 when
    // the resource is missing.
    virtual int LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                            int bufferMax) = 0;
    virtual int MessageBoxW(WindowHandle owner, const char16_t* text, const char16_t* caption,
                            std::uint32_t type) = 0;
};

}  // namespace tollik::os
