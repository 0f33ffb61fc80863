#pragma once
// An in-memory Windows for the native tests. It answers every call of the
// seam as Windows does, records each call by name, and fails any call on
// demand: with an error code (the call returns its failure value and sets
// the last error) or by throwing (a layer that breaks mid-way).

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EditorModel.h"
#include "FakeFileSystem.h"
#include "os/SystemApi.h"

namespace tollik::fake {

struct ShownMessageBox {
    os::WindowHandle owner;
    std::u16string text;
    std::u16string caption;
    std::uint32_t type;
};

// One ShellExecuteW call, as the code under test made it.
struct ShellExecution {
    os::WindowHandle owner;
    std::u16string operation;
    std::u16string file;
    std::u16string parameters;
    std::u16string directory;
    int showCommand;
    bool started;  // the file was there to start
};

class FakeWindows : public virtual os::SystemApi {
public:
    FakeWindows();

    // The world the code under test sees.
    std::uint32_t ansiCodePage = 1252;
    os::VersionInfo version{10, 0, 19045};
    std::map<std::uint32_t, std::u16string> stringResources;  // the plug-in's own
    testing::EditorModel host;
    os::WindowHandle hostWindow = reinterpret_cast<os::WindowHandle>(std::uintptr_t{0x000A0F3C});
    FakeFileSystem files;
    std::u16string executablePath = u"C:\\Program Files\\Pellam\\Pellam.exe";
    bool hasDiskFreeSpaceEx = true;  // false: a system older than the function
    bool hasPackageFunctions = true;  // false: Windows 7 and older, without GetCurrentPackageFullName
    std::optional<std::u16string> packageFullName;  // set: the host runs as a packaged app
    // What SHGetFolderPathW(CSIDL_APPDATA) names; the folder is made at the
    // start, and the query fails while it is missing.
    std::u16string appDataFolder = u"C:\\Users\\tollik\\AppData\\Roaming";
    // What GetTempPathW names (with its final backslash); the folder is made
    // at the start.
    std::u16string tempPath = u"C:\\Users\\tollik\\AppData\\Local\\Temp\\";
    // GetKeyState by virtual-key code; a held key reads 0xFF80, as Windows gives it.
    std::map<int, std::int16_t> keyStates;
    void HoldKey(int virtualKey) { keyStates[virtualKey] = static_cast<std::int16_t>(0xFF80); }
    // FormatMessageW's message table, by error code: Windows' English texts.
    std::map<std::uint32_t, std::u16string> systemMessages;

    // What the code under test did.
    std::vector<std::string> calls;
    // Beside each call, its main argument (a path, or a message and its
    // wParam), empty for calls that have none.
    std::vector<std::string> callArguments;
    // The file and drive calls with their main argument, as "Name argument".
    std::vector<std::string> trace;
    std::vector<std::uint32_t> writeSizes;  // bytes asked of each WriteFile
    std::vector<ShownMessageBox> messageBoxes;
    std::vector<ShellExecution> shellExecutions;
    int CallCount(std::string_view name) const;
    // Starts the record afresh: calls, arguments, trace and occurrence counts.
    void ForgetCalls();
    // Buffers FormatMessageW allocated that LocalFree has not released.
    int LocalAllocations() const { return static_cast<int>(localAllocations_.size()); }
    int VirtualAllocations() const { return static_cast<int>(pages_.size()); }  // not released

    // Faults. `occurrence` counts calls of that name from 1; 0 means every call.
    // A name the fake does not answer is refused (std::invalid_argument), so
    // a misspelt fault cannot silently inject nothing.
    void FailCall(std::string name, std::uint32_t error, int occurrence = 0);
    void ThrowOnCall(std::string name, int occurrence, std::function<void()> raise);
    // Runs `action` just before that call, which then goes ahead: the world
    // changing under the code's feet.
    void OnCall(std::string name, int occurrence, std::function<void()> action);

