#include "LibraryState.h"

#include "DesktopBridge.Helpers/PackagedProcess.h"

namespace tollik {

LibraryState InitializeLibrary(os::SystemApi& api, os::ModuleHandle self) {
    LibraryState state;
    state.self = self;
    state.ansiCodePage = api.GetACP();
    os::VersionInfo version;
    if (api.GetVersionExW(version)) state.osVersion = version;
    state.diskSpace = LookUpDiskSpaceFunction(api);
    state.packaged = IsPackagedProcess(api, state.osVersion);
    return state;
}

}  // namespace tollik
