#include "FakeWindows.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <utility>

#include "AllocationFaults.h"
#include "FakeCodePages.h"
#include "FakeText.h"
#include "PluginApi/PluginInfo.h"

namespace tollik::fake {

namespace {

// Every call this fake answers, as Enter records it.
constexpr std::string_view kCallNames[] = {
    "CharUpperBuffW", "CharUpperW", "CloseHandle", "CreateDirectoryW", "CreateFileW",
    "FindClose", "FindFirstFileW", "FindNextFileW", "FormatMessageW", "GetACP", "GetCurrentPackageFullName",
    "GetDiskFreeSpaceExW", "GetDiskFreeSpaceW", "GetDriveTypeW", "GetFileAttributesW",
    "GetFileSizeEx", "GetFileType", "GetFullPathNameW", "GetKeyState", "GetLongPathNameW",
    "GetModuleFileNameW", "GetModuleHandleW", "GetProcAddress", "GetTempPathW", "GetVersionExW",
    "LoadStringW", "LocalFree", "MessageBoxW", "MultiByteToWideChar", "ReadFile",
    "SHGetFolderPathW", "SendMessageW", "SetErrorMode", "ShellExecuteW", "VirtualAlloc",
    "VirtualFree", "WideCharToMultiByte", "WriteFile", "lstrcpynW",
};

std::string Hex(std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

}  // namespace

FakeWindows::FakeWindows() {
    // The same texts the resource script gives the real library.
    stringResources[IDS_MENU_TEXT] = u"" TOLLIK_PLUGIN_NAME;
    stringResources[IDS_STATUS_MESSAGE] = u"" TOLLIK_STATUS_MESSAGE;
    stringResources[IDS_PLUGIN_NAME] = kPluginName;
    stringResources[IDS_PLUGIN_VERSION] = kPluginVersion;
    files.AddFolder(appDataFolder);
    files.AddFolder(tempPath);
    // Windows' own wording, ending as the message table's entries do.
    systemMessages = {
        {os::kErrorFileNotFound, u"The system cannot find the file specified.\r\n"},
        {os::kErrorPathNotFound, u"The system cannot find the path specified.\r\n"},
        {os::kErrorAccessDenied, u"Access is denied.\r\n"},
        {os::kErrorWriteProtect, u"The media is write protected.\r\n"},
        {os::kErrorNotReady, u"The device is not ready.\r\n"},
        {os::kErrorSharingViolation,
         u"The process cannot access the file because it is being used by another process.\r\n"},
        {os::kErrorBadNetpath, u"The network path was not found.\r\n"},
        {os::kErrorInvalidParameter, u"The parameter is incorrect.\r\n"},
        {os::kErrorDiskFull, u"There is not enough space on the disk.\r\n"},
        {129, u"The %1 application cannot be run in Win32 mode.\r\n"},
    };
}

int FakeWindows::CallCount(std::string_view name) const {
    const auto found = counts_.find(name);
    return found == counts_.end() ? 0 : found->second;
}

void FakeWindows::ForgetCalls() {
    calls.clear();
    callArguments.clear();
    trace.clear();
    counts_.clear();
}

bool FakeWindows::KnowsCall(std::string_view name) const {
    return std::find(std::begin(kCallNames), std::end(kCallNames), name) != std::end(kCallNames);
}

void FakeWindows::RequireKnownCall(const std::string& name, const char* what) const {
    if (!KnowsCall(name))
        throw std::invalid_argument(std::string(what) + ": the fake has no call named \"" + name + "\"");
}

void FakeWindows::FailCall(std::string name, std::uint32_t error, int occurrence) {
    RequireKnownCall(name, "FailCall");
    faults_.push_back({std::move(name), occurrence, error, nullptr});
}

void FakeWindows::ThrowOnCall(std::string name, int occurrence, std::function<void()> raise) {
    RequireKnownCall(name, "ThrowOnCall");
    faults_.push_back({std::move(name), occurrence, 0, std::move(raise)});
}

void FakeWindows::OnCall(std::string name, int occurrence, std::function<void()> action) {
    RequireKnownCall(name, "OnCall");
    faults_.push_back({std::move(name), occurrence, 0, std::move(action), true});
}

bool FakeWindows::Enter(std::string_view name, std::string argument) {
    if (!KnowsCall(name)) throw std::logic_error("the fake's list of calls lacks " + std::string(name));
    calls.emplace_back(name);
    callArguments.push_back(std::move(argument));
    auto counted = counts_.find(name);
    if (counted == counts_.end()) counted = counts_.emplace(std::string(name), 0).first;
    const int occurrence = ++counted->second;
    for (const Fault& fault : faults_) {
        if (fault.name != name || (fault.occurrence != 0 && fault.occurrence != occurrence)) continue;
        if (fault.raise) fault.raise();
        if (fault.proceed) continue;
        lastError_ = fault.error;
        return true;
    }
    return false;
}

bool FakeWindows::EnterTraced(std::string_view name, const char16_t* argument) {
    std::string text = argument ? Utf8(argument) : std::string("(null)");
    trace.push_back(std::string(name) + " " + text);
    return Enter(name, std::move(text));
}

std::uint32_t FakeWindows::GetACP() {
    const AllocationFaultPause system;
    Enter("GetACP");  // cannot fail
    return ansiCodePage;
}

bool FakeWindows::GetVersionExW(os::VersionInfo& info) {
    const AllocationFaultPause system;
    if (Enter("GetVersionExW")) return false;
    info = version;
    return true;
}

std::uint32_t FakeWindows::GetLastError() { return lastError_; }

void FakeWindows::SetLastError(std::uint32_t error) { lastError_ = error; }

char16_t* FakeWindows::lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) {
    const AllocationFaultPause system;
    if (Enter("lstrcpynW")) return nullptr;
    // Windows' rule: at most maxLength - 1 units, then a NUL when there is room.
    auto count = static_cast<unsigned>(maxLength);
    char16_t* d = destination;
    while (count > 1 && *source != u'\0') {
        --count;
        *d++ = *source++;
    }
    if (count != 0) *d = u'\0';
    return destination;
}

os::LResult FakeWindows::SendMessageW(os::WindowHandle window, std::uint32_t message,
                                      os::WParam wParam, os::LParam lParam) {
    const AllocationFaultPause system;
    if (Enter("SendMessageW", "message=" + Hex(message) + " wParam=" + std::to_string(wParam)))
        return 0;
    if (window != hostWindow) {
        lastError_ = os::kErrorInvalidWindowHandle;
        return 0;
    }
    return host.Handle(message, wParam, lParam);
}

int FakeWindows::LoadStringW(os::ModuleHandle, std::uint32_t id, char16_t* buffer,
                             int bufferMax) {
    const AllocationFaultPause system;
    if (Enter("LoadStringW")) return 0;
    const auto found = stringResources.find(id);
    if (found == stringResources.end()) {
        lastError_ = os::kErrorResourceNameNotFound;
        return 0;
    }
    if (buffer == nullptr || bufferMax <= 0) return 0;
    const std::size_t n =
        std::min(found->second.size(), static_cast<std::size_t>(bufferMax) - 1);
    std::copy_n(found->second.data(), n, buffer);
    buffer[n] = u'\0';
    return static_cast<int>(n);
}

std::int32_t FakeWindows::SHGetFolderPathW(os::WindowHandle, int folder, void* token,
                                           std::uint32_t flags, char16_t* path) {
    const AllocationFaultPause system;
    path[0] = u'\0';
    if (Enter("SHGetFolderPathW")) return os::kEFail;
    if (folder != os::kCsidlAppData || token != nullptr || flags != 0) return os::kEInvalidArg;
    // The Unicode form fails with E_FAIL for a folder that does not exist.
    if (appDataFolder.empty() || appDataFolder.size() > 260 || !files.IsFolder(appDataFolder))
        return os::kEFail;
    std::copy(appDataFolder.begin(), appDataFolder.end(), path);
    path[appDataFolder.size()] = u'\0';
    return os::kSOk;
}

int FakeWindows::MessageBoxW(os::WindowHandle owner, const char16_t* text,
                             const char16_t* caption, std::uint32_t type) {
    const AllocationFaultPause system;
    if (Enter("MessageBoxW")) return 0;
    messageBoxes.push_back({owner, text, caption, type});
    return 1;  // IDOK
}

std::int16_t FakeWindows::GetKeyState(int virtualKey) {
    const AllocationFaultPause system;
    Enter("GetKeyState");  // cannot fail
    const auto found = keyStates.find(virtualKey);
    return found == keyStates.end() ? std::int16_t{0} : found->second;
}

std::intptr_t FakeWindows::ShellExecuteW(os::WindowHandle owner, const char16_t* operation,
                                         const char16_t* file, const char16_t* parameters,
                                         const char16_t* directory, int showCommand) {
    const AllocationFaultPause system;
    const auto text = [](const char16_t* value) { return value ? std::u16string(value) : u""; };
    ShellExecution& execution = shellExecutions.emplace_back(
        ShellExecution{owner, text(operation), text(file), text(parameters), text(directory),
                       showCommand, false});
    if (Enter("ShellExecuteW")) return static_cast<std::intptr_t>(lastError_);
    // The shell starts a program that is there as a file, and otherwise
    // answers ERROR_FILE_NOT_FOUND, which doubles as its SE_ERR_FNF.
    const std::u16string path = text(file);
    if (path.empty() || !files.Exists(path) || files.IsFolder(path)) {
        lastError_ = os::kErrorFileNotFound;
        return static_cast<std::intptr_t>(os::kErrorFileNotFound);
    }
    execution.started = true;
    return 42;
}

std::uint32_t FakeWindows::GetModuleFileNameW(os::ModuleHandle module, char16_t* fileName,
                                              std::uint32_t size) {
    const AllocationFaultPause system;
    if (Enter("GetModuleFileNameW")) return 0;
    if (module != nullptr) {
        lastError_ = os::kErrorModNotFound;
        return 0;
    }
    // Vista and later: a name that does not fit is cut to size - 1 units and a
    // NUL, and the result is the size with ERROR_INSUFFICIENT_BUFFER.
    if (executablePath.size() + 1 > size) {
        if (size == 0) return 0;
        std::copy_n(executablePath.begin(), size - 1, fileName);
        fileName[size - 1] = u'\0';
        lastError_ = os::kErrorInsufficientBuffer;
        return size;
    }
    std::copy(executablePath.begin(), executablePath.end(), fileName);
    fileName[executablePath.size()] = u'\0';
    lastError_ = os::kErrorSuccess;
    return static_cast<std::uint32_t>(executablePath.size());
}

std::uint32_t FakeWindows::GetFullPathNameW(const char16_t* fileName, std::uint32_t bufferLength,
                                            char16_t* buffer, char16_t** filePart) {
    const AllocationFaultPause system;
    if (EnterTraced("GetFullPathNameW", fileName)) return 0;
    const std::optional<std::u16string> full = files.FullPath(fileName);
    if (!full) return 0;  // as Wine does: no error code for a refused path
    // Too small a buffer is left alone; the answer is the size it would need.
    if (full->size() + 1 > bufferLength) return static_cast<std::uint32_t>(full->size() + 1);
    std::copy(full->begin(), full->end(), buffer);
    buffer[full->size()] = u'\0';
    if (filePart != nullptr) {
        const std::size_t slash = full->find_last_of(u'\\');
        // A device ("\\.\NUL") has no file part.
        const bool device = full->starts_with(u"\\\\.\\") && slash == 3;
        *filePart = slash + 1 < full->size() && !device ? buffer + slash + 1 : nullptr;
    }
    return static_cast<std::uint32_t>(full->size());
}

std::uint32_t FakeWindows::GetFileAttributesW(const char16_t* fileName) {
    const AllocationFaultPause system;
    if (EnterTraced("GetFileAttributesW", fileName)) return os::kInvalidFileAttributes;
    return files.GetFileAttributes(fileName, lastError_);
}

os::SearchHandle FakeWindows::FindFirstFileW(const char16_t* fileName, os::FindData& findData) {
    const AllocationFaultPause system;
    if (EnterTraced("FindFirstFileW", fileName)) return os::InvalidHandleValue();
    return files.FindFirstFile(fileName, findData, lastError_);
}

bool FakeWindows::FindNextFileW(os::SearchHandle search, os::FindData& findData) {
    const AllocationFaultPause system;
    if (Enter("FindNextFileW")) return false;
    return files.FindNextFile(search, findData, lastError_);
}

bool FakeWindows::FindClose(os::SearchHandle search) {
    const AllocationFaultPause system;
    if (Enter("FindClose")) {
        // Refused or not, the handle is gone: there is nothing to retry.
        std::uint32_t ignored = 0;
        files.FindClose(search, ignored);
        return false;
    }
    return files.FindClose(search, lastError_);
}

os::FileHandle FakeWindows::CreateFileW(const char16_t* fileName, std::uint32_t desiredAccess,
                                        std::uint32_t shareMode,
                                        std::uint32_t creationDisposition,
                                        std::uint32_t flagsAndAttributes) {
    const AllocationFaultPause system;
    trace.push_back("CreateFileW " + Utf8(fileName) + " access=" + Hex(desiredAccess) +
                    " share=" + Hex(shareMode) + " disposition=" + Hex(creationDisposition) +
                    " flags=" + Hex(flagsAndAttributes));
    if (Enter("CreateFileW", Utf8(fileName))) return os::InvalidHandleValue();
    return files.CreateFile(fileName, desiredAccess, shareMode, creationDisposition,
                            flagsAndAttributes, lastError_);
}

bool FakeWindows::CloseHandle(os::FileHandle object) {
    const AllocationFaultPause system;
    if (Enter("CloseHandle")) {
        // A write the cache could not flush is reported at the close, yet the
        // handle is closed all the same.
        std::uint32_t ignored = 0;
        files.CloseHandle(object, ignored);
        return false;
    }
    return files.CloseHandle(object, lastError_);
}

std::uint32_t FakeWindows::GetFileType(os::FileHandle file) {
    const AllocationFaultPause system;
    if (Enter("GetFileType")) return os::kFileTypeUnknown;
    return files.GetFileType(file, lastError_);
}

bool FakeWindows::WriteFile(os::FileHandle file, const void* buffer, std::uint32_t bytesToWrite,
                            std::uint32_t* bytesWritten) {
    const AllocationFaultPause system;
    writeSizes.push_back(bytesToWrite);
    std::uint32_t written = 0;
    bool ok = false;
    if (!Enter("WriteFile")) ok = files.WriteFile(file, buffer, bytesToWrite, written, lastError_);
    if (bytesWritten != nullptr) *bytesWritten = written;
    return ok;
}

bool FakeWindows::ReadFile(os::FileHandle file, void* buffer, std::uint32_t bytesToRead,
                           std::uint32_t* bytesRead) {
    const AllocationFaultPause system;
    trace.push_back("ReadFile " + std::to_string(bytesToRead));
    std::uint32_t read = 0;
    bool ok = false;
    if (!Enter("ReadFile")) ok = files.ReadFile(file, buffer, bytesToRead, read, lastError_);
    if (bytesRead != nullptr) *bytesRead = read;
    return ok;
}

bool FakeWindows::GetFileSizeEx(os::FileHandle file, std::int64_t* fileSize) {
    const AllocationFaultPause system;
    if (Enter("GetFileSizeEx")) return false;
    std::int64_t size = 0;
    if (!files.GetFileSize(file, size, lastError_)) return false;
    *fileSize = size;
    return true;
}

bool FakeWindows::CreateDirectoryW(const char16_t* pathName) {
    const AllocationFaultPause system;
    if (EnterTraced("CreateDirectoryW", pathName)) return false;
    return files.CreateDirectory(pathName, lastError_);
}

namespace {

// Windows' convention for a text result: the units written without the NUL,
// or the size needed with it when the buffer is too small.
std::uint32_t AnswerText(const std::u16string& text, char16_t* buffer, std::uint32_t bufferLength) {
    if (text.size() + 1 > bufferLength) return static_cast<std::uint32_t>(text.size() + 1);
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = u'\0';
    return static_cast<std::uint32_t>(text.size());
}

}  // namespace

std::uint32_t FakeWindows::GetTempPathW(std::uint32_t bufferLength, char16_t* buffer) {
    const AllocationFaultPause system;
    if (Enter("GetTempPathW")) return 0;
    // Named, not checked: the folder need not exist.
    return AnswerText(tempPath, buffer, bufferLength);
}

std::uint32_t FakeWindows::GetLongPathNameW(const char16_t* shortPath, char16_t* longPath,
                                            std::uint32_t bufferLength) {
    const AllocationFaultPause system;
    if (EnterTraced("GetLongPathNameW", shortPath)) return 0;
    if (shortPath == nullptr) {
        lastError_ = os::kErrorInvalidParameter;
        return 0;
    }
    const std::optional<std::u16string> found = files.LongPath(shortPath, lastError_);
    if (!found) return 0;
    return AnswerText(*found, longPath, bufferLength);
}

std::uint32_t FakeWindows::GetDriveTypeW(const char16_t* rootPathName) {
    const AllocationFaultPause system;
    if (EnterTraced("GetDriveTypeW", rootPathName)) return os::kDriveUnknown;
    return files.GetDriveType(rootPathName);
}

std::uint32_t FakeWindows::SetErrorMode(std::uint32_t mode) {
    const AllocationFaultPause system;
    Enter("SetErrorMode");  // cannot fail
    return std::exchange(files.errorMode, mode);
}

os::ModuleHandle FakeWindows::GetModuleHandleW(const char16_t* moduleName) {
    const AllocationFaultPause system;
    if (EnterTraced("GetModuleHandleW", moduleName)) return nullptr;
    if (moduleName != nullptr && EqualNoCase(moduleName, u"kernel32.dll")) return &kernel32_;
    lastError_ = os::kErrorModNotFound;
    return nullptr;
}

os::ProcAddress FakeWindows::GetProcAddress(os::ModuleHandle module, const char* procName) {
    const AllocationFaultPause system;
    if (Enter("GetProcAddress")) return nullptr;
    if (module == &kernel32_ && hasDiskFreeSpaceEx &&
        std::strcmp(procName, "GetDiskFreeSpaceExW") == 0)
        return &diskFreeSpaceEx_;
    if (module == &kernel32_ && hasPackageFunctions &&
        std::strcmp(procName, "GetCurrentPackageFullName") == 0)
        return &currentPackageFullName_;
    lastError_ = os::kErrorProcNotFound;
    return nullptr;
}

bool FakeWindows::GetDiskFreeSpaceExW(os::ProcAddress function, const char16_t* directoryName,
                                      std::uint64_t* freeBytesAvailableToCaller,
                                      std::uint64_t* totalNumberOfBytes,
                                      std::uint64_t* totalNumberOfFreeBytes) {
    const AllocationFaultPause system;
    // Calling anything but the address handed out would crash the host.
    if (function != &diskFreeSpaceEx_)
        throw std::logic_error("GetDiskFreeSpaceExW called through a wrong address");
    if (EnterTraced("GetDiskFreeSpaceExW", directoryName)) return false;
    std::uint64_t total = 0, free = 0;
    if (!files.DiskSpace(directoryName, total, free, lastError_)) return false;
    if (freeBytesAvailableToCaller) *freeBytesAvailableToCaller = free;
    if (totalNumberOfBytes) *totalNumberOfBytes = total;
    if (totalNumberOfFreeBytes) *totalNumberOfFreeBytes = free;
    return true;
}

bool FakeWindows::GetDiskFreeSpaceW(const char16_t* rootPathName,
                                    std::uint32_t* sectorsPerCluster,
                                    std::uint32_t* bytesPerSector,
                                    std::uint32_t* numberOfFreeClusters,
                                    std::uint32_t* totalNumberOfClusters) {
    const AllocationFaultPause system;
    if (EnterTraced("GetDiskFreeSpaceW", rootPathName)) return false;
    std::uint64_t total = 0, free = 0;
    if (!files.DiskSpace(rootPathName, total, free, lastError_)) return false;
    // 4 KiB clusters of eight 512-byte sectors; counts stop at 32 bits.
    const auto clusters = [](std::uint64_t bytes) {
        return static_cast<std::uint32_t>(std::min<std::uint64_t>(bytes / 4096, UINT32_MAX));
    };
    *sectorsPerCluster = 8;
    *bytesPerSector = 512;
    *numberOfFreeClusters = clusters(free);
    *totalNumberOfClusters = clusters(total);
    return true;
}

int FakeWindows::WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags,
                                     const char16_t* wideText, int wideLength,
                                     char* multiByteText, int multiByteSize,
                                     const char* defaultChar, std::int32_t* usedDefaultChar) {
    const AllocationFaultPause system;
    trace.push_back("WideCharToMultiByte cp=" + std::to_string(codePage) +
                    " flags=" + Hex(flags) + " size=" + std::to_string(multiByteSize) +
                    (defaultChar ? " defaultChar" : "") + (usedDefaultChar ? " usedDefaultChar" : ""));
    if (Enter("WideCharToMultiByte")) return 0;
    if (codePage == os::kCpAcp) codePage = ansiCodePage;
    if (wideText == nullptr || wideLength == 0 || wideLength < -1 || multiByteSize < 0 ||
        (multiByteSize > 0 && multiByteText == nullptr) || !IsKnownCodePage(codePage) ||
        (codePage == os::kCpUtf8 && (defaultChar != nullptr || usedDefaultChar != nullptr))) {
        lastError_ = os::kErrorInvalidParameter;
        return 0;
    }
    // UTF-8 takes no best-fit flag.
    if (flags != 0 && (flags != os::kWcNoBestFitChars || codePage == os::kCpUtf8)) {
        lastError_ = os::kErrorInvalidFlags;
        return 0;
    }
    const std::size_t length = wideLength == -1 ? std::char_traits<char16_t>::length(wideText) + 1
                                                : static_cast<std::size_t>(wideLength);
    bool used = false;
    const std::string bytes = EncodeForCodePage(codePage, std::u16string_view(wideText, length),
                                                flags == os::kWcNoBestFitChars, &used);
    if (usedDefaultChar) *usedDefaultChar = used;
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        lastError_ = os::kErrorArithmeticOverflow;
        return 0;
    }
    if (multiByteSize == 0) return static_cast<int>(bytes.size());
    if (bytes.size() > static_cast<std::size_t>(multiByteSize)) {
        lastError_ = os::kErrorInsufficientBuffer;
        return 0;
    }
    std::memcpy(multiByteText, bytes.data(), bytes.size());
    return static_cast<int>(bytes.size());
}

