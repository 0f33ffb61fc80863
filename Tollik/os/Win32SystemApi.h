#pragma once
// The real Windows behind the seam. Compiled only for Windows; every method
// forwards to the Win32 function of the same name, converting nothing but types.

#include "os/SystemApi.h"

namespace tollik::os {

class Win32SystemApi final : public SystemApi {
public:
    std::uint32_t GetACP() override;
    bool GetVersionExW(VersionInfo& info) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;
    char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) override;

    LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                         LParam lParam) override;
    int LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                    int bufferMax) override;
    int MessageBoxW(WindowHandle owner, const char16_t* text, const char16_t* caption,
                    std::uint32_t type) override;
};

}  // namespace tollik::os
