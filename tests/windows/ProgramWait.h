#pragma once
// Waiting for a program the plug-in started, answering its windows the way
// a user dismisses them.

#include <windows.h>

#include <string>
#include <vector>

namespace tollik::host {

struct WaitedProgram {
    bool ended = false;
    DWORD exitCode = 0;                // when it ended
    std::vector<std::wstring> windows;  // each window's title, a line break, its edit's text
};

// Waits up to `milliseconds` for `process`. With `answerWindows`, each
// visible window of the process is read once and closed with Enter.
WaitedProgram WaitForProgram(HANDLE process, DWORD milliseconds, bool answerWindows);

// A ShellExecuteW call made through ShellExecuteExW, so that the program
// started can be waited for (as WaitForProgram) and its exit code read.
struct ShellStart {
    HINSTANCE result = nullptr;  // what ShellExecuteW would have returned
    bool started = false;
    DWORD error = 0;  // when not started
    WaitedProgram waited;
};
ShellStart ShellExecuteAndWait(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR directory, INT show, DWORD milliseconds, bool answerWindows);

}  // namespace tollik::host
