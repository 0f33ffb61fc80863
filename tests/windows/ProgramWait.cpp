#include "ProgramWait.h"

#include <algorithm>

// After windows.h, which it builds on.
#include <shellapi.h>

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

ShellStart ShellExecuteAndWait(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                               LPCWSTR directory, INT show, DWORD milliseconds, bool answerWindows) {
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.hwnd = owner;
    info.lpVerb = operation;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = show;
    ShellStart start;
    start.started = ::ShellExecuteExW(&info) != FALSE;
    start.error = start.started ? 0 : ::GetLastError();
    start.result = info.hInstApp;
    if (start.started && info.hProcess != nullptr) {
        start.waited = WaitForProgram(info.hProcess, milliseconds, answerWindows);
        ::CloseHandle(info.hProcess);
    }
    return start;
}

}  // namespace tollik::host
