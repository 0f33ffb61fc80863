#include "FakeToolchain.h"

#include <cstring>
#include <stdexcept>

#include "AllocationFaults.h"
#include "FakeText.h"

namespace tollik::fake {
namespace {

std::uint32_t Answer(const std::u16string& text, char16_t* buffer, std::uint32_t length) {
    const auto size = static_cast<std::uint32_t>(text.size());
    if (buffer == nullptr || length <= size) return size + 1;
    std::memcpy(buffer, text.c_str(), (text.size() + 1) * sizeof(char16_t));
    return size;
}

}  // namespace

FakeToolchain::FakeToolchain() = default;

bool FakeToolchain::KnowsCall(std::string_view name) const {
    static constexpr std::string_view kRunnerCalls[] = {
        "SetDefaultDllDirectories", "SetDllDirectoryW", "LoadLibraryExW", "FreeLibrary", "CreateProcessW", "WaitForSingleObject", "GetExitCodeProcess", "SetCurrentDirectoryW",
        "CreateMutexW", "ReleaseMutex", "Sleep", "WaitForInputIdle",
        "GetShortPathNameW", "GetUserDefaultUILanguage", "ShowTextWindow",
    };
    for (const std::string_view call : kRunnerCalls)
        if (call == name) return true;
    for (const char* exported : kExports)
        if (name == exported) return true;
    return FakeWindows::KnowsCall(name);
}

std::vector<std::string> FakeToolchain::CompilerCallNames() const {
    std::vector<std::string> names;
    for (const CompilerCall& call : compilerCalls) names.push_back(call.name);
    return names;
}

os::ProcAddress FakeToolchain::GetProcAddress(os::ModuleHandle module, const char* procName) {
    if (module != &module_) return FakeWindows::GetProcAddress(module, procName);
    const AllocationFaultPause system;
    if (Enter("GetProcAddress", procName)) return nullptr;
    // Only the stdcall-decorated names, as HSP's builds export them.
    for (std::size_t i = 0; i < std::size(kExports); ++i) {
        const std::string decorated = "_" + std::string(kExports[i]) + "@16";
        if (decorated == procName && missingExports.count(kExports[i]) == 0) return &exportAddresses_[i];
    }
    SetFakeLastError(os::kErrorProcNotFound);
    return nullptr;
}

bool FakeToolchain::CloseHandle(os::FileHandle object) {
    // Closed, an owned one stays owned: only ReleaseMutex, or the thread's end, lets go.
    if (mutexes_.erase(object) != 0) {
        const AllocationFaultPause system;
        return !Enter("CloseHandle");
    }
    if (processHandles_.count(object) == 0) return FakeWindows::CloseHandle(object);
    const AllocationFaultPause system;
    processHandles_.erase(object);
    return !Enter("CloseHandle");
}

bool FakeToolchain::SetDefaultDllDirectories(std::uint32_t directoryFlags) {
    const AllocationFaultPause system;
    if (Enter("SetDefaultDllDirectories")) return false;
    defaultDllDirectories = directoryFlags;
    return true;
}

bool FakeToolchain::SetDllDirectoryW(const char16_t* pathName) {
    const AllocationFaultPause system;
    if (EnterTraced("SetDllDirectoryW", pathName)) return false;
    if (pathName != nullptr) dllDirectory = pathName;
    else dllDirectory.reset();  // back to the standard search order
    return true;
}

os::ModuleHandle FakeToolchain::LoadLibraryExW(const char16_t* fileName, std::uint32_t flags) {
    const AllocationFaultPause system;
    if (EnterTraced("LoadLibraryExW", fileName)) return nullptr;
    if (defaultDllDirectories == 0 && dllDirectory != u"")
        throw std::logic_error("a DLL loaded while the current directory is searched");
    const std::uint32_t ownFolderFirst = defaultDllDirectories != 0
        ? os::kLoadLibrarySearchDllLoadDir | os::kLoadLibrarySearchSystem32
        : os::kLoadWithAlteredSearchPath;
    if (flags != ownFolderFirst) throw std::logic_error("the compiler's own folder must come first");
    const std::u16string path(fileName);
    if (path.find(u'\\') == std::u16string::npos) throw std::logic_error("a DLL loaded by bare name");
    if (!files.Exists(path) || files.IsFolder(path)) {
        SetFakeLastError(os::kErrorModNotFound);
        return nullptr;
    }
    for (const auto& [refused, error] : loadErrors) {
        if (!EqualNoCase(refused, path)) continue;
        SetFakeLastError(error);
        return nullptr;
    }
    ++loaded_;
    return &module_;
}

bool FakeToolchain::FreeLibrary(os::ModuleHandle module) {
    const AllocationFaultPause system;
    if (module != &module_ || loaded_ == 0) throw std::logic_error("FreeLibrary on a module not loaded");
    --loaded_;
    return !Enter("FreeLibrary");
}

std::int32_t FakeToolchain::CallCompiler(os::ProcAddress function, std::intptr_t p1, std::intptr_t p2,
                                         std::intptr_t p3, std::intptr_t /*p4*/) {
    const AllocationFaultPause system;
    std::size_t index = 0;
    while (index < std::size(kExports) && function != &exportAddresses_[index]) ++index;
    if (index == std::size(kExports) || loaded_ == 0) throw std::logic_error("a compiler export called through a wrong address");
    const std::string name = kExports[index];
    Enter(name);
    CompilerCall& call = compilerCalls.emplace_back();
    call.name = name;
    call.currentDirectory = files.paths.currentDirectory;
    const auto text = [](std::intptr_t pointer) { return std::string(reinterpret_cast<const char*>(pointer)); };
    if (name == "hsc_ini" || name == "hsc_refname" || name == "hsc_compath" || name == "hsc3_make") {
        call.text = text(p2);
    } else if (name == "hsc_objname") {
        call.text = objectName_ = text(p2);
    } else if (name == "hsc_comp") {
        call.options = {p1, p2, p3};
        lastReport_ = compileReport;
        const std::u16string folder = files.paths.currentDirectory + u"\\";
        if (compileResult == 0) files.AddFile(folder + std::u16string(objectName_.begin(), objectName_.end()), "HSP3");
        // The pack option writes the packfile; a test may have put its own there.
        if (compileResult == 0 && (p2 & 4) != 0 && !files.Exists(folder + u"packfile"))
            files.AddFile(folder + u"packfile", "start.ax\r\n");
        return compileResult;
    } else if (name == "hsc3_messize") {
        *reinterpret_cast<std::int32_t*>(p1) = static_cast<std::int32_t>(lastReport_.size() + 1);
    } else if (name == "hsc_getmes") {
        std::memcpy(reinterpret_cast<char*>(p1), lastReport_.c_str(), lastReport_.size() + 1);
    } else if (name == "hsc3_getruntime") {
        call.text = text(p2);
        std::memcpy(reinterpret_cast<char*>(p1), runtimeAsked.c_str(), runtimeAsked.size() + 1);
    }
    if (name == "hsc3_make") {
        lastReport_ = makeReport;
        return makeResult;
    }
    return 0;
}

bool FakeToolchain::SetCurrentDirectoryW(const char16_t* pathName) {
    const AllocationFaultPause system;
    if (EnterTraced("SetCurrentDirectoryW", pathName)) return false;
    std::u16string path(pathName);
    if (!files.IsFolder(path)) {
        SetFakeLastError(files.Exists(path) ? os::kErrorInvalidName : os::kErrorFileNotFound);
        return false;
    }
    while (path.size() > 3 && path.back() == u'\\') path.pop_back();
    files.paths.currentDirectory = path;
    return true;
}

std::uint32_t FakeToolchain::GetShortPathNameW(const char16_t* longPath, char16_t* shortPath,
                                               std::uint32_t bufferLength) {
    const AllocationFaultPause system;
    if (EnterTraced("GetShortPathNameW", longPath)) return 0;
    const std::u16string path(longPath);
    if (!files.Exists(path)) {
        SetFakeLastError(os::kErrorFileNotFound);
        return 0;
    }
    const auto known = shortPaths.find(path);
    return Answer(known == shortPaths.end() ? path : known->second, shortPath, bufferLength);
}

bool FakeToolchain::CreateProcessW(const char16_t* applicationName, char16_t* commandLine,
                                   std::uint32_t creationFlags, const char16_t* currentDirectory,
                                   std::uint16_t showWindow, os::ProcessInformation& information) {
    const AllocationFaultPause system;
    if (EnterTraced("CreateProcessW", applicationName)) return false;
    if (applicationName == nullptr || !files.Exists(applicationName)) {
        SetFakeLastError(os::kErrorFileNotFound);
        return false;
    }
    processes.push_back({applicationName, commandLine, currentDirectory ? currentDirectory : u"", creationFlags,
                         showWindow, dllDirectory});
    information.process = reinterpret_cast<void*>(nextProcess_++);
    information.thread = reinterpret_cast<void*>(nextProcess_++);
    information.processId = static_cast<std::uint32_t>(nextProcess_);
    processHandles_.insert(information.process);
    processHandles_.insert(information.thread);
    processApplications_[information.process] = applicationName;
    return true;
}

std::optional<std::uint32_t> FakeToolchain::ExitCodeOf(os::ProcessHandle process) {
    const auto known = processApplications_.find(process);
    if (known == processApplications_.end() || processHandles_.count(process) == 0) {
        SetFakeLastError(6);  // ERROR_INVALID_HANDLE
        return std::nullopt;
    }
    const auto code = exitCodes.find(known->second);
    return code == exitCodes.end() ? 0 : code->second;
}

os::MutexHandle FakeToolchain::CreateMutexW(const char16_t* name) {
    const AllocationFaultPause system;
    if (EnterTraced("CreateMutexW", name)) return nullptr;
    void* const handle = reinterpret_cast<void*>(nextProcess_++);
    mutexes_[handle] = name;
    return handle;
}

bool FakeToolchain::ReleaseMutex(os::MutexHandle mutex) {
    const AllocationFaultPause system;
    if (Enter("ReleaseMutex")) return false;
    if (mutex != ownedMutex_) throw std::logic_error("ReleaseMutex on a mutex not owned");
    ownedMutex_ = nullptr;
    return true;
}

std::uint32_t FakeToolchain::WaitForSingleObject(void* object, std::uint32_t /*milliseconds*/) {
    const AllocationFaultPause system;
    if (const auto mutex = mutexes_.find(object); mutex != mutexes_.end()) {
        if (Enter("WaitForSingleObject")) return 0xFFFFFFFF;  // WAIT_FAILED
        const auto other = heldElsewhere.find(mutex->second);
        const std::uint32_t answer = other == heldElsewhere.end() ? os::kWaitObject0 : other->second;
        if (answer != os::kWaitTimeout) ownedMutex_ = object;
        return answer;
    }
    const std::optional<std::uint32_t> code = Enter("WaitForSingleObject") ? std::nullopt : ExitCodeOf(object);
    if (code) processes.back().awaitedWhileLocked = HoldsMutex();
    if (!code) return 0xFFFFFFFF;  // WAIT_FAILED
    return *code == kStillRunning ? os::kWaitTimeout : os::kWaitObject0;
}

bool FakeToolchain::GetExitCodeProcess(os::ProcessHandle process, std::uint32_t* exitCode) {
    const AllocationFaultPause system;
    const std::optional<std::uint32_t> code = Enter("GetExitCodeProcess") ? std::nullopt : ExitCodeOf(process);
    if (code) *exitCode = *code;
    return code.has_value();
}

std::uint32_t FakeToolchain::WaitForInputIdle(os::ProcessHandle process, std::uint32_t /*milliseconds*/) {
    const AllocationFaultPause system;
    if (Enter("WaitForInputIdle") || !ExitCodeOf(process) || consolePrograms.count(processApplications_[process]) != 0)
        return os::kWaitFailed;
    processes.back().awaitedWhileLocked = HoldsMutex();
    return 0;
}

void FakeToolchain::Sleep(std::uint32_t milliseconds) {
    Enter("Sleep");  // cannot fail
    slept += milliseconds;
}

std::uint16_t FakeToolchain::GetUserDefaultUILanguage() {
    Enter("GetUserDefaultUILanguage");  // cannot fail
    return uiLanguage;
}

bool FakeToolchain::ShowTextWindow(const char16_t* title, const char16_t* text, bool isError) {
    if (Enter("ShowTextWindow") || windowFails) return false;
    windows.push_back({title, text, isError, HoldsMutex()});
    return true;
}

}  // namespace tollik::fake
