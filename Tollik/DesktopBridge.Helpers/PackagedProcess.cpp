#include "DesktopBridge.Helpers/PackagedProcess.h"

#include <vector>

#include "os/Kernel32Function.h"

namespace tollik {

bool IsPackagedProcess(os::SystemApi& api, const os::VersionInfo& version) {
    if (version.major < 6 || (version.major == 6 && version.minor <= 1)) return false;

    const os::ProcAddress function = os::LookUpKernel32Function(api, "GetCurrentPackageFullName");
    if (function == nullptr) return false;  // a system without packages

    // The first call only learns the length; the second tells whether there
    // is a package at all. The name itself is not kept.
    std::uint32_t length = 0;
    api.GetCurrentPackageFullName(function, &length, nullptr);
    std::vector<char16_t> name(length > 1 ? length : 1, u'\0');
    return api.GetCurrentPackageFullName(function, &length, name.data()) !=
           os::kAppModelErrorNoPackage;
}

}  // namespace tollik