    // The seam.
    std::uint32_t GetACP() override;
    bool GetVersionExW(os::VersionInfo& info) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;
    char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) override;
    std::uint32_t GetModuleFileNameW(os::ModuleHandle module, char16_t* fileName,
                                     std::uint32_t size) override;
    std::uint32_t GetFullPathNameW(const char16_t* fileName, std::uint32_t bufferLength,
                                   char16_t* buffer, char16_t** filePart) override;
    std::uint32_t GetFileAttributesW(const char16_t* fileName) override;
    os::SearchHandle FindFirstFileW(const char16_t* fileName, os::FindData& findData) override;
    bool FindNextFileW(os::SearchHandle search, os::FindData& findData) override;
    bool FindClose(os::SearchHandle search) override;
    os::FileHandle CreateFileW(const char16_t* fileName, std::uint32_t desiredAccess,
                               std::uint32_t shareMode, std::uint32_t creationDisposition,
                               std::uint32_t flagsAndAttributes) override;
    bool CloseHandle(os::FileHandle object) override;
    std::uint32_t GetFileType(os::FileHandle file) override;
    bool WriteFile(os::FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                   std::uint32_t* bytesWritten) override;
    bool ReadFile(os::FileHandle file, void* buffer, std::uint32_t bytesToRead,
                  std::uint32_t* bytesRead) override;
    bool GetFileSizeEx(os::FileHandle file, std::int64_t* fileSize) override;
    bool CreateDirectoryW(const char16_t* pathName) override;
    std::uint32_t GetTempPathW(std::uint32_t bufferLength, char16_t* buffer) override;
    std::uint32_t GetLongPathNameW(const char16_t* shortPath, char16_t* longPath,
                                   std::uint32_t bufferLength) override;
    std::uint32_t GetDriveTypeW(const char16_t* rootPathName) override;
    std::uint32_t SetErrorMode(std::uint32_t mode) override;
    os::ModuleHandle GetModuleHandleW(const char16_t* moduleName) override;
    os::ProcAddress GetProcAddress(os::ModuleHandle module, const char* procName) override;
    bool GetDiskFreeSpaceExW(os::ProcAddress function, const char16_t* directoryName,
                             std::uint64_t* freeBytesAvailableToCaller,
                             std::uint64_t* totalNumberOfBytes,
                             std::uint64_t* totalNumberOfFreeBytes) override;
    bool GetDiskFreeSpaceW(const char16_t* rootPathName, std::uint32_t* sectorsPerCluster,
                           std::uint32_t* bytesPerSector, std::uint32_t* numberOfFreeClusters,
                           std::uint32_t* totalNumberOfClusters) override;
    int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const char16_t* wideText,
                            int wideLength, char* multiByteText, int multiByteSize,
                            const char* defaultChar, std::int32_t* usedDefaultChar) override;
    int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* multiByteText,
                            int multiByteLength, char16_t* wideText, int wideSize) override;
    std::uint32_t FormatMessageW(std::uint32_t flags, std::uint32_t messageId,
                                 std::uint32_t languageId, char16_t** buffer) override;
    void* LocalFree(void* memory) override;
    void* VirtualAlloc(std::size_t size, std::uint32_t type, std::uint32_t protect) override;
    bool VirtualFree(void* address, std::size_t size, std::uint32_t freeType) override;
    std::int32_t GetCurrentPackageFullName(os::ProcAddress function,
                                           std::uint32_t* packageFullNameLength,
                                           char16_t* packageFullName) override;
    char16_t* CharUpperW(char16_t* text) override;
    std::uint32_t CharUpperBuffW(char16_t* text, std::uint32_t length) override;
    os::LResult SendMessageW(os::WindowHandle window, std::uint32_t message, os::WParam wParam,
                             os::LParam lParam) override;
    int LoadStringW(os::ModuleHandle module, std::uint32_t id, char16_t* buffer,
                    int bufferMax) override;
    int MessageBoxW(os::WindowHandle owner, const char16_t* text, const char16_t* caption,
                    std::uint32_t type) override;
    std::int16_t GetKeyState(int virtualKey) override;
    std::int32_t SHGetFolderPathW(os::WindowHandle owner, int folder, void* token,
                                  std::uint32_t flags, char16_t* path) override;
    std::intptr_t ShellExecuteW(os::WindowHandle owner, const char16_t* operation,
                                const char16_t* file, const char16_t* parameters,
                                const char16_t* directory, int showCommand) override;

protected:
    // Whether this fake answers (and so can fail) the call `name`; a derived
    // fake adds its own calls. Enter refuses any other name, which keeps the
    // list whole.
    virtual bool KnowsCall(std::string_view name) const;

    // Records the call; throws when told to; true when the call must fail,
    // with the last error already set.
    bool Enter(std::string_view name, std::string argument = {});
    // The same, and the call goes into `trace` with its argument.
    bool EnterTraced(std::string_view name, const char16_t* argument);
    void SetFakeLastError(std::uint32_t error) { lastError_ = error; }

private:
    void RequireKnownCall(const std::string& name, const char* what) const;

    struct Fault {
        std::string name;
        int occurrence;
        std::uint32_t error;
        std::function<void()> raise;
        bool proceed = false;
    };

    std::vector<Fault> faults_;
    std::map<std::string, int, std::less<>> counts_;
    std::uint32_t lastError_ = 0;
    // What GetModuleHandleW and GetProcAddress hand out.
    int kernel32_ = 0;
    int diskFreeSpaceEx_ = 0;
    int currentPackageFullName_ = 0;
    std::map<void*, std::unique_ptr<char16_t[]>> localAllocations_;
    std::map<void*, std::unique_ptr<char[]>> pages_;  // what VirtualAlloc handed out
};

}  // namespace tollik::fake
