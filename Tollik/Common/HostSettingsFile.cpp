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

bool GetHostIniFileName(os::SystemApi& api, const DiskSpaceFunction& diskSpace, bool packaged,
                        std::u16string& path) {
    const std::u16string exe = HostExecutablePath(api);
    if (!FileExistsChecked(api, diskSpace, exe)) return false;

    std::u16string found = ReplaceExtension(exe, u".ini");
    // Beside the executable when the file is there, or when the portable
    // marker says it belongs there even before it exists.
    if (!FileExistsChecked(api, diskSpace, found) &&
        !FileExistsChecked(api, diskSpace, DirPart(exe) + u"PellamPortable.ini")) {
        found = GetAppDataFolder(api);
        found += packaged ? u"PellamUWP" : u"Pellam";
        found += u'\\';
        found += ReplaceExtension(NamePart(exe), u".ini");
        // A folder that cannot be made is the settings reader's to find out.
        CreateDirectoryTree(api, DirPartTrimmed(found));
    }
    path = std::move(found);
    return !path.empty();
}

}  // namespace tollik
