#include "os/TextWindow.h"

#include <memory>
#include <type_traits>

namespace tollik::os {
namespace {

constexpr int kEditId = 100;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

struct FontDeleter {
    void operator()(HFONT font) const noexcept { ::DeleteObject(font); }
};
using unique_hfont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// The font the system uses for message boxes, so Japanese reads as it does there.
unique_hfont MessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    return unique_hfont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

void Layout(HWND window) {
    RECT area{};
    ::GetClientRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int editHeight = height - kButtonHeight - 3 * kMargin;
    ::MoveWindow(::GetDlgItem(window, kEditId), kMargin, kMargin, width - 2 * kMargin,
                 editHeight > 0 ? editHeight : 0, TRUE);
    ::MoveWindow(::GetDlgItem(window, IDOK), width - kMargin - kButtonWidth, height - kMargin - kButtonHeight,
                 kButtonWidth, kButtonHeight, TRUE);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            Layout(window);
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) ::DestroyWindow(window);
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool RegisterOnce(HINSTANCE instance) {
    WNDCLASSEXW type{};
    if (::GetClassInfoExW(instance, kTextWindowClass, &type)) return true;
    type.cbSize = sizeof type;
    type.lpfnWndProc = WindowProcedure;
    type.hInstance = instance;
    type.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kRunnerIconId));
    type.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = kTextWindowClass;
    return ::RegisterClassExW(&type) != 0;
}

}  // namespace

bool ShowTextWindowOnScreen(HINSTANCE instance, const wchar_t* title, const wchar_t* text, bool isError) {
    if (!RegisterOnce(instance)) return false;
    const HWND window = ::CreateWindowExW(WS_EX_DLGMODALFRAME, kTextWindowClass, title, WS_OVERLAPPEDWINDOW,
                                          CW_USEDEFAULT, CW_USEDEFAULT, 720, 460, nullptr, nullptr, instance,
                                          nullptr);
    if (window == nullptr) return false;
    const HWND edit = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    const HWND button = ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                          0, 0, 0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)),
                                          instance, nullptr);
    const unique_hfont font = MessageFont();
    for (const HWND control : {edit, button})
        if (control != nullptr && font) ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    if (edit != nullptr) {
        ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // the largest the control allows
        ::SetWindowTextW(edit, text);
    }
    Layout(window);
    if (isError) ::MessageBeep(MB_ICONERROR);

    // The runner was started hidden, and a process's first ShowWindow takes
    // its starting state: the second call is the one that shows.
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::ShowWindow(window, SW_SHOWNORMAL);
    ::SetForegroundWindow(window);
    ::SetFocus(edit != nullptr ? edit : window);

    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN) {
            if (message.wParam == VK_ESCAPE || message.wParam == VK_RETURN) {
                ::DestroyWindow(window);
                continue;
            }
            // Select all, which a plain edit control does not do by itself.
            if (message.wParam == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000) != 0 && message.hwnd == edit) {
                ::SendMessageW(edit, EM_SETSEL, 0, -1);
                continue;
            }
        }
        if (::IsDialogMessageW(window, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

}  // namespace tollik::os
