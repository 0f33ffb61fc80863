#pragma once
// The calls only the runner makes, beside the plug-in's seam it builds on:
// loading the HSP compiler and calling its exports, the current directory,
// short names, starting the runtime, the user's language and the runner's
// one window. Like the plug-in's seam, each method keeps the meaning,
// results and error codes of the Windows function it is named after.

#include <cstdint>

#include "os/SystemApi.h"

namespace tollik::os {

using ProcessHandle = void*;  // HANDLE from CreateProcessW; null when none
using MutexHandle = void*;    // HANDLE from CreateMutexW; null when none

struct ProcessInformation {
    ProcessHandle process = nullptr;
    ProcessHandle thread = nullptr;
    std::uint32_t processId = 0;
};

// LoadLibraryExW: the DLL's own folder first for what it loads in turn (the
// classic search order otherwise), and the search flags of newer systems.
inline constexpr std::uint32_t kLoadWithAlteredSearchPath = 0x00000008;
inline constexpr std::uint32_t kLoadLibrarySearchDllLoadDir = 0x00000100;
inline constexpr std::uint32_t kLoadLibrarySearchApplicationDir = 0x00000200;
inline constexpr std::uint32_t kLoadLibrarySearchSystem32 = 0x00000800;
// CreateProcessW: a console program gets a console of its own.
inline constexpr std::uint32_t kCreateNewConsole = 0x00000010;
// ShowWindow: shown the normal way, whatever the runner itself was given.
inline constexpr std::uint16_t kSwShowNormal = 1;
// The primary language of a LANGID, and Japanese's.
inline constexpr std::uint16_t kPrimaryLanguageMask = 0x03FF;
inline constexpr std::uint16_t kLangJapanese = 0x11;
// LoadLibraryExW on a 64-bit DLL or on something that is no DLL at all.
inline constexpr std::uint32_t kErrorBadExeFormat = 193;
// WaitForSingleObject's answers.
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitAbandoned = 0x80;
inline constexpr std::uint32_t kWaitTimeout = 258;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFF;

class RunnerApi : public virtual SystemApi {
public:
    // The folders every later load searches (kLoadLibrarySearch* flags).
    // False with ERROR_PROC_NOT_FOUND where the system lacks the function.
    virtual bool SetDefaultDllDirectories(std::uint32_t directoryFlags) = 0;
    // "" takes the current directory out of the classic search order.
    virtual bool SetDllDirectoryW(const char16_t* pathName) = 0;
    // Null, with the last error, when the DLL cannot be loaded.
    virtual ModuleHandle LoadLibraryExW(const char16_t* fileName, std::uint32_t flags) = 0;
    virtual bool FreeLibrary(ModuleHandle module) = 0;
    // Calls an export of hspcmp.dll, every one `BOOL WINAPI f(int, int, int,
    // int)`, through the address GetProcAddress gave; pointers travel in the
    // ints, as the 32-bit compiler expects. Returns what the export returns.
    virtual std::int32_t CallCompiler(ProcAddress function, std::intptr_t p1, std::intptr_t p2,
                                      std::intptr_t p3, std::intptr_t p4) = 0;
    virtual bool SetCurrentDirectoryW(const char16_t* pathName) = 0;
    // The 8.3 form of an existing path; results as GetLongPathNameW's. Equal
    // to the long form where the volume keeps no short names.
    virtual std::uint32_t GetShortPathNameW(const char16_t* longPath, char16_t* shortPath,
                                            std::uint32_t bufferLength) = 0;
    // Starts `applicationName` with `commandLine` (which the system may
    // write to) in `currentDirectory`, its first window shown with
    // `showWindow`, inheriting no handles. The caller closes both handles.
    virtual bool CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                                std::uint32_t creationFlags, const char16_t* currentDirectory,
                                std::uint16_t showWindow, ProcessInformation& information) = 0;
    // kWaitObject0 when `object` (a process or a mutex) has ended or is now
    // owned, kWaitAbandoned for a mutex whose owner ended without releasing
    // it (owned now too), kWaitTimeout when neither happened within
    // `milliseconds`; another value, with the last error, on failure.
    virtual std::uint32_t WaitForSingleObject(void* object, std::uint32_t milliseconds) = 0;
    // The mutex `name`, made or, when another process made it, opened (the
    // last error then ERROR_ALREADY_EXISTS); not owned. Null, with the last
    // error, on failure. Closed with CloseHandle.
    virtual MutexHandle CreateMutexW(const char16_t* name) = 0;
    virtual bool ReleaseMutex(MutexHandle mutex) = 0;
    virtual bool GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) = 0;
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // 0 once `process` waits for input with nothing pending, kWaitTimeout
    // when not within `milliseconds`, kWaitFailed at once for a console
    // program, which has no input queue.
    virtual std::uint32_t WaitForInputIdle(ProcessHandle process, std::uint32_t milliseconds) = 0;
    virtual std::uint16_t GetUserDefaultUILanguage() = 0;
    // The runner's one window: `text` in a read-only, scrollable text box the
    // user can select and copy from, with an OK button, shown normally even
    // though the runner was started hidden. Returns when the user closes it
    // (Esc, Enter, OK or the close box); false when it could not be shown.
    virtual bool ShowTextWindow(const char16_t* title, const char16_t* text, bool isError) = 0;
};

}  // namespace tollik::os
