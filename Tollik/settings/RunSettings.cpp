#include "settings/RunSettings.h"

#include "Common/PathText.h"
#include "settings/SettingsKeys.h"

namespace tollik {

std::u16string PluginSettingsPath(std::u16string_view hostSettingsFile) {
    return DirPart(hostSettingsFile) + std::u16string(kSettingsRelativePath);
}

std::u16string ProbeHspDirectory(os::SystemApi& api, const DiskSpaceFunction& diskSpace) {
    std::size_t chosen = 0;
    while (!DirectoryExistsChecked(api, diskSpace, kProbedHspFolders[chosen]) &&
           chosen + 1 < kProbedHspFolders.size())
        ++chosen;
    return std::u16string(kProbedHspFolders[chosen]);
}

RunSettings LoadRunSettings(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                            std::u16string_view hostSettingsFile) {
    const std::u16string path = PluginSettingsPath(hostSettingsFile);
    // Probed on every run, before the file is read, whatever the file says.
    const std::u16string probed = ProbeHspDirectory(api, diskSpace);

    const IniStore store(api, path, kUtf8Encoding);
    return ReadRunSettings(store, probed);
}

RunSettings ReadRunSettings(const IniStore& store, std::u16string_view probedHspDirectory) {
    RunSettings settings;
    settings.HspDirectory = AddTrailingDelimiter(
        store.ReadText(kSettingsSection, kHspDirNameKey, probedHspDirectory));
    settings.RunMode = store.ReadNumber(kSettingsSection, kModeKey, kDefaultRunMode);
    settings.ShowDebugWindow =
        store.ReadFlag(kSettingsSection, kDebugWindowKey, kDefaultShowDebugWindow);
    return settings;
}

}  // namespace tollik
