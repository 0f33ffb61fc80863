#pragma once
// The programs the command depends on beyond the settings: the HSP folder's
// compiler, runtime and include folder, and the runner. Each is read from
// its file, nothing is loaded or started.

#include <string>

#include "CheckReport.h"
#include "os/SystemApi.h"

namespace tollik::check {

// `folder` (with its final backslash) as the runner will use it: a 32-bit
// hspcmp.dll with the compiler's exports, hsp3.exe and common\. False when
// the folder holds no hspcmp.dll at all.
bool CheckHspFolder(os::SystemApi& api, const std::u16string& folder, Report& report);

// The runner at `path`: there, this plug-in's own, and 32-bit.
void CheckRunner(os::SystemApi& api, const std::u16string& path, Report& report);

// The mark a browser or Explorer's zip extraction leaves on a downloaded file
// (its Zone.Identifier stream): from the Internet zone (3) or the restricted
// one (4), Windows may warn before the file is started or loaded.
void CheckDownloadMark(os::SystemApi& api, const std::u16string& path, Report& report);

}  // namespace tollik::check
