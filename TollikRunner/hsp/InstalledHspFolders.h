#pragma once
// HSP folders that exist though nobody named them: HSP's installer names
// its folder after the version (C:\hsp37\ for 3.7), so a newer HSP lands
// where the plug-in's probe does not look.

#include <string>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::runner {

// "X:\hsp*\" folders holding hspcmp.dll on the roots of the fixed drives,
// each with its final backslash: drive by drive, and on one drive the
// newest first (names in descending order: hsp38, hsp37, hsp351p, hsp35).
std::vector<std::u16string> FindInstalledHspFolders(os::SystemApi& api);

}  // namespace tollik::runner
