#include "os/Win32SystemApi.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <iterator>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows text is UTF-16");

namespace tollik::os {
namespace {

wchar_t* Wide(char16_t* text) { return reinterpret_cast<wchar_t*>(text); }
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

std::uint64_t Join(DWORD high, DWORD low) { return (std::uint64_t{high} << 32) | low; }

using DiskFreeSpaceEx = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
using CurrentPackageFullName = LONG(WINAPI*)(UINT32*, PWSTR);

}  // namespace

std::uint32_t Win32SystemApi::GetACP() { return ::GetACP(); }

bool Win32SystemApi::GetVersionExW(VersionInfo& info) {
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;  // 276 bytes: the plain record
    static_assert(sizeof(OSVERSIONINFOW) == 276);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    if (!::GetVersionExW(&version)) return false;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    info.major = version.dwMajorVersion;
    info.minor = version.dwMinorVersion;
    info.build = version.dwBuildNumber;
    return true;
}

std::uint32_t Win32SystemApi::GetLastError() { return ::GetLastError(); }

void Win32SystemApi::SetLastError(std::uint32_t error) { ::SetLastError(error); }

char16_t* Win32SystemApi::lstrcpynW(char16_t* destination, const char16_t* source,
                                    int maxLength) {
    return reinterpret_cast<char16_t*>(::lstrcpynW(Wide(destination), Wide(source), maxLength));
}

std::uint32_t Win32SystemApi::GetModuleFileNameW(ModuleHandle module, char16_t* fileName,
                                                 std::uint32_t size) {
    return ::GetModuleFileNameW(static_cast<HMODULE>(module), Wide(fileName), size);
}

std::uint32_t Win32SystemApi::GetFullPathNameW(const char16_t* fileName,
                                               std::uint32_t bufferLength, char16_t* buffer,
                                               char16_t** filePart) {
    return ::GetFullPathNameW(Wide(fileName), bufferLength, Wide(buffer),
                              reinterpret_cast<wchar_t**>(filePart));
}

std::uint32_t Win32SystemApi::GetFileAttributesW(const char16_t* fileName) {
    return ::GetFileAttributesW(Wide(fileName));
}

namespace {

void CopyFindData(const WIN32_FIND_DATAW& data, FindData& findData) {
    findData.attributes = data.dwFileAttributes;
    findData.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
    static_assert(sizeof findData.name == sizeof data.cFileName);
    for (std::size_t i = 0; i < std::size(data.cFileName); ++i)
        findData.name[i] = static_cast<char16_t>(data.cFileName[i]);
}

}  // namespace

SearchHandle Win32SystemApi::FindFirstFileW(const char16_t* fileName, FindData& findData) {
    WIN32_FIND_DATAW data{};
    const HANDLE search = ::FindFirstFileW(Wide(fileName), &data);
    if (search != INVALID_HANDLE_VALUE) CopyFindData(data, findData);
    return search;
}

bool Win32SystemApi::FindNextFileW(SearchHandle search, FindData& findData) {
    WIN32_FIND_DATAW data{};
    if (!::FindNextFileW(search, &data)) return false;
    CopyFindData(data, findData);
    return true;
}

bool Win32SystemApi::FindClose(SearchHandle search) { return ::FindClose(search) != FALSE; }

FileHandle Win32SystemApi::CreateFileW(const char16_t* fileName, std::uint32_t desiredAccess,
                                       std::uint32_t shareMode, std::uint32_t creationDisposition,
                                       std::uint32_t flagsAndAttributes) {
    return ::CreateFileW(Wide(fileName), desiredAccess, shareMode, nullptr, creationDisposition,
                         flagsAndAttributes, nullptr);
}

bool Win32SystemApi::CloseHandle(FileHandle object) { return ::CloseHandle(object) != FALSE; }

std::uint32_t Win32SystemApi::GetFileType(FileHandle file) { return ::GetFileType(file); }

bool Win32SystemApi::WriteFile(FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                               std::uint32_t* bytesWritten) {
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, buffer, bytesToWrite, &written, nullptr);
    if (bytesWritten != nullptr) *bytesWritten = written;
    return ok != FALSE;
}

