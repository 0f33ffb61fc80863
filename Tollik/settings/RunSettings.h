#pragma once
// The three values each run needs: where HSP is, the run mode and whether
// the runner shows its debug window. They come from the plug-in's settings
// file, read afresh for every run, with built-in defaults.

#include <cstdint>
#include <string>
#include <string_view>

#include "Common/Drives.h"
#include "os/SystemApi.h"
#include "settings/IniStore.h"
#include "settings/SettingsKeys.h"

namespace tollik {

struct RunSettings {
    std::u16string HspDirectory;  // always ends with a backslash
    std::int32_t RunMode = kDefaultRunMode;
    bool ShowDebugWindow = kDefaultShowDebugWindow;
};

// The plug-in's settings file for a host settings file: beside it, in
// "Plugins\Tollik\Tollik.ini".
std::u16string PluginSettingsPath(std::u16string_view hostSettingsFile);

// The first HSP folder of the known install places that exists; the last
// of them when none of the others does.
std::u16string ProbeHspDirectory(os::SystemApi& api, const DiskSpaceFunction& diskSpace);

// The three values from a loaded settings file, each with its default;
// `probedHspDirectory` is HSPDirName's.
RunSettings ReadRunSettings(const IniStore& store, std::u16string_view probedHspDirectory);

// Reads the section "Tollik": "HSPDirName", "Mode" and "DebugWindow".
// Throws the settings file's GeneralError when it exists but cannot be opened.
RunSettings LoadRunSettings(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                            std::u16string_view hostSettingsFile);

}  // namespace tollik
