#pragma once
// A stand-in for the host editor: a message-only window that answers the
// plug-in's messages from an EditorModel, and the plug-in loaded the way the
// host loads it, by file name and export names.

#include <windows.h>

#include <string>

#include "EditorModel.h"

namespace tollik::host {

// Owns one Windows object and releases it with `Close`, named after the
// object's type: unique_hwnd, unique_hmodule.
template <class T, auto Close>
class unique_any {
public:
    explicit unique_any(T value = nullptr) : value_(value) {}
    ~unique_any() { reset(); }
    unique_any(const unique_any&) = delete;
    unique_any& operator=(const unique_any&) = delete;
    T get() const { return value_; }
    void reset(T value = nullptr) {
        if (value_ != nullptr) Close(value_);
        value_ = value;
    }

private:
    T value_;
};

using unique_hwnd = unique_any<HWND, &::DestroyWindow>;
using unique_hmodule = unique_any<HMODULE, &::FreeLibrary>;

// The editor window. Messages from WM_USER up go to `editor`.
class HostWindow {
public:
    HostWindow();
    HWND handle() const { return window_.get(); }
    testing::EditorModel editor;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    unique_hwnd window_;
};

// The plug-in's exports, as the host declares them.
struct PluginExports {
    void (*OnCommand)(HWND) = nullptr;
    BOOL (*QueryStatus)(HWND, BOOL*) = nullptr;
    UINT (*GetMenuTextID)() = nullptr;
    UINT (*GetStatusMessageID)() = nullptr;
    UINT (*GetIconID)() = nullptr;
    UINT (*GetIconDarkID)() = nullptr;
    void (*OnEvents)() = nullptr;
    LRESULT (*PluginProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;
};

class Plugin {
public:
    // Loads the library at `path`; throws std::runtime_error when it cannot,
    // or when an export is missing.
    explicit Plugin(const std::wstring& path);
    HMODULE module() const { return module_.get(); }
    const PluginExports& exports() const { return exports_; }

    // A string resource of the plug-in, as the host loads menu and status texts.
    std::wstring LoadText(UINT id) const;
    // PluginProc's answer for `code`, fetched as a host does: length first.
    std::wstring Query(UINT code) const;

private:
    unique_hmodule module_;
    PluginExports exports_;
};

// Makes the Control key read as held (or not) for this thread, as
// GetKeyState sees it.
void HoldControl(bool held);

// The folder this program stands in, with a trailing backslash.
std::wstring ProgramFolder();

// UTF-16 to UTF-8 and back, for the console and for files.
std::string ToUtf8(const std::wstring& text);
// A window's text, also another process's (WM_GETTEXT, 5 s at most); empty
// when it does not answer.
std::wstring WindowText(HWND window);
std::wstring FromUtf8(const std::string& text);

}  // namespace tollik::host
