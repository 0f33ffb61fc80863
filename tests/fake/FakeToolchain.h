#pragma once
// The fake Windows with the runner's calls and an HSP compiler in it: a
// compiler DLL that loads from the fake file system (or refuses, as a
// 64-bit one does), exports that answer as hspcmp.dll's do, processes that
// are recorded instead of started, and the runner's window recorded
// instead of shown.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "FakeWindows.h"
#include "os/RunnerApi.h"

namespace tollik::fake {

// One call of a compiler export: its name, the texts it was given, the
// numbers, and the current directory at the time.
struct CompilerCall {
    std::string name;
    std::string text;  // the string argument, for the exports that take one
    std::array<std::intptr_t, 3> options{};  // hsc_comp's three options
    std::u16string currentDirectory;
};

struct StartedProcess {
    std::u16string application;
    std::u16string commandLine;
    std::u16string currentDirectory;
    std::uint32_t creationFlags = 0;
    std::uint16_t showWindow = 0;
    std::optional<std::u16string> dllDirectory;  // SetDllDirectoryW's setting, which the child inherits
    bool awaitedWhileLocked = false;             // waited for (idle, or a moment) with a mutex held
};

struct ShownWindow {
    std::u16string title;
    std::u16string text;
    bool isError = false;
    bool whileLocked = false;  // shown while the runner held a mutex
};

class FakeToolchain : public FakeWindows, public os::RunnerApi {
public:
    FakeToolchain();

    // The world. Full paths of DLL files that refuse to load, with the error.
    std::map<std::u16string, std::uint32_t> loadErrors;
    std::set<std::string> missingExports;  // undecorated names
    std::int32_t compileResult = 0;
    std::string compileReport = "#HSP script preprocessor ver3.7\r\n#No error detected. (total 128 bytes)\r\n";
    std::string runtimeAsked;  // what hsc3_getruntime answers; "" for the default
    std::int32_t makeResult = 0;
    std::string makeReport = "Make custom execute file [hsptmp.exe].\r\n";
    std::uint16_t uiLanguage = 0x0411;
    // GetShortPathNameW's answers by long path; an existing path not listed
    // answers itself, as on a volume without short names.
    std::map<std::u16string, std::u16string> shortPaths;
    bool windowFails = false;
    // Started programs' exit codes by application path (0 when not listed);
    // kStillRunning: it does not end while the runner waits.
    static constexpr std::uint32_t kStillRunning = 259;
    std::map<std::u16string, std::uint32_t> exitCodes;
    std::set<std::u16string> consolePrograms;  // no input queue to wait on
    // Mutexes another runner holds, by name, with what waiting for one
    // answers: kWaitObject0 (it let go in time), kWaitAbandoned (it ended
    // holding it) or kWaitTimeout.
    std::map<std::u16string, std::uint32_t> heldElsewhere;

    // What the runner did.
    std::vector<CompilerCall> compilerCalls;
    std::vector<StartedProcess> processes;
    std::vector<ShownWindow> windows;
    int LoadedModules() const { return loaded_; }
    int OpenProcessHandles() const { return static_cast<int>(processHandles_.size() + mutexes_.size()); }
    bool HoldsMutex() const { return ownedMutex_ != nullptr; }
    std::vector<std::string> CompilerCallNames() const;

    os::ProcAddress GetProcAddress(os::ModuleHandle module, const char* procName) override;
    bool CloseHandle(os::FileHandle object) override;

    // The DLL search as the runner left it: the default folders' flags (0:
    // never set) and the DLL directory (none: never set).
    std::uint32_t defaultDllDirectories = 0;
    std::optional<std::u16string> dllDirectory;

    bool SetDefaultDllDirectories(std::uint32_t directoryFlags) override;
    bool SetDllDirectoryW(const char16_t* pathName) override;
    os::ModuleHandle LoadLibraryExW(const char16_t* fileName, std::uint32_t flags) override;
    bool FreeLibrary(os::ModuleHandle module) override;
    std::int32_t CallCompiler(os::ProcAddress function, std::intptr_t p1, std::intptr_t p2, std::intptr_t p3,
                              std::intptr_t p4) override;
    bool SetCurrentDirectoryW(const char16_t* pathName) override;
    std::uint32_t GetShortPathNameW(const char16_t* longPath, char16_t* shortPath,
                                    std::uint32_t bufferLength) override;
    bool CreateProcessW(const char16_t* applicationName, char16_t* commandLine, std::uint32_t creationFlags,
                        const char16_t* currentDirectory, std::uint16_t showWindow,
                        os::ProcessInformation& information) override;
    std::uint32_t WaitForSingleObject(void* object, std::uint32_t milliseconds) override;
    os::MutexHandle CreateMutexW(const char16_t* name) override;
    bool ReleaseMutex(os::MutexHandle mutex) override;
    bool GetExitCodeProcess(os::ProcessHandle process, std::uint32_t* exitCode) override;
    void Sleep(std::uint32_t milliseconds) override;
    std::uint32_t WaitForInputIdle(os::ProcessHandle process, std::uint32_t milliseconds) override;
    std::uint32_t slept = 0;  // milliseconds, all told
    std::uint16_t GetUserDefaultUILanguage() override;
    bool ShowTextWindow(const char16_t* title, const char16_t* text, bool isError) override;

protected:
    // The runner's calls and the compiler's exports, besides the plug-in's.
    bool KnowsCall(std::string_view name) const override;

private:
    static constexpr const char* kExports[] = {"hsc_ini",     "hsc_refname",  "hsc_objname",
                                               "hsc_compath", "hsc_comp",     "hsc3_messize",
                                               "hsc_getmes",  "hsc3_getruntime", "hsc3_make"};
    std::array<char, std::size(kExports)> exportAddresses_{};
    char module_ = 0;
    int loaded_ = 0;
    std::string lastReport_;
    std::string objectName_;
    std::set<void*> processHandles_;
    std::map<void*, std::u16string> processApplications_;
    // A started process's exit code; nothing, with the error, for a handle that is none.
    std::optional<std::uint32_t> ExitCodeOf(os::ProcessHandle process);
    std::uintptr_t nextProcess_ = 0x7000;
    std::map<void*, std::u16string> mutexes_;  // by handle, their names
    void* ownedMutex_ = nullptr;
};

}  // namespace tollik::fake
