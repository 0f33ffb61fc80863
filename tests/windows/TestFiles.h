#pragma once
// Files and command lines for the end-to-end tests under Wine: folders made
// and removed, whole files written and read, arguments quoted.

#include <windows.h>

#include <string>

namespace tollik::host {

void RemoveTree(const std::wstring& path);
void MakeFolders(const std::wstring& path);
// Writes the bytes, making the folders; a failed write fails the test.
void Write(const std::wstring& path, const std::string& bytes);
// The file's bytes, or "(missing)".
std::string Read(const std::wstring& path);
bool IsFolder(const std::wstring& path);
// An argument as CommandLineToArgvW reads it back.
std::wstring Quote(const std::wstring& arg);

}  // namespace tollik::host
