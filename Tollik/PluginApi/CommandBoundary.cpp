#include "PluginApi/CommandBoundary.h"

#include <new>

#include "Failure.h"
#include "PluginApi/PluginInfo.h"

namespace tollik {
namespace {

void ShowError(os::SystemApi& api, os::WindowHandle host, const char16_t* message) noexcept {
    try {
        api.MessageBoxW(host, message, kPluginName, os::kMbOk | os::kMbIconError);
    } catch (...) {
        // Nothing is left to tell the user with; the host must survive.
    }
}

}  // namespace

void ReportFailure(os::SystemApi& api, os::WindowHandle host, std::exception_ptr failure) noexcept {
    if (!failure) return;
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& known) {
        ShowError(api, host, known.Message().c_str());
    } catch (const std::bad_alloc&) {
        ShowError(api, host, kOutOfMemoryMessage);
    } catch (...) {
        ShowError(api, host, kUnexpectedFailureMessage);
    }
}

}  // namespace tollik
