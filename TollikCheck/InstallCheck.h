#pragma once
// What the plug-in would do in an installed editor, found with the plug-in's
// own code: the settings files and why, the lines of the plug-in's settings
// that are misread, the values, the HSP folder and the runner. Reads only.

#include <string>
#include <string_view>

#include "CheckReport.h"
#include "Common/Drives.h"
#include "os/SystemApi.h"
#include "settings/RunSettings.h"

namespace tollik::check {

// The plug-in settings file at `path` (shown as `shownAs`): whether it opens,
// its misread lines, and the values the plug-in takes from it, with
// `probedHsp` the HSP folder default. Returns those values; `hspDirName`,
// where given, gets HSPDirName as the file writes it, before the plug-in adds
// its backslash.
RunSettings CheckSettingsFile(os::SystemApi& api, const std::u16string& path,
                              std::u16string_view shownAs, const std::u16string& probedHsp,
                              Report& report, std::u16string* hspDirName = nullptr);

// The whole installation of the editor in `editorFolder` ("Pellam.exe"
// there); `packaged`: the editor runs as a Store app.
Report CheckInstallation(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                         std::u16string_view editorFolder, bool packaged);

}  // namespace tollik::check
