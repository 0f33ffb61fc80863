#pragma once
// The runner's window on the real screen: a read-only, scrollable text box
// with an OK button. Windows only.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace tollik::os {

// The window class name, for tests that look for the window.
inline constexpr wchar_t kTextWindowClass[] = L"TollikRunnerWindow";
// The resource id of the runner's icon.
inline constexpr int kRunnerIconId = 1;

// Returns when the user closes the window; false when it could not be made.
// It opens on the monitor of `editor` (null: the primary one).
bool ShowTextWindowOnScreen(HINSTANCE instance, HWND editor, const wchar_t* title, const wchar_t* text,
                            bool isError);

}  // namespace tollik::os
