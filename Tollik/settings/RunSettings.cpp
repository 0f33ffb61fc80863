#include "settings/RunSettings.h"

#include <array>

#include "Common/PathText.h"
#include "settings/IniStore.h"

namespace tollik {
namespace {

// Newest first; the last stands when none of the others is there.
constexpr std::array<std::u16string_view, 6> kHspFolders = {
    u"C:\\hsp37\\", u"C:\\hsp36\\", u"C:\\hsp351p\\", u"C:\\hsp351\\", u"C:\\hsp35\\", u"C:\\hsp34\\",
};

constexpr std::u16string_view kSection = u"Tollik";

}  // namespace

std::u16string PluginSettingsPath(std::u16string_view hostSettingsFile) {
    return DirPart(hostSettingsFile) + u"Plugins\\Tollik\\Tollik.ini";
}

std::u16string ProbeHspDirectory(os::SystemApi& api, const DiskSpaceFunction& diskSpace) {
    std::size_t chosen = 0;
    while (!DirectoryExistsChecked(api, diskSpace, kHspFolders[chosen]) &&
           chosen + 1 < kHspFolders.size())
        ++chosen;
    return std::u16string(kHspFolders[chosen]);
}

RunSettings LoadRunSettings(os::SystemApi& api, const DiskSpaceFunction& diskSpace,
                            std::u16string_view hostSettingsFile) {
    const std::u16string path = PluginSettingsPath(hostSettingsFile);
    // Probed on every run, before the file is read, whatever the file says.
    const std::u16string probed = ProbeHspDirectory(api, diskSpace);

    const IniStore store(api, path, kUtf8Encoding);
    RunSettings settings;
    settings.HspDirectory = AddTrailingDelimiter(store.ReadText(kSection, u"HSPDirName", probed));
    settings.RunMode = store.ReadNumber(kSection, u"Mode", 1);
    settings.ShowDebugWindow = store.ReadFlag(kSection, u"DebugWindow", true);
    return settings;
}

}  // namespace tollik
