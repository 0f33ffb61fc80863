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

}  // namespace tollik::host
