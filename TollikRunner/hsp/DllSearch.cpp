#include "hsp/DllSearch.h"

namespace tollik::runner {

std::uint32_t RestrictDllSearch(os::RunnerApi& api) {
    const bool restricted = api.SetDefaultDllDirectories(os::kLoadLibrarySearchSystem32 |
                                                         os::kLoadLibrarySearchApplicationDir);
    // Also where the search flags are missing (Windows 7 without its update):
    // the current directory leaves the classic search order.
    api.SetDllDirectoryW(u"");
    if (restricted) return os::kLoadLibrarySearchDllLoadDir | os::kLoadLibrarySearchSystem32;
    return os::kLoadWithAlteredSearchPath;
}

ChildrenSearchAsUsual::ChildrenSearchAsUsual(os::RunnerApi& api, std::uint32_t loadFlags)
    : api_(api), restoreEmpty_(loadFlags == os::kLoadWithAlteredSearchPath) {
    api_.SetDllDirectoryW(nullptr);
}

ChildrenSearchAsUsual::~ChildrenSearchAsUsual() {
    if (restoreEmpty_) api_.SetDllDirectoryW(u"");
}

}  // namespace tollik::runner
