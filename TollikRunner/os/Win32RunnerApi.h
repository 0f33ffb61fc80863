#pragma once
// The runner's calls on the real Windows. Compiled only into the 32-bit
// runner: the compiler's exports take pointers in 32-bit ints.

#include "os/RunnerApi.h"
#include "os/Win32SystemApi.h"

namespace tollik::os {

class Win32RunnerApi final : public Win32SystemApi, public RunnerApi {
public:
    // Made when the runner starts, while the editor that started it is
    // still the window in front: the runner's window opens on its monitor.
    explicit Win32RunnerApi(ModuleHandle instance);

    bool SetDefaultDllDirectories(std::uint32_t directoryFlags) override;
    bool SetDllDirectoryW(const char16_t* pathName) override;
    ModuleHandle LoadLibraryExW(const char16_t* fileName, std::uint32_t flags) override;
    bool FreeLibrary(ModuleHandle module) override;
    std::int32_t CallCompiler(ProcAddress function, std::intptr_t p1, std::intptr_t p2,
                              std::intptr_t p3, std::intptr_t p4) override;
    bool SetCurrentDirectoryW(const char16_t* pathName) override;
    std::uint32_t GetShortPathNameW(const char16_t* longPath, char16_t* shortPath,
                                    std::uint32_t bufferLength) override;
    bool CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                        std::uint32_t creationFlags, const char16_t* currentDirectory,
                        std::uint16_t showWindow, ProcessInformation& information) override;
    std::uint32_t WaitForSingleObject(void* object, std::uint32_t milliseconds) override;
    MutexHandle CreateMutexW(const char16_t* name) override;
    bool ReleaseMutex(MutexHandle mutex) override;
    bool GetExitCodeProcess(ProcessHandle process, std::uint32_t* exitCode) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t WaitForInputIdle(ProcessHandle process, std::uint32_t milliseconds) override;
    std::uint16_t GetUserDefaultUILanguage() override;
    bool ShowTextWindow(const char16_t* title, const char16_t* text, bool isError) override;

private:
    ModuleHandle instance_;
    WindowHandle editor_;
};

}  // namespace tollik::os
