#include "os/Win32SystemApi.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

namespace tollik::os {
namespace {

wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

}  // namespace

std::uint32_t Win32SystemApi::GetACP() { return ::GetACP(); }

bool Win32SystemApi::GetVersionExW(VersionInfo& info) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;  // 276 bytes: the plain record
    static_assert(sizeof(OSVERSIONINFOW) == 276);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!::GetVersionExW(&version)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    info.major = version.dwMajorVersion;
    info.minor = version.dwMinorVersion;
    info.build = version.dwBuildNumber;
    return true;
}

std::uint32_t Win32SystemApi::GetLastError() { return ::GetLastError(); }

void Win32SystemApi::SetLastError(std::uint32_t error) { ::SetLastError(error); }

char16_t* Win32SystemApi::lstrcpynW(char16_t* destination, const char16_t* source,
                                    int maxLength) {
    return reinterpret_cast<char16_t*>(::lstrcpynW(Wide(destination), Wide(source), maxLength));
}

LResult Win32SystemApi::SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                     LParam lParam) {
    return ::SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

int Win32SystemApi::LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                                int bufferMax) {
    return ::LoadStringW(static_cast<HINSTANCE>(module), id, Wide(buffer), bufferMax);
}

int Win32SystemApi::MessageBoxW(WindowHandle owner, const char16_t* text,
                                const char16_t* caption, std::uint32_t type) {
    return ::MessageBoxW(static_cast<HWND>(owner), Wide(text), Wide(caption), type);
}

}  // namespace tollik::os
