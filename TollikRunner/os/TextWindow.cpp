#include "os/TextWindow.h"

#include <memory>
#include <type_traits>
#include <utility>

#include "os/WindowGeometry.h"

namespace tollik::os {
namespace {

constexpr int kEditId = 100;
// At 96 DPI; scaled to the window's.
constexpr int kMargin = 8;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;
constexpr int kWindowWidth = 720;
constexpr int kWindowHeight = 460;

struct FontDeleter {
    void operator()(HFONT font) const noexcept { ::DeleteObject(font); }
};
using unique_hfont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// What the window procedure needs: the DPI it lays out for and the font made
// for that DPI, which the controls use and which must outlive them.
struct WindowState {
    UINT dpi = 96;
    unique_hfont font;
};

// The DPI of the monitor the window is on (GetDpiForWindow, Windows 10 1607
// on, looked up as older systems lack it); else the system's.
UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto getDpi = user32 == nullptr ? nullptr
                                          : reinterpret_cast<GetDpiForWindowFunction>(
                                                reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")));
    if (getDpi != nullptr) {
        if (const UINT dpi = getDpi(window); dpi != 0) return dpi;
    }
    const HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// The font the system uses for message boxes, so Japanese reads as it does
// there, at `dpi` (the metrics come at the system's DPI).
unique_hfont MessageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return nullptr;
    const HDC screen = ::GetDC(nullptr);
    const int systemDpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ::ReleaseDC(nullptr, screen);
    if (systemDpi > 0) metrics.lfMessageFont.lfHeight = ::MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
    return unique_hfont(::CreateFontIndirectW(&metrics.lfMessageFont));
}

// The controls get the new font before the old one is deleted; without a
// new one they keep the old.
void UseFont(HWND window, WindowState& state) {
    unique_hfont font = MessageFont(state.dpi);
    if (!font) return;
    for (const int id : {kEditId, IDOK})
        ::SendMessageW(::GetDlgItem(window, id), WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    state.font = std::move(font);
}

void Layout(HWND window, UINT dpi) {
    RECT area{};
    ::GetClientRect(window, &area);
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int margin = ScaleForDpi(kMargin, dpi);
    const int buttonWidth = ScaleForDpi(kButtonWidth, dpi);
    const int buttonHeight = ScaleForDpi(kButtonHeight, dpi);
    const int editHeight = height - buttonHeight - 3 * margin;
    ::MoveWindow(::GetDlgItem(window, kEditId), margin, margin, width - 2 * margin, editHeight > 0 ? editHeight : 0,
                 TRUE);
    ::MoveWindow(::GetDlgItem(window, IDOK), width - margin - buttonWidth, height - margin - buttonHeight,
                 buttonWidth, buttonHeight, TRUE);
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* const state = reinterpret_cast<WindowState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_SIZE:
            Layout(window, state != nullptr ? state->dpi : 96);
            return 0;
        case WM_DPICHANGED:
            // Moved to a monitor of another scaling: the size Windows suggests,
            // and the font and layout for the new DPI.
            if (state != nullptr) {
                state->dpi = HIWORD(wParam);
                UseFont(window, *state);
            }
            if (const auto* suggested = reinterpret_cast<const RECT*>(lParam); suggested != nullptr)
                ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
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

// Where the window opens: on the monitor of `editor` (the window in front
// when the runner started), centred in its work area, at that monitor's DPI.
void Place(HWND window, HWND editor, WindowState& state) {
    const HMONITOR monitor = ::MonitorFromWindow(editor, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) {
        state.dpi = WindowDpi(window);
        return;
    }
    const RECT& work = info.rcWork;
    // On that monitor first, so that the window takes its DPI.
    ::SetWindowPos(window, nullptr, work.left, work.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    state.dpi = WindowDpi(window);
    const Box placed = CentreIn(ScaleForDpi(kWindowWidth, state.dpi), ScaleForDpi(kWindowHeight, state.dpi),
                                {work.left, work.top, work.right, work.bottom});
    ::SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

bool RegisterOnce(HINSTANCE instance) {
    WNDCLASSEXW type{};
    if (::GetClassInfoExW(instance, kTextWindowClass, &type)) return true;
    type.cbSize = sizeof type;
    type.lpfnWndProc = WindowProcedure;
    type.hInstance = instance;
    // Both sizes from the icon file: the title bar's and the taskbar's, sharp at any DPI.
    type.hIcon = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kRunnerIconId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), 0));
    type.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kRunnerIconId), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), 0));
    type.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = kTextWindowClass;
    return ::RegisterClassExW(&type) != 0;
}

}  // namespace

bool ShowTextWindowOnScreen(HINSTANCE instance, HWND editor, const wchar_t* title, const wchar_t* text,
                            bool isError) {
    if (!RegisterOnce(instance)) return false;
    // No WS_EX_DLGMODALFRAME: it hides the icon in the title bar.
    const HWND window = ::CreateWindowExW(0, kTextWindowClass, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                          CW_USEDEFAULT, kWindowWidth, kWindowHeight, nullptr, nullptr, instance,
                                          nullptr);
    if (window == nullptr) return false;
    WindowState state;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    const HWND edit = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", nullptr,
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0, 0,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
    ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 0, 0, 0, window,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDOK)), instance, nullptr);
    Place(window, editor, state);
    UseFont(window, state);
    if (edit != nullptr) {
        ::SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // the largest the control allows
        ::SetWindowTextW(edit, text);
    }
    Layout(window, state.dpi);
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
