#include "ScriptHold.h"

namespace tollik::runner {

ScriptHold::ScriptHold(os::RunnerApi& api, const std::u16string& script) : file_(Open(api, script, error_)) {}

os::unique_hfile ScriptHold::Open(os::RunnerApi& api, const std::u16string& script, std::uint32_t& error) {
    for (std::uint32_t waited = 0;; waited += kScriptWaitStepMilliseconds) {
        os::unique_hfile file(api, api.CreateFileW(script.c_str(), os::kGenericRead, os::kFileShareRead,
                                                   os::kOpenExisting, os::kFileAttributeNormal));
        error = file ? 0 : api.GetLastError();
        if (!file && error == 0) error = 1;  // ERROR_INVALID_FUNCTION where the system gave none
        // Only a write in progress is worth waiting for: the plug-in
        // finishes in a moment, anything else will not change.
        if (error != os::kErrorSharingViolation || waited >= kScriptWaitMilliseconds) return file;
        api.Sleep(kScriptWaitStepMilliseconds);
    }
}

}  // namespace tollik::runner