bool Win32SystemApi::ReadFile(FileHandle file, void* buffer, std::uint32_t bytesToRead,
                              std::uint32_t* bytesRead) {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(file, buffer, bytesToRead, &read, nullptr);
    if (bytesRead != nullptr) *bytesRead = read;
    return ok != FALSE;
}

bool Win32SystemApi::GetFileSizeEx(FileHandle file, std::int64_t* fileSize) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size)) return false;
    *fileSize = size.QuadPart;
    return true;
}

bool Win32SystemApi::CreateDirectoryW(const char16_t* pathName) {
    return ::CreateDirectoryW(Wide(pathName), nullptr) != FALSE;
}

std::uint32_t Win32SystemApi::GetTempPathW(std::uint32_t bufferLength, char16_t* buffer) {
    return ::GetTempPathW(bufferLength, Wide(buffer));
}

std::uint32_t Win32SystemApi::GetLongPathNameW(const char16_t* shortPath, char16_t* longPath,
                                               std::uint32_t bufferLength) {
    return ::GetLongPathNameW(Wide(shortPath), Wide(longPath), bufferLength);
}

std::uint32_t Win32SystemApi::GetDriveTypeW(const char16_t* rootPathName) {
    return ::GetDriveTypeW(Wide(rootPathName));
}

std::uint32_t Win32SystemApi::SetErrorMode(std::uint32_t mode) { return ::SetErrorMode(mode); }

ModuleHandle Win32SystemApi::GetModuleHandleW(const char16_t* moduleName) {
    return ::GetModuleHandleW(Wide(moduleName));
}

ProcAddress Win32SystemApi::GetProcAddress(ModuleHandle module, const char* procName) {
    return reinterpret_cast<ProcAddress>(::GetProcAddress(static_cast<HMODULE>(module), procName));
}

bool Win32SystemApi::GetDiskFreeSpaceExW(ProcAddress function, const char16_t* directoryName,
                                         std::uint64_t* freeBytesAvailableToCaller,
                                         std::uint64_t* totalNumberOfBytes,
                                         std::uint64_t* totalNumberOfFreeBytes) {
    ULARGE_INTEGER available{}, total{}, free{};
    const auto call = reinterpret_cast<DiskFreeSpaceEx>(function);
    const BOOL ok = call(Wide(directoryName), freeBytesAvailableToCaller ? &available : nullptr,
                         totalNumberOfBytes ? &total : nullptr,
                         totalNumberOfFreeBytes ? &free : nullptr);
    if (ok == FALSE) return false;
    if (freeBytesAvailableToCaller) *freeBytesAvailableToCaller = available.QuadPart;
    if (totalNumberOfBytes) *totalNumberOfBytes = total.QuadPart;
    if (totalNumberOfFreeBytes) *totalNumberOfFreeBytes = free.QuadPart;
    return true;
}

bool Win32SystemApi::GetDiskFreeSpaceW(const char16_t* rootPathName,
                                       std::uint32_t* sectorsPerCluster,
                                       std::uint32_t* bytesPerSector,
                                       std::uint32_t* numberOfFreeClusters,
                                       std::uint32_t* totalNumberOfClusters) {
    DWORD sectors = 0, bytes = 0, free = 0, total = 0;
    if (!::GetDiskFreeSpaceW(Wide(rootPathName), &sectors, &bytes, &free, &total)) return false;
    *sectorsPerCluster = sectors;
    *bytesPerSector = bytes;
    *numberOfFreeClusters = free;
    *totalNumberOfClusters = total;
    return true;
}

int Win32SystemApi::WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                        const char16_t* wideText, int wideLength,
                                        char* multiByteText, int multiByteSize,
                                        const char* defaultChar,
                                        std::int32_t* usedDefaultChar) {
    BOOL used = FALSE;
    const int n = ::WideCharToMultiByte(codePage, flags, Wide(wideText), wideLength,
                                        multiByteText, multiByteSize, defaultChar,
                                        usedDefaultChar ? &used : nullptr);
    if (usedDefaultChar) *usedDefaultChar = used;
    return n;
}

