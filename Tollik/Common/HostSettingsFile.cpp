#include "Common/HostSettingsFile.h"

#include <array>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "util/TerminatedText.h"

namespace tollik {

std::u16string GetAppDataFolder(os::SystemApi& api) {
    api.SetLastError(0);
    std::array<char16_t, 261> buffer{};
    if (api.SHGetFolderPathW(nullptr, os::kCsidlAppData, nullptr, 0, buffer.data()) != os::kSOk)
        return {};
    return AddTrailingDelimiter(UpToTerminator({buffer.data(), buffer.size()}));
}

std::optional<HostSettingsLocation> LocateHostSettings(os::SystemApi& api,
                                                       const DiskSpaceFunction& diskSpace,
                                                       bool packaged, std::u16string_view executable) {
    if (!FileExistsChecked(api, diskSpace, executable)) return std::nullopt;

    std::u16string found = ReplaceExtension(executable, u".ini");
    // Beside the executable when the file is there, or when the portable
    // marker says it belongs there even before it exists.
    if (FileExistsChecked(api, diskSpace, found))
        return HostSettingsLocation{found, HostSettingsPlace::BesideExecutable};
    if (FileExistsChecked(api, diskSpace, DirPart(executable) + u"PellamPortable.ini"))
        return HostSettingsLocation{found, HostSettingsPlace::PortableMarker};

    const std::u16string perUser = GetAppDataFolder(api);
    found = perUser;
    found += packaged ? u"PellamUWP" : u"Pellam";
    found += u'\\';
    found += ReplaceExtension(NamePart(executable), u".ini");
    const HostSettingsPlace place =
        perUser.empty() ? HostSettingsPlace::RelativeFolder : HostSettingsPlace::PerUserFolder;
    return HostSettingsLocation{std::move(found), place};
}

bool GetHostIniFileName(os::SystemApi& api, const DiskSpaceFunction& diskSpace, bool packaged,
                        std::u16string& path) {
    std::optional<HostSettingsLocation> found =
        LocateHostSettings(api, diskSpace, packaged, HostExecutablePath(api));
    if (!found) return false;
    // A folder that cannot be made is the settings reader's to find out.
    const HostSettingsPlace place = found->place;
    if (place == HostSettingsPlace::PerUserFolder || place == HostSettingsPlace::RelativeFolder)
        CreateDirectoryTree(api, DirPartTrimmed(found->path));
    path = std::move(found->path);
    return !path.empty();
}

}  // namespace tollik
