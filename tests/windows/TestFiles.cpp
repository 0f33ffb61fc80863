#include "TestFiles.h"

#include <gtest/gtest.h>

#include "EditorReport.h"
#include "StandInHost.h"

namespace tollik::host {

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::RemoveDirectoryW(path.c_str());
}

void MakeFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
        ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    ::CreateDirectoryW(path.c_str(), nullptr);
}

void Write(const std::wstring& path, const std::string& bytes) {
    MakeFolders(path.substr(0, path.find_last_of(L'\\')));
    ASSERT_TRUE(WriteBytes(path, bytes)) << ToUtf8(path);
}

std::string Read(const std::wstring& path) {
    std::string bytes;
    return ReadBytes(path, bytes) ? bytes : "(missing)";
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// An argument as CommandLineToArgvW reads it back.
std::wstring Quote(const std::wstring& arg) {
    std::wstring out = L"\"";
    std::size_t slashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++slashes;
        } else {
            if (c == L'"') out.append(slashes + 1, L'\\');
            slashes = 0;
        }
        out += c;
    }
    out.append(slashes, L'\\');
    return out + L"\"";
}

}  // namespace tollik::host
