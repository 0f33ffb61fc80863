#include "StandInHost.h"

#include <stdexcept>
#include <vector>

namespace tollik::host {
namespace {

constexpr wchar_t kClassName[] = L"TollikStandInHost";

ATOM RegisterHostClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        return ::RegisterClassExW(&windowClass);
    }();
    return atom;
}

template <class Function>
void Bind(HMODULE module, const char* name, Function& target) {
    FARPROC found = ::GetProcAddress(module, name);
    if (found == nullptr) throw std::runtime_error(std::string("missing export ") + name);
    target = reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

}  // namespace

HostWindow::HostWindow() {
    if (RegisterHostClass(&HostWindow::Procedure) == 0) {
        throw std::runtime_error("cannot register the host window class");
    }
    // Message-only: no display is needed, and SendMessageW still reaches it.
    HWND window = ::CreateWindowExW(0, kClassName, L"Pellam", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) throw std::runtime_error("cannot create the host window");
    window_.reset(window);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message >= WM_USER) return self->editor.Handle(message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

Plugin::Plugin(const std::wstring& path) : module_(::LoadLibraryW(path.c_str())) {
    if (module_.get() == nullptr) {
        throw std::runtime_error("cannot load " + ToUtf8(path) + " (error " +
                                 std::to_string(::GetLastError()) + ")");
    }
    HMODULE m = module_.get();
    Bind(m, "OnCommand", exports_.OnCommand);
    Bind(m, "QueryStatus", exports_.QueryStatus);
    Bind(m, "GetMenuTextID", exports_.GetMenuTextID);
    Bind(m, "GetStatusMessageID", exports_.GetStatusMessageID);
    Bind(m, "GetIconID", exports_.GetIconID);
    Bind(m, "GetIconDarkID", exports_.GetIconDarkID);
    Bind(m, "OnEvents", exports_.OnEvents);
    Bind(m, "PluginProc", exports_.PluginProc);
}

std::wstring Plugin::LoadText(UINT id) const {
    const wchar_t* text = nullptr;
    // A size of 0 asks for a pointer into the resource itself.
    const int length = ::LoadStringW(module_.get(), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

std::wstring Plugin::Query(UINT code) const {
    const LRESULT length = exports_.PluginProc(nullptr, code, 0, 0);
    if (length <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'#');
    exports_.PluginProc(nullptr, code, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::wstring(buffer.data());
}

std::wstring ProgramFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            std::wstring full(path.data(), n);
            return full.substr(0, full.find_last_of(L'\\') + 1);
        }
        path.resize(path.size() * 2);
    }
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::wstring FromUtf8(const std::string& text) {
    if (text.empty()) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

void HoldControl(bool held) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_LCONTROL] = held ? 0x80 : 0;
    if (!::SetKeyboardState(keys)) throw std::runtime_error("cannot set the keyboard state");
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
}

}  // namespace tollik::host
