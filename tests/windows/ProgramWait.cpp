#include "ProgramWait.h"

#include <algorithm>

#include "StandInHost.h"

namespace tollik::host {
namespace {

struct WindowSearch {
    DWORD processId;
    const std::vector<HWND>* answered;
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != wanted.processId || !::IsWindowVisible(window)) return TRUE;
    if (std::find(wanted.answered->begin(), wanted.answered->end(), window) != wanted.answered->end())
        return TRUE;
    wanted.found = window;
    return FALSE;
}

}  // namespace

WaitedProgram WaitForProgram(HANDLE process, DWORD milliseconds, bool answerWindows) {
    constexpr DWORD kPoll = 20;
    WaitedProgram result;
    std::vector<HWND> answered;
    for (DWORD waited = 0; waited < milliseconds; waited += kPoll) {
        if (::WaitForSingleObject(process, kPoll) == WAIT_OBJECT_0) {
            result.ended = ::GetExitCodeProcess(process, &result.exitCode) != FALSE;
            return result;
        }
        if (!answerWindows) continue;
        WindowSearch search{::GetProcessId(process), &answered, nullptr};
        ::EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) continue;
        const HWND edit = ::FindWindowExW(search.found, nullptr, L"EDIT", nullptr);
        result.windows.push_back(WindowText(search.found) + L"\n" + (edit ? WindowText(edit) : L""));
        answered.push_back(search.found);
        ::PostMessageW(edit ? edit : search.found, WM_KEYDOWN, VK_RETURN, 0);
    }
    return result;
}

}  // namespace tollik::host
