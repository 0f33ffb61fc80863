// Tollik.exe, the runner the plug-in starts: a 32-bit Windows program (the
// HSP compiler is a 32-bit DLL) without a console of its own.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "Runner.h"
#include "os/Win32RunnerApi.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        tollik::os::Win32RunnerApi api(instance);
        const auto* line = reinterpret_cast<const char16_t*>(::GetCommandLineW());
        return static_cast<int>(tollik::runner::RunRunner(api, line));
    } catch (...) {
        return static_cast<int>(tollik::runner::ExitCode::Unexpected);
    }
}
