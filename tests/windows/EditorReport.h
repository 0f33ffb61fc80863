#pragma once
// What the stand-in editor saw during one command, written to a file by the
// editor and read back by the end-to-end tests: one "key=value" line per
// item, UTF-8, with tabs between the fields of a record and backslash
// escapes for tab, CR, LF and backslash inside a field.

#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace tollik::host {

struct ShownBox {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
    bool ownedByHost = false;
};

// One ShellExecuteW call of the plug-in, and how the program it named ended.
struct Launch {
    bool ownerGiven = false;  // a window, where the plug-in should give none
    std::wstring operation;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    bool directoryGiven = false;  // a text, not a null pointer
    int show = -1;
    std::wstring exitCode;  // a number, or why there is none
};

struct EditorReport {
    std::size_t hostMessages = 0;
    bool paintingResumed = false;
    bool selectionRestored = false;
    std::size_t capturedUnits = 0;
    std::vector<ShownBox> boxes;
    std::vector<Launch> launches;
};

void WriteReport(const std::wstring& path, const EditorReport& report);
// Throws std::runtime_error when the file is missing or malformed.
EditorReport ReadReport(const std::wstring& path);
// For people: one line per item.
std::wstring FormatReport(const EditorReport& report);

// A whole file's bytes; false when it cannot be opened.
bool ReadBytes(const std::wstring& path, std::string& bytes);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::wstring FromCodePage(UINT codePage, const std::string& bytes);

}  // namespace tollik::host