int FakeWindows::MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags,
                                     const char* multiByteText, int multiByteLength,
                                     char16_t* wideText, int wideSize) {
    const AllocationFaultPause system;
    trace.push_back("MultiByteToWideChar cp=" + std::to_string(codePage) + " flags=" + Hex(flags) +
                    " size=" + std::to_string(wideSize));
    if (Enter("MultiByteToWideChar")) return 0;
    if (multiByteText == nullptr || multiByteLength == 0 || multiByteLength < -1 || wideSize < 0 ||
        (wideSize > 0 && wideText == nullptr)) {
        lastError_ = os::kErrorInvalidParameter;
        return 0;
    }
    // UTF-8 with or without the strict flag; the ANSI code page without flags.
    if (codePage == os::kCpAcp) codePage = ansiCodePage;
    if (!IsKnownCodePage(codePage)) {
        lastError_ = os::kErrorInvalidParameter;
        return 0;
    }
    if ((flags & ~os::kMbErrInvalidChars) != 0 || (flags != 0 && codePage != os::kCpUtf8)) {
        lastError_ = os::kErrorInvalidFlags;
        return 0;
    }
    const std::size_t length = multiByteLength == -1 ? std::strlen(multiByteText) + 1
                                                     : static_cast<std::size_t>(multiByteLength);
    const std::string_view bytes(multiByteText, length);
    const std::optional<std::u16string> text =
        codePage == os::kCpUtf8 ? DecodeUtf8(bytes, (flags & os::kMbErrInvalidChars) != 0)
                                : std::optional<std::u16string>(DecodeFromCodePage(codePage, bytes));
    if (!text) {
        lastError_ = os::kErrorNoUnicodeTranslation;
        return 0;
    }
    if (wideSize == 0) return static_cast<int>(text->size());
    if (text->size() > static_cast<std::size_t>(wideSize)) {
        lastError_ = os::kErrorInsufficientBuffer;
        return 0;
    }
    std::copy(text->begin(), text->end(), wideText);
    return static_cast<int>(text->size());
}

