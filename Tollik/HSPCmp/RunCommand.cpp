#include "HSPCmp/RunCommand.h"

#include <string>

#include "Common/FileSystem.h"
#include "Common/HostSettingsFile.h"
#include "Common/PathText.h"
#include "HSPCmp/DocumentCapture.h"
#include "HSPCmp/RunnerLaunch.h"
#include "HSPCmp/ScriptWriter.h"
#include "HSPCmp/TempFolder.h"
#include "settings/RunSettings.h"

namespace tollik {

std::u16string ScriptPathFor(os::SystemApi& api, std::u16string_view documentPath) {
    if (!documentPath.empty()) return DirPart(documentPath) + std::u16string(kScriptFileName);
    return AddTrailingDelimiter(GetLongTempPath(api)) + std::u16string(kScriptFileName);
}

namespace {

// The document's text is held only until it is written: the runner starts
// without it.
std::u16string SaveDocumentAsScript(os::SystemApi& api, const LibraryState& library,
                                    os::WindowHandle host) {
    const CapturedText text = CaptureDocumentText(api, host);
    const std::u16string documentPath = QueryDocumentPath(api, host);
    std::u16string scriptPath = ScriptPathFor(api, documentPath);
    SaveScriptFile(api, library.ansiCodePage, scriptPath, text.view());
    return scriptPath;
}

}  // namespace

void ExecuteRunCommand(os::SystemApi& api, const LibraryState& library, os::WindowHandle host) {
    // Settings first: a settings file that cannot be read stops the command
    // before the host's document is touched.
    std::u16string hostSettingsFile;
    if (!GetHostIniFileName(api, library.diskSpace, library.packaged, hostSettingsFile)) return;
    const RunSettings settings = LoadRunSettings(api, library.diskSpace, hostSettingsFile);

    const std::u16string scriptPath = SaveDocumentAsScript(api, library, host);

    // Read only now, after the write: the key as it is when the runner starts.
    const std::int32_t runMode = ToggledRunMode(settings.RunMode, IsControlHeld(api));
    const std::u16string hostFolder = DirPart(HostExecutablePath(api));
    // Without the host's own folder the runner's name would be relative, and
    // the shell would start whatever the current directory holds under it.
    if (hostFolder.empty()) return;
    const std::u16string runner = hostFolder + std::u16string(kRunnerRelativePath);
    StartRunner(api, runner,
                RunnerParameters(settings.HspDirectory, scriptPath, runMode,
                                 settings.ShowDebugWindow));
}

}  // namespace tollik
