#include "os/Win32RunnerApi.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <utility>

#include "os/Kernel32Function.h"
#include "os/TextWindow.h"

static_assert(sizeof(void*) == sizeof(int), "hspcmp.dll is 32-bit: its exports take pointers as ints");

namespace tollik::os {

// The runner's hand-typed constants against <windows.h>, as the plug-in's are.
static_assert(std::cmp_equal(kLoadWithAlteredSearchPath, LOAD_WITH_ALTERED_SEARCH_PATH));
static_assert(std::cmp_equal(kLoadLibrarySearchDllLoadDir, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR));
static_assert(std::cmp_equal(kLoadLibrarySearchApplicationDir, LOAD_LIBRARY_SEARCH_APPLICATION_DIR));
static_assert(std::cmp_equal(kLoadLibrarySearchSystem32, LOAD_LIBRARY_SEARCH_SYSTEM32));
static_assert(std::cmp_equal(kCreateNewConsole, CREATE_NEW_CONSOLE));
static_assert(std::cmp_equal(kSwShowNormal, SW_SHOWNORMAL));
static_assert(std::cmp_equal(kLangJapanese, LANG_JAPANESE));
static_assert(std::cmp_equal(kErrorBadExeFormat, ERROR_BAD_EXE_FORMAT));
static_assert(std::cmp_equal(kPrimaryLanguageMask, PRIMARYLANGID(0xFFFF)));
static_assert(std::cmp_equal(kWaitObject0, WAIT_OBJECT_0));
static_assert(std::cmp_equal(kWaitTimeout, WAIT_TIMEOUT));
static_assert(std::cmp_equal(kWaitAbandoned, WAIT_ABANDONED));
static_assert(std::cmp_equal(kWaitFailed, WAIT_FAILED));

namespace {

const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }

using CompilerExport = BOOL(WINAPI*)(int, int, int, int);
using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);

}  // namespace

Win32RunnerApi::Win32RunnerApi(ModuleHandle instance) : instance_(instance), editor_(::GetForegroundWindow()) {}

bool Win32RunnerApi::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    // Looked up, not imported: Windows 7 without KB2533623 lacks it, and an
    // import would keep the runner from starting there at all.
    const ProcAddress address = LookUpKernel32Function(*this, "SetDefaultDllDirectories");
    if (address == nullptr) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return false;
    }
    const auto function = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void (*)()>(address));
    return function(directoryFlags) != FALSE;
}

bool Win32RunnerApi::SetDllDirectoryW(const char16_t* pathName) {
    return ::SetDllDirectoryW(Wide(pathName)) != FALSE;
}

ModuleHandle Win32RunnerApi::LoadLibraryExW(const char16_t* fileName, std::uint32_t flags) {
    return ::LoadLibraryExW(Wide(fileName), nullptr, flags);
}

bool Win32RunnerApi::FreeLibrary(ModuleHandle module) {
    return ::FreeLibrary(static_cast<HMODULE>(module)) != FALSE;
}

std::int32_t Win32RunnerApi::CallCompiler(ProcAddress function, std::intptr_t p1, std::intptr_t p2,
                                          std::intptr_t p3, std::intptr_t p4) {
    const auto exported = reinterpret_cast<CompilerExport>(reinterpret_cast<void (*)()>(function));
    return exported(static_cast<int>(p1), static_cast<int>(p2), static_cast<int>(p3), static_cast<int>(p4));
}

bool Win32RunnerApi::SetCurrentDirectoryW(const char16_t* pathName) {
    return ::SetCurrentDirectoryW(Wide(pathName)) != FALSE;
}

std::uint32_t Win32RunnerApi::GetShortPathNameW(const char16_t* longPath, char16_t* shortPath,
                                                std::uint32_t bufferLength) {
    return ::GetShortPathNameW(Wide(longPath), Wide(shortPath), bufferLength);
}

bool Win32RunnerApi::CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                                    std::uint32_t creationFlags, const char16_t* currentDirectory,
                                    std::uint16_t showWindow, ProcessInformation& information) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showWindow;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(Wide(applicationName), Wide(commandLine), nullptr, nullptr, FALSE, creationFlags,
                          nullptr, Wide(currentDirectory), &startup, &process))
        return false;
    information.process = process.hProcess;
    information.thread = process.hThread;
    information.processId = process.dwProcessId;
    return true;
}

std::uint32_t Win32RunnerApi::WaitForSingleObject(void* object, std::uint32_t milliseconds) {
    return ::WaitForSingleObject(object, milliseconds);
}

MutexHandle Win32RunnerApi::CreateMutexW(const char16_t* name) {
    // Default security: only this user's processes open it again.
    return ::CreateMutexW(nullptr, FALSE, Wide(name));
}

bool Win32RunnerApi::ReleaseMutex(MutexHandle mutex) { return ::ReleaseMutex(mutex) != FALSE; }

bool Win32RunnerApi::GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) {
    DWORD code = 0;
    if (!::GetExitCodeProcess(process, &code)) return false;
    *exitCode = code;
    return true;
}

void Win32RunnerApi::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::uint32_t Win32RunnerApi::WaitForInputIdle(ProcessHandle process, std::uint32_t milliseconds) {
    return ::WaitForInputIdle(process, milliseconds);
}

std::uint16_t Win32RunnerApi::GetUserDefaultUILanguage() { return ::GetUserDefaultUILanguage(); }

bool Win32RunnerApi::ShowTextWindow(const char16_t* title, const char16_t* text, bool isError) {
    return ShowTextWindowOnScreen(static_cast<HINSTANCE>(instance_), static_cast<HWND>(editor_), Wide(title),
                                  Wide(text), isError);
}

}  // namespace tollik::os
