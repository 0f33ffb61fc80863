#pragma once
// The one door between the plug-in's logic and Windows. Every system call the
// logic makes is a method here, named after the Windows function it stands for
// and keeping that function's meaning, results and error codes, so that the
// logic reads like Win32 code while tests can swap in an in-memory Windows.
//
// Types are platform-free: text is UTF-16 (char16_t), handles are opaque
// pointers, and wParam/lParam keep their pointer-sized widths.

#include <cstddef>
#include <cstdint>

namespace tollik::os {

using WindowHandle = void*;  // HWND
using ModuleHandle = void*;  // HINSTANCE / HMODULE
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;
using FileHandle = void*;    // HANDLE from CreateFileW; invalid is all bits set
using SearchHandle = void*;  // HANDLE from FindFirstFileW; invalid is all bits set
using ProcAddress = void*;   // FARPROC

inline FileHandle InvalidHandleValue() noexcept {
    return reinterpret_cast<FileHandle>(~std::uintptr_t{0});
}

// One entry of a directory search, reduced to what the logic reads.
struct FindData {
    std::uint32_t attributes = 0;
    std::uint64_t size = 0;
    char16_t name[260] = {};
};

// What GetVersionExW reports, reduced to the fields the plug-in reads.
struct VersionInfo {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t build = 0;
};

// The Control key's virtual-key code, and the GetKeyState bit set while a
// key is down.
inline constexpr int kVkControl = 0x11;
inline constexpr std::uint16_t kKeyStateDown = 0x80;

// ShellExecuteW: the hidden show command.
inline constexpr int kSwHide = 0;

// MessageBoxW styles used by the plug-in.
inline constexpr std::uint32_t kMbOk = 0x00000000;
inline constexpr std::uint32_t kMbIconError = 0x00000010;

// CreateFileW access, sharing, disposition and flags.
inline constexpr std::uint32_t kGenericRead = 0x80000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kFileShareRead = 0x1;
inline constexpr std::uint32_t kCreateAlways = 2;
inline constexpr std::uint32_t kOpenExisting = 3;
inline constexpr std::uint32_t kFileFlagBackupSemantics = 0x02000000;

// File attributes.
inline constexpr std::uint32_t kFileAttributeDirectory = 0x10;
inline constexpr std::uint32_t kFileAttributeNormal = 0x80;
inline constexpr std::uint32_t kFileAttributeReparsePoint = 0x400;
inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// GetFileType results.
inline constexpr std::uint32_t kFileTypeUnknown = 0;

// GetDriveTypeW results.
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;
inline constexpr std::uint32_t kDriveCdrom = 5;

// SetErrorMode: no system error box for a drive without media.
inline constexpr std::uint32_t kSemFailCriticalErrors = 0x1;

// Code pages, the strict decoding flag of MultiByteToWideChar, and
// WideCharToMultiByte's flag that writes the default character for every
// character that would not come back as itself (no look-alikes).
inline constexpr std::uint32_t kCpAcp = 0;
inline constexpr std::uint32_t kCpJapanese = 932;
inline constexpr std::uint32_t kCpUtf8 = 65001;
inline constexpr std::uint32_t kMbErrInvalidChars = 0x8;
inline constexpr std::uint32_t kWcNoBestFitChars = 0x400;

// FormatMessageW flags.
inline constexpr std::uint32_t kFormatMessageAllocateBuffer = 0x100;
inline constexpr std::uint32_t kFormatMessageIgnoreInserts = 0x200;
inline constexpr std::uint32_t kFormatMessageFromSystem = 0x1000;
inline constexpr std::uint32_t kFormatMessageArgumentArray = 0x2000;

// VirtualAlloc and VirtualFree: pages reserved and committed in one step,
// read-write, and released whole.
inline constexpr std::uint32_t kMemCommit = 0x1000;
inline constexpr std::uint32_t kMemReserve = 0x2000;
inline constexpr std::uint32_t kMemRelease = 0x8000;
inline constexpr std::uint32_t kPageReadWrite = 0x04;

// SHGetFolderPathW: the roaming application-data folder, and its results.
inline constexpr int kCsidlAppData = 26;
inline constexpr std::int32_t kSOk = 0;

// System error codes the logic names.
inline constexpr std::uint32_t kErrorFileNotFound = 2;
inline constexpr std::uint32_t kErrorPathNotFound = 3;
inline constexpr std::uint32_t kErrorNoMoreFiles = 18;
inline constexpr std::uint32_t kErrorWriteFault = 29;
inline constexpr std::uint32_t kErrorSharingViolation = 32;
inline constexpr std::uint32_t kErrorBadNetpath = 53;
inline constexpr std::uint32_t kErrorInvalidName = 123;
inline constexpr std::uint32_t kErrorArithmeticOverflow = 534;
inline constexpr std::int32_t kAppModelErrorNoPackage = 15700;

class SystemApi {
public:
    virtual ~SystemApi() = default;

