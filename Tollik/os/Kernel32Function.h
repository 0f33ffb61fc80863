#pragma once
// Functions that some Windows versions lack are looked up by name and called
// through their address, never imported: an import the system lacks would
// stop the library from loading at all.

#include "os/SystemApi.h"

namespace tollik::os {

// The address of kernel32's function `name`, or null where it is missing.
inline ProcAddress LookUpKernel32Function(SystemApi& api, const char* name) {
    const ModuleHandle kernel32 = api.GetModuleHandleW(u"kernel32.dll");
    return kernel32 == nullptr ? nullptr : api.GetProcAddress(kernel32, name);
}

}  // namespace tollik::os