int Win32SystemApi::MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                        const char* multiByteText, int multiByteLength,
                                        char16_t* wideText, int wideSize) {
    return ::MultiByteToWideChar(codePage, flags, multiByteText, multiByteLength, Wide(wideText),
                                 wideSize);
}

std::uint32_t Win32SystemApi::FormatMessageW(std::uint32_t flags, std::uint32_t messageId,
                                             std::uint32_t languageId, char16_t** buffer) {
    *buffer = nullptr;
    // Without the allocation flag the system would write into `buffer` itself.
    if ((flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) == 0) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    wchar_t* allocated = nullptr;
    const DWORD length = ::FormatMessageW(flags, nullptr, messageId, languageId,
                                          reinterpret_cast<LPWSTR>(&allocated), 0, nullptr);
    *buffer = reinterpret_cast<char16_t*>(allocated);
    return length;
}

void* Win32SystemApi::LocalFree(void* memory) { return ::LocalFree(memory); }

void* Win32SystemApi::VirtualAlloc(std::size_t size, std::uint32_t allocationType,
                                   std::uint32_t protect) {
    return ::VirtualAlloc(nullptr, size, allocationType, protect);
}

bool Win32SystemApi::VirtualFree(void* address, std::size_t size, std::uint32_t freeType) {
    return ::VirtualFree(address, size, freeType) != FALSE;
}

std::int32_t Win32SystemApi::GetCurrentPackageFullName(ProcAddress function,
                                                       std::uint32_t* packageFullNameLength,
                                                       char16_t* packageFullName) {
    UINT32 length = *packageFullNameLength;
    const auto call = reinterpret_cast<CurrentPackageFullName>(function);
    const LONG result = call(&length, reinterpret_cast<PWSTR>(packageFullName));
    *packageFullNameLength = length;
    return result;
}

char16_t* Win32SystemApi::CharUpperW(char16_t* text) {
    return reinterpret_cast<char16_t*>(::CharUpperW(Wide(text)));
}

std::uint32_t Win32SystemApi::CharUpperBuffW(char16_t* text, std::uint32_t length) {
    return ::CharUpperBuffW(Wide(text), length);
}

LResult Win32SystemApi::SendMessageW(WindowHandle window, std::uint32_t message, WParam wParam,
                                     LParam lParam) {
    return ::SendMessageW(static_cast<HWND>(window), message, wParam, lParam);
}

int Win32SystemApi::LoadStringW(ModuleHandle module, std::uint32_t id, char16_t* buffer,
                                int bufferMax) {
    return ::LoadStringW(static_cast<HINSTANCE>(module), id, Wide(buffer), bufferMax);
}

int Win32SystemApi::MessageBoxW(WindowHandle owner, const char16_t* text,
                                const char16_t* caption, std::uint32_t type) {
    return ::MessageBoxW(static_cast<HWND>(owner), Wide(text), Wide(caption), type);
}

std::int16_t Win32SystemApi::GetKeyState(int virtualKey) { return ::GetKeyState(virtualKey); }

std::int32_t Win32SystemApi::SHGetFolderPathW(WindowHandle owner, int folder, void* token,
                                              std::uint32_t flags, char16_t* path) {
    return ::SHGetFolderPathW(static_cast<HWND>(owner), folder, static_cast<HANDLE>(token), flags,
                              Wide(path));
}

std::intptr_t Win32SystemApi::ShellExecuteW(WindowHandle owner, const char16_t* operation,
                                            const char16_t* file, const char16_t* parameters,
                                            const char16_t* directory, int showCommand) {
    return reinterpret_cast<std::intptr_t>(::ShellExecuteW(static_cast<HWND>(owner),
                                                           Wide(operation), Wide(file),
                                                           Wide(parameters), Wide(directory),
                                                           showCommand));
}

}  // namespace tollik::os
