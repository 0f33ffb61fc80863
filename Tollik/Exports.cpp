// The library's entry points: DllMain and the eight functions the host calls.
// Each export is a thin shim over platform-free logic, and none lets a C++
// exception through: the host is someone else's process.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "HSPCmp/RunCommand.h"
#include "LibraryState.h"
#include "PluginApi/CommandBoundary.h"
#include "PluginApi/PluginInfo.h"
#include "PluginApi/PluginQuery.h"
#include "os/Win32SystemApi.h"

namespace {

// Set once in DLL_PROCESS_ATTACH, read-only afterwards.
tollik::LibraryState g_library;

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        tollik::os::Win32SystemApi api;
        try {
            g_library = tollik::InitializeLibrary(api, instance);
        } catch (...) {
            return FALSE;  // refuse to load rather than run half-initialised
        }
    }
    return TRUE;
}

void OnCommand(HWND host) {
    tollik::os::Win32SystemApi api;
    tollik::RunAtBoundary(api, host, [&] { tollik::ExecuteRunCommand(api, g_library, host); });
}

BOOL QueryStatus(HWND, BOOL* checked) {
    *checked = FALSE;
    return static_cast<BOOL>(~0u);  // enabled, with every bit set as hosts expect
}

UINT GetMenuTextID() { return tollik::IDS_MENU_TEXT; }

UINT GetStatusMessageID() { return tollik::IDS_STATUS_MESSAGE; }

UINT GetIconID() { return tollik::IDI_TOOLBAR_LIGHT; }

UINT GetIconDarkID() { return tollik::IDI_TOOLBAR_DARK; }

// The host passes event arguments that are never read; the caller cleans up
// the stack under the x64 convention, so no parameters are declared.
void OnEvents() {}

LRESULT PluginProc(HWND, UINT code, WPARAM count, LPARAM buffer) {
    tollik::os::Win32SystemApi api;
    return tollik::AnswerPluginQuery(api, g_library.self, code, count,
                                     reinterpret_cast<char16_t*>(buffer));
}

}  // extern "C"