    // kernel32
    virtual std::uint32_t GetACP() = 0;
    // Fills `info` and returns true; false (with the last error set) when the
    // system cannot tell, in which case `info` is left untouched.
    virtual bool GetVersionExW(VersionInfo& info) = 0;
    virtual std::uint32_t GetLastError() = 0;
    virtual void SetLastError(std::uint32_t error) = 0;
    // Copies at most maxLength - 1 units of `source` and a terminating NUL;
    // a maxLength of 0 writes nothing.
    virtual char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) = 0;

    // kernel32: names and files. Paths are NUL-terminated. No call here takes
    // security attributes, a template file or an OVERLAPPED record: the
    // plug-in always passes none.
    virtual std::uint32_t GetModuleFileNameW(ModuleHandle module, char16_t* fileName,
                                             std::uint32_t size) = 0;
    virtual std::uint32_t GetFullPathNameW(const char16_t* fileName, std::uint32_t bufferLength,
                                           char16_t* buffer, char16_t** filePart) = 0;
    virtual std::uint32_t GetFileAttributesW(const char16_t* fileName) = 0;
    // InvalidHandleValue() when nothing matches.
    virtual SearchHandle FindFirstFileW(const char16_t* fileName, FindData& findData) = 0;
    // False, with ERROR_NO_MORE_FILES, after the last match.
    virtual bool FindNextFileW(SearchHandle search, FindData& findData) = 0;
    virtual bool FindClose(SearchHandle search) = 0;
    virtual FileHandle CreateFileW(const char16_t* fileName, std::uint32_t desiredAccess,
                                   std::uint32_t shareMode, std::uint32_t creationDisposition,
                                   std::uint32_t flagsAndAttributes) = 0;
    virtual bool CloseHandle(FileHandle object) = 0;
    virtual std::uint32_t GetFileType(FileHandle file) = 0;
    virtual bool WriteFile(FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                           std::uint32_t* bytesWritten) = 0;
    virtual bool ReadFile(FileHandle file, void* buffer, std::uint32_t bytesToRead,
                          std::uint32_t* bytesRead) = 0;
    virtual bool GetFileSizeEx(FileHandle file, std::int64_t* fileSize) = 0;
    virtual bool CreateDirectoryW(const char16_t* pathName) = 0;
    // The user's temporary folder with a final backslash. Returns the units
    // written without the NUL, or, when `bufferLength` is too small, the
    // size needed with the NUL; 0 on failure.
    virtual std::uint32_t GetTempPathW(std::uint32_t bufferLength, char16_t* buffer) = 0;
    // The long form of an existing path; results as GetTempPathW's, and 0
    // (ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND) when it does not exist.
    virtual std::uint32_t GetLongPathNameW(const char16_t* shortPath, char16_t* longPath,
                                           std::uint32_t bufferLength) = 0;

