#include "FakeWindows.h"

#include <algorithm>

#include "PluginApi/PluginInfo.h"

namespace tollik::fake {

FakeWindows::FakeWindows() {
    // The same texts the resource script gives the real library.
    stringResources[IDS_MENU_TEXT] = u"HSP コンパイル/実行";
    stringResources[IDS_STATUS_MESSAGE] = u"HSP コンパイル/実行|HSP でコンパイル/実行します。";
    stringResources[IDS_PLUGIN_NAME] = kPluginName;
    stringResources[IDS_PLUGIN_VERSION] = kPluginVersion;
}

int FakeWindows::CallCount(std::string_view name) const {
    const auto found = counts_.find(name);
    return found == counts_.end() ? 0 : found->second;
}

void FakeWindows::FailCall(std::string name, std::uint32_t error, int occurrence) {
    faults_.push_back({std::move(name), occurrence, error, nullptr});
}

void FakeWindows::ThrowOnCall(std::string name, int occurrence, std::function<void()> raise) {
    faults_.push_back({std::move(name), occurrence, 0, std::move(raise)});
}

bool FakeWindows::Enter(std::string_view name) {
    calls.emplace_back(name);
    auto counted = counts_.find(name);
    if (counted == counts_.end()) counted = counts_.emplace(std::string(name), 0).first;
    const int occurrence = ++counted->second;
    for (const Fault& fault : faults_) {
        if (fault.name != name || (fault.occurrence != 0 && fault.occurrence != occurrence)) continue;
        if (fault.raise) fault.raise();
        lastError_ = fault.error;
        return true;
    }
    return false;
}

std::uint32_t FakeWindows::GetACP() {
    Enter("GetACP");  // cannot fail
    return ansiCodePage;
}

bool FakeWindows::GetVersionExW(os::VersionInfo& info) {
    if (Enter("GetVersionExW")) return false;
    info = version;
    return true;
}

std::uint32_t FakeWindows::GetLastError() { return lastError_; }

void FakeWindows::SetLastError(std::uint32_t error) { lastError_ = error; }

char16_t* FakeWindows::lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) {
    if (Enter("lstrcpynW")) return nullptr;
    // Windows' rule: at most maxLength - 1 units, then a NUL when there is room.
    auto count = static_cast<unsigned>(maxLength);
    char16_t* d = destination;
    while (count > 1 && *source != u'\0') {
        --count;
        *d++ = *source++;
    }
    if (count != 0) *d = u'\0';
    return destination;
}

os::LResult FakeWindows::SendMessageW(os::WindowHandle window, std::uint32_t message,
                                      os::WParam wParam, os::LParam lParam) {
    if (Enter("SendMessageW")) return 0;
    if (window != hostWindow) {
        lastError_ = os::kErrorInvalidWindowHandle;
        return 0;
    }
    return host.Handle(message, wParam, lParam);
}

int FakeWindows::LoadStringW(os::ModuleHandle, std::uint32_t id, char16_t* buffer,
                             int bufferMax) {
    if (Enter("LoadStringW")) return 0;
    const auto found = stringResources.find(id);
    if (found == stringResources.end()) {
        lastError_ = os::kErrorResourceNameNotFound;
        return 0;
    }
    if (buffer == nullptr || bufferMax <= 0) return 0;
    const std::size_t n =
        std::min(found->second.size(), static_cast<std::size_t>(bufferMax) - 1);
    std::copy_n(found->second.data(), n, buffer);
    buffer[n] = u'\0';
    return static_cast<int>(n);
}

int FakeWindows::MessageBoxW(os::WindowHandle owner, const char16_t* text,
                             const char16_t* caption, std::uint32_t type) {
    if (Enter("MessageBoxW")) return 0;
    messageBoxes.push_back({owner, text, caption, type});
    return 1;  // IDOK
}

}  // namespace tollik::fake