std::uint32_t FakeWindows::FormatMessageW(std::uint32_t flags, std::uint32_t messageId,
                                          std::uint32_t languageId, char16_t** buffer) {
    const AllocationFaultPause system;
    *buffer = nullptr;
    if (Enter("FormatMessageW")) return 0;
    if ((flags & os::kFormatMessageAllocateBuffer) == 0 ||
        (flags & os::kFormatMessageFromSystem) == 0) {
        lastError_ = os::kErrorInvalidParameter;
        return 0;
    }
    constexpr std::uint32_t kErrorResourceLangNotFound = 1815;
    if (languageId != 0 && languageId != 0x0409) {
        lastError_ = kErrorResourceLangNotFound;
        return 0;
    }
    const auto found = systemMessages.find(messageId);
    if (found == systemMessages.end()) {
        lastError_ = os::kErrorMrMidNotFound;
        return 0;
    }
    const std::u16string& text = found->second;
    // Without the argument list Windows would read inserts from nowhere.
    if ((flags & os::kFormatMessageIgnoreInserts) == 0 && text.find(u'%') != std::u16string::npos)
        throw std::logic_error("FormatMessageW would expand an insert without arguments");
    auto memory = std::make_unique<char16_t[]>(text.size() + 1);
    std::copy(text.begin(), text.end(), memory.get());
    *buffer = memory.get();
    localAllocations_.emplace(memory.get(), std::move(memory));
    return static_cast<std::uint32_t>(text.size());
}