    // kernel32: drives and the process error mode.
    virtual std::uint32_t GetDriveTypeW(const char16_t* rootPathName) = 0;
    virtual std::uint32_t SetErrorMode(std::uint32_t mode) = 0;
    virtual ModuleHandle GetModuleHandleW(const char16_t* moduleName) = 0;
    virtual ProcAddress GetProcAddress(ModuleHandle module, const char* procName) = 0;
    // Calls GetDiskFreeSpaceExW through `function`, the address that
    // GetProcAddress gave for it: the library looks it up once at load.
    virtual bool GetDiskFreeSpaceExW(ProcAddress function, const char16_t* directoryName,
                                     std::uint64_t* freeBytesAvailableToCaller,
                                     std::uint64_t* totalNumberOfBytes,
                                     std::uint64_t* totalNumberOfFreeBytes) = 0;
    virtual bool GetDiskFreeSpaceW(const char16_t* rootPathName, std::uint32_t* sectorsPerCluster,
                                   std::uint32_t* bytesPerSector,
                                   std::uint32_t* numberOfFreeClusters,
                                   std::uint32_t* totalNumberOfClusters) = 0;

    // kernel32: text conversion. `usedDefaultChar` is a BOOL out-parameter.
    virtual int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                    const char16_t* wideText, int wideLength, char* multiByteText,
                                    int multiByteSize, const char* defaultChar,
                                    std::int32_t* usedDefaultChar) = 0;
    virtual int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                    const char* multiByteText, int multiByteLength,
                                    char16_t* wideText, int wideSize) = 0;

    // kernel32: system message texts, in the one form the plug-in uses:
    // FORMAT_MESSAGE_ALLOCATE_BUFFER with no source and no arguments. The
    // system allocates `*buffer`; the caller releases it with LocalFree.
    // Returns the units written, without the NUL; 0 when there is no text.
    virtual std::uint32_t FormatMessageW(std::uint32_t flags, std::uint32_t messageId,
                                         std::uint32_t languageId, char16_t** buffer) = 0;
    // Null when released; the memory itself when it was not the system's.
    virtual void* LocalFree(void* memory) = 0;

    // kernel32: pages of memory, without a chosen address (the plug-in never
    // picks one). Committed pages read as zero until written. Null on
    // failure, with the last error set.
    virtual void* VirtualAlloc(std::size_t size, std::uint32_t allocationType,
                               std::uint32_t protect) = 0;
    // With kMemRelease, `size` must be 0 and `address` what VirtualAlloc gave.
    virtual bool VirtualFree(void* address, std::size_t size, std::uint32_t freeType) = 0;

    // kernel32 on Windows 8 and later: calls GetCurrentPackageFullName
    // through `function`, the address GetProcAddress gave for it, so that
    // the library still loads where the function does not exist.
    virtual std::int32_t GetCurrentPackageFullName(ProcAddress function,
                                                   std::uint32_t* packageFullNameLength,
                                                   char16_t* packageFullName) = 0;

    // user32
    virtual LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                 LParam lParam) = 0;
    // Copies string resource `id` of `module` into `buffer` (at most
    // bufferMax - 1 units and a NUL) and returns the units copied; 0 when
    // the resource is missing.
    virtual int LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                            int bufferMax) = 0;
    // Upper-cases a NUL-terminated string in place.
    virtual char16_t* CharUpperW(char16_t* text) = 0;
    // Upper-cases `length` units in place, NULs included; returns `length`.
    virtual std::uint32_t CharUpperBuffW(char16_t* text, std::uint32_t length) = 0;
    virtual int MessageBoxW(WindowHandle owner, const char16_t* text, const char16_t* caption,
                            std::uint32_t type) = 0;
    // The calling thread's state of a key, as the thread's messages left it.
    virtual std::int16_t GetKeyState(int virtualKey) = 0;

    // shell32. `path` has room for 260 units and a NUL. Returns an HRESULT.
    virtual std::int32_t SHGetFolderPathW(WindowHandle owner, int folder, void* token,
                                          std::uint32_t flags, char16_t* path) = 0;
    // Starts `file` through the shell without waiting for it. Returns the
    // HINSTANCE value: above kShellExecuteFailureLimit when it started,
    // otherwise an error code.
    virtual std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* operation,
                                        const char16_t* file, const char16_t* parameters,
                                        const char16_t* directory, int showCommand) = 0;
};

}  // namespace tollik::os
