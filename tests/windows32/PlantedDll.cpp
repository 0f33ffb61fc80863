// A DLL to plant where the runner must never load from: whoever loads it
// gets a marker file "<its own path>.loaded" beside it. Copied under the
// names of the compiler, its imports and DLLs the system loads optionally;
// and beside a script whose program calls tollik_seven (HSP's #uselib).

#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID /*reserved*/) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 16] = {};
    const DWORD length = ::GetModuleFileNameW(self, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    ::lstrcatW(path, L".loaded");
    const HANDLE marker =
        ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) ::CloseHandle(marker);
    return TRUE;
}

extern "C" __declspec(dllexport) int WINAPI tollik_seven() { return 7; }