void* FakeWindows::LocalFree(void* memory) {
    const AllocationFaultPause system;
    Enter("LocalFree");  // cannot fail for memory the system handed out
    if (memory == nullptr) return nullptr;
    if (localAllocations_.erase(memory) == 0) {
        lastError_ = os::kErrorInvalidHandle;
        return memory;
    }
    return nullptr;
}

void* FakeWindows::VirtualAlloc(std::size_t size, std::uint32_t, std::uint32_t) {
    const AllocationFaultPause system;
    if (Enter("VirtualAlloc", std::to_string(size))) return nullptr;
    auto pages = std::make_unique<char[]>(size);  // reading as zero, as committed pages do
    return pages_.emplace(pages.get(), std::move(pages)).first->first;
}

bool FakeWindows::VirtualFree(void* address, std::size_t size, std::uint32_t freeType) {
    const AllocationFaultPause system;
    Enter("VirtualFree");  // cannot fail for pages the system handed out
    return freeType == os::kMemRelease && size == 0 && pages_.erase(address) == 1;
}

std::int32_t FakeWindows::GetCurrentPackageFullName(os::ProcAddress function,
                                                    std::uint32_t* length, char16_t* name) {
    const AllocationFaultPause system;
    if (function != &currentPackageFullName_)
        throw std::logic_error("GetCurrentPackageFullName called through a wrong address");
    if (Enter("GetCurrentPackageFullName")) return static_cast<std::int32_t>(lastError_);
    if (!packageFullName.has_value()) return os::kAppModelErrorNoPackage;
    const auto needed = static_cast<std::uint32_t>(packageFullName->size() + 1);
    if (*length < needed || name == nullptr) {
        *length = needed;
        return static_cast<std::int32_t>(os::kErrorInsufficientBuffer);
    }
    std::copy(packageFullName->begin(), packageFullName->end(), name);
    name[packageFullName->size()] = u'\0';
    *length = needed;
    return static_cast<std::int32_t>(os::kErrorSuccess);
}

char16_t* FakeWindows::CharUpperW(char16_t* text) {
    const AllocationFaultPause system;
    Enter("CharUpperW");  // cannot fail
    for (char16_t* unit = text; *unit != u'\0'; ++unit) *unit = UpperUnit(*unit);
    return text;
}

std::uint32_t FakeWindows::CharUpperBuffW(char16_t* text, std::uint32_t length) {
    const AllocationFaultPause system;
    Enter("CharUpperBuffW");  // cannot fail
    for (std::uint32_t i = 0; i < length; ++i) text[i] = UpperUnit(text[i]);
    return length;
}

}  // namespace tollik::fake
