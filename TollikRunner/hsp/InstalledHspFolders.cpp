#include "hsp/InstalledHspFolders.h"

#include <algorithm>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "hsp/HspCompiler.h"
#include "os/Handles.h"

namespace tollik::runner {
namespace {

std::vector<std::u16string> FoldersNamedHsp(os::SystemApi& api, const std::u16string& root) {
    std::vector<std::u16string> names;
    os::FindData found;
    const os::unique_hfind search(api, api.FindFirstFileW((root + u"hsp*").c_str(), found));
    if (!search) return names;
    do {
        if ((found.attributes & os::kFileAttributeDirectory) == 0) continue;
        found.name[std::size(found.name) - 1] = u'\0';
        names.emplace_back(found.name);
    } while (api.FindNextFileW(search.get(), found));
    return names;
}

}  // namespace

std::vector<std::u16string> FindInstalledHspFolders(os::SystemApi& api) {
    std::vector<std::u16string> folders;
    for (char16_t drive = u'A'; drive <= u'Z'; ++drive) {
        const std::u16string root{drive, u':', u'\\'};
        // Fixed drives only: a removable or network one may wait, or ask for a disk.
        if (api.GetDriveTypeW(root.c_str()) != os::kDriveFixed) continue;
        std::vector<std::u16string> names = FoldersNamedHsp(api, root);
        std::sort(names.begin(), names.end(),
                  [](const std::u16string& a, const std::u16string& b) { return FoldAsciiCase(a) > FoldAsciiCase(b); });
        for (const std::u16string& name : names) {
            const std::u16string folder = root + name + u"\\";
            if (FileIsPresent(api, folder + std::u16string(kCompilerDll))) folders.push_back(folder);
        }
    }
    return folders;
}

}  // namespace tollik::runner
