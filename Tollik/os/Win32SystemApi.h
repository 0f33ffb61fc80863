#pragma once
// The real Windows behind the seam. Compiled only for Windows; every method
// forwards to the Win32 function of the same name, converting nothing but types.

#include "os/SystemApi.h"

namespace tollik::os {

class Win32SystemApi : public virtual SystemApi {
public:
    std::uint32_t GetACP() override;
    bool GetVersionExW(VersionInfo& info) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;
    char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) override;

    std::uint32_t GetModuleFileNameW(ModuleHandle module, char16_t* fileName,
                                     std::uint32_t size) override;
    std::uint32_t GetFullPathNameW(const char16_t* fileName, std::uint32_t bufferLength,
                                   char16_t* buffer, char16_t** filePart) override;
    std::uint32_t GetFileAttributesW(const char16_t* fileName) override;
    SearchHandle FindFirstFileW(const char16_t* fileName, FindData& findData) override;
    bool FindNextFileW(SearchHandle search, FindData& findData) override;
    bool FindClose(SearchHandle search) override;
    FileHandle CreateFileW(const char16_t* fileName, std::uint32_t desiredAccess,
                           std::uint32_t shareMode, std::uint32_t creationDisposition,
                           std::uint32_t flagsAndAttributes) override;
    bool CloseHandle(FileHandle object) override;
    std::uint32_t GetFileType(FileHandle file) override;
    bool WriteFile(FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                   std::uint32_t* bytesWritten) override;
    bool ReadFile(FileHandle file, void* buffer, std::uint32_t bytesToRead,
                  std::uint32_t* bytesRead) override;
    bool GetFileSizeEx(FileHandle file, std::int64_t* fileSize) override;
    bool CreateDirectoryW(const char16_t* pathName) override;
    std::uint32_t GetTempPathW(std::uint32_t bufferLength, char16_t* buffer) override;
    std::uint32_t GetLongPathNameW(const char16_t* shortPath, char16_t* longPath,
                                   std::uint32_t bufferLength) override;

    std::uint32_t GetDriveTypeW(const char16_t* rootPathName) override;
    std::uint32_t SetErrorMode(std::uint32_t mode) override;
    ModuleHandle GetModuleHandleW(const char16_t* moduleName) override;
    ProcAddress GetProcAddress(ModuleHandle module, const char* procName) override;
    bool GetDiskFreeSpaceExW(ProcAddress function, const char16_t* directoryName,
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
    void* VirtualAlloc(std::size_t size, std::uint32_t allocationType,
                       std::uint32_t protect) override;
    bool VirtualFree(void* address, std::size_t size, std::uint32_t freeType) override;
    std::int32_t GetCurrentPackageFullName(ProcAddress function,
                                           std::uint32_t* packageFullNameLength,
                                           char16_t* packageFullName) override;

    LResult SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                         LParam lParam) override;
    int LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                    int bufferMax) override;
    char16_t* CharUpperW(char16_t* text) override;
    std::uint32_t CharUpperBuffW(char16_t* text, std::uint32_t length) override;
    int MessageBoxW(WindowHandle owner, const char16_t* text, const char16_t* caption,
                    std::uint32_t type) override;
    std::int16_t GetKeyState(int virtualKey) override;

    std::int32_t SHGetFolderPathW(WindowHandle owner, int folder, void* token,
                                  std::uint32_t flags, char16_t* path) override;
    std::intptr_t ShellExecuteW(WindowHandle owner, const char16_t* operation,
                                const char16_t* file, const char16_t* parameters,
                                const char16_t* directory, int showCommand) override;
};

}  // namespace tollik::os
