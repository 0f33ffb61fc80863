#pragma once
// An in-memory Windows for the native tests. It answers every call of the
// seam as Windows does, records each call by name, and fails any call on
// demand: with an error code (the call returns its failure value and sets
// the last error) or by throwing (a layer that breaks mid-way).

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "EditorModel.h"
#include "os/SystemApi.h"

namespace tollik::fake {

struct ShownMessageBox {
    os::WindowHandle owner;
    std::u16string text;
    std::u16string caption;
    std::uint32_t type;
};

class FakeWindows final : public os::SystemApi {
public:
    FakeWindows();

    // The world the code under test sees.
    std::uint32_t ansiCodePage = 1252;
    os::VersionInfo version{10, 0, 19045};
    std::map<std::uint32_t, std::u16string> stringResources;  // the plug-in's own
    testing::EditorModel host;
    os::WindowHandle hostWindow = reinterpret_cast<os::WindowHandle>(std::uintptr_t{0x000A0F3C});

    // What the code under test did.
    std::vector<std::string> calls;
    std::vector<ShownMessageBox> messageBoxes;
    int CallCount(std::string_view name) const;

    // Faults. `occurrence` counts calls of that name from 1; 0 means every call.
    void FailCall(std::string name, std::uint32_t error, int occurrence = 0);
    void ThrowOnCall(std::string name, int occurrence, std::function<void()> raise);

    // The seam.
    std::uint32_t GetACP() override;
    bool GetVersionExW(os::VersionInfo& info) override;
    std::uint32_t GetLastError() override;
    void SetLastError(std::uint32_t error) override;
    char16_t* lstrcpynW(char16_t* destination, const char16_t* source, int maxLength) override;
    os::LResult SendMessageW(os::WindowHandle window, std::uint32_t message, os::WParam wParam,
                             os::LParam lParam) override;
    int LoadStringW(os::ModuleHandle module, std::uint32_t id, char16_t* buffer,
                    int bufferMax) override;
    int MessageBoxW(os::WindowHandle owner, const char16_t* text, const char16_t* caption,
                    std::uint32_t type) override;

private:
    struct Fault {
        std::string name;
        int occurrence;
        std::uint32_t error;
        std::function<void()> raise;
    };

    // Records the call; throws when told to; true when the call must fail,
    // with the last error already set.
    bool Enter(std::string_view name);

    std::vector<Fault> faults_;
    std::map<std::string, int, std::less<>> counts_;
    std::uint32_t lastError_ = 0;
};

}  // namespace tollik::fake
