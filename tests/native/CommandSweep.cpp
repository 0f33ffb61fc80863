#include "CommandSweep.h"

#include "FakeText.h"
#include "PluginApi/PluginInfo.h"

namespace tollik::testing {
namespace {

using fake::EqualNoCase;

const std::u16string kAppData = u"C:\\Users\\tollik\\AppData\\Roaming\\";
const std::u16string kLongTemp = u"C:\\Users\\tollik\\AppData\\Local\\Temp";
const std::string kSettingsText = "[Tollik]\r\nHSPDirName=D:\\hsp\r\nMode=3\r\nDebugWindow=0\r\n";

// A host installed at `exe` with the runner beside it and no settings file
// of its own there.
void InstallHostAt(InstalledEditor& e, const std::u16string& exe) {
    e.windows.executablePath = exe;
    e.windows.files.AddFile(exe, "MZ");
    e.windows.files.AddFile(exe.substr(0, exe.rfind(u'\\') + 1) + u"Plugins\\Tollik.exe", "MZ");
}

// Settings the library reads at load time changed: load it again.
void Reload(InstalledEditor& e) {
    e.library = InitializeLibrary(e.windows, nullptr);
}

std::vector<Scenario> MakeScenarios() {
    return {
        {"saved document, settings beside the host",
         [](InstalledEditor& e) { e.Settings(kSettingsText); }, kSettings, u"C:\\work"},
        {"saved document, no settings file", [](InstalledEditor&) {}, u"", u"C:\\work"},
        {"untitled document, temporary folder named short",
         [](InstalledEditor& e) {
             e.Settings(kSettingsText);
             e.windows.host.path.clear();
             e.windows.files.SetShortName(u"C:\\Users\\tollik", u"TOLLIK~1");
             e.windows.tempPath = u"C:\\Users\\TOLLIK~1\\AppData\\Local\\Temp\\";
         },
         kSettings, kLongTemp},
        {"document in a folder still to be made",
         [](InstalledEditor& e) {
             e.Settings(kSettingsText);
             e.windows.host.path = u"C:\\work\\new\\deeper\\game.hsp";
         },
         kSettings, u"C:\\work\\new\\deeper"},
        {"portable host",
         [](InstalledEditor& e) {
             InstallHostAt(e, u"C:\\Portable\\Pellam.exe");
             e.windows.files.AddFile(u"C:\\Portable\\PellamPortable.ini");
             e.windows.files.AddFile(u"C:\\Portable\\Plugins\\Tollik\\Tollik.ini", kSettingsText);
         },
         u"C:\\Portable\\Plugins\\Tollik\\Tollik.ini", u"C:\\work"},
        {"per-user settings, folder made by the command",
         [](InstalledEditor& e) { InstallHostAt(e, u"C:\\Other\\Pellam.exe"); }, u"", u"C:\\work"},
        {"per-user settings file, code page 932, a script for the UTF-8 runtime that 932 holds",
         [](InstalledEditor& e) {
             InstallHostAt(e, u"C:\\Other\\Pellam.exe");
             e.windows.files.AddFile(kAppData + u"Pellam\\Plugins\\Tollik\\Tollik.ini",
                                     "\xEF\xBB\xBF[Tollik]\r\nHSPDirName=D:\\\xE6\x97\xA5\r\n");
             e.windows.ansiCodePage = 932;
             e.windows.host.text = u"#include \"hsp3utf.as\"\nmes \"日本語ｶﾅ\"\nstop";
             Reload(e);
         },
         kAppData + u"Pellam\\Plugins\\Tollik\\Tollik.ini", u"C:\\work"},
        {"packaged host",
         [](InstalledEditor& e) {
             InstallHostAt(e, u"C:\\Program Files\\WindowsApps\\Pellam_2.0\\Pellam.exe");
             e.windows.packageFullName = u"Pellam_2.0_x64__abcdefghijk";
             e.windows.files.AddFile(kAppData + u"PellamUWP\\Plugins\\Tollik\\Tollik.ini",
                                     kSettingsText);
             Reload(e);
         },
         kAppData + u"PellamUWP\\Plugins\\Tollik\\Tollik.ini", u"C:\\work"},
        {"host on a network drive, a system without GetDiskFreeSpaceExW",
         [](InstalledEditor& e) {
             e.windows.files.AddDrive(u'Z', {os::kDriveRemote});
             InstallHostAt(e, u"Z:\\Pellam\\Pellam.exe");
             e.windows.files.AddFile(u"Z:\\Pellam\\Pellam.ini");
             e.windows.files.AddFile(u"Z:\\Pellam\\Plugins\\Tollik\\Tollik.ini", kSettingsText);
             e.windows.files.AddFolder(u"C:\\hsp36");
             e.windows.hasDiskFreeSpaceEx = false;
             Reload(e);
         },
         u"Z:\\Pellam\\Plugins\\Tollik\\Tollik.ini", u"C:\\work"},
    };
}

std::u16string FolderOf(const std::u16string& path) {
    const std::size_t slash = path.rfind(u'\\');
    return slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
}

// `folder` is `outer` or lies inside it.
bool Within(const std::u16string& folder, const std::u16string& outer) {
    return EqualNoCase(folder, outer) ||
           (outer.size() > folder.size() && EqualNoCase(outer.substr(0, folder.size()), folder) &&
            outer[folder.size()] == u'\\');
}

}  // namespace

const std::vector<Scenario>& CommandScenarios() {
    static const std::vector<Scenario> scenarios = MakeScenarios();
    return scenarios;
}

std::string Describe(Ending ending) {
    switch (ending) {
        case Ending::Launched:
            return "runner launched";
        case Ending::Silent:
            return "ended silently";
        case Ending::SettingsOpen:
            return "settings-file message";
        case Ending::RelativeFolder:
            return "relative-folder message";
        case Ending::ScriptFolder:
            return "script-folder message";
        case Ending::ScriptWrite:
            return "script-write message";
        case Ending::PathLimit:
            return "path-limit message";
        case Ending::OutOfMemory:
            return "out-of-memory message";
        case Ending::Unknown:
            return "an unknown ending";
    }
    return "?";
}

SweepRun::SweepRun(const Scenario& scenario) {
    scenario.arrange(editor);
    editor.windows.ForgetCalls();
    before = editor.windows.files.Snapshot();
    errorModeBefore = editor.windows.files.errorMode;
}

Ending EndingOf(const SweepRun& run) {
    const fake::FakeWindows& w = run.editor.windows;
    if (w.messageBoxes.empty())
        return w.shellExecutions.empty() ? Ending::Silent : Ending::Launched;
    if (w.messageBoxes.size() > 1) return Ending::Unknown;
    const std::u16string& text = w.messageBoxes[0].text;
    if (text == kOutOfMemoryMessage) return Ending::OutOfMemory;
    if (text == u"ディレクトリを作成できません") return Ending::RelativeFolder;
    if (text == u"hsptmp\r\nファイルに書き込みできません。") return Ending::ScriptWrite;
    if (text == u"スクリプトファイルのパスが長すぎます。パスは 259 文字までにしてください。")
        return Ending::PathLimit;
    if (text.starts_with(u"ディレクトリ") && text.ends_with(u"を作成できません。"))
        return Ending::ScriptFolder;
    if (text.starts_with(u"ファイル ") && text.find(u" は開けません。 ") != std::u16string::npos &&
        text.ends_with(u' '))
        return Ending::SettingsOpen;
    return Ending::Unknown;
}

std::vector<std::string> BrokenInvariants(const SweepRun& run, bool paintingLeftHeld) {
    std::vector<std::string> broken;
    const fake::FakeWindows& w = run.editor.windows;

    if (w.messageBoxes.size() > 1)
        broken.push_back(std::to_string(w.messageBoxes.size()) + " message boxes");
    for (const fake::ShownMessageBox& box : w.messageBoxes) {
        if (box.owner != w.hostWindow) broken.push_back("a message box not owned by the host");
        if (box.caption != kPluginName)
            broken.push_back("a message box with caption " + Utf8(box.caption));
        if (box.type != (os::kMbOk | os::kMbIconError))
            broken.push_back("a message box of another type");
    }
    const Ending ending = EndingOf(run);
    if (ending == Ending::Unknown && w.messageBoxes.size() == 1)
        broken.push_back("an unexpected message: " + Utf8(w.messageBoxes[0].text));
    if (!w.messageBoxes.empty() && !w.shellExecutions.empty())
        broken.push_back("the runner was started after a failure");
    if (w.shellExecutions.size() > 1) broken.push_back("the runner was started more than once");

    if (w.host.paintingHeld && !paintingLeftHeld)
        broken.push_back("the host's painting was left held");
    if (w.files.OpenFiles() != 0)
        broken.push_back(std::to_string(w.files.OpenFiles()) + " files left open");
    if (w.files.OpenSearches() != 0) broken.push_back("a search left open");
    if (w.LocalAllocations() != 0) broken.push_back("a system message buffer not freed");
    if (w.VirtualAllocations() != 0) broken.push_back("the text's pages not released");
    if (w.files.errorMode != run.errorModeBefore)
        broken.push_back("the error mode was not restored");

    // Only a script file, and the folders for it and for per-user settings.
    const std::map<std::u16string, std::string> after = w.files.Snapshot();
    for (const auto& [path, entry] : run.before) {
        if (!after.contains(path)) broken.push_back("removed " + Utf8(path));
    }
    for (const auto& [path, entry] : after) {
        const auto old = run.before.find(path);
        if (old != run.before.end() && old->second == entry) continue;
        const std::u16string folder = FolderOf(path);
        const bool isFile = entry.starts_with("file ");
        bool allowed = false;
        if (isFile) {
            // Beside the document, in the temporary folder, or at the current
            // drive's root when the temporary folder cannot be had.
            allowed = EqualNoCase(path.substr(folder.size()), u"\\hsptmp") &&
                      (EqualNoCase(folder, FolderOf(w.host.path)) ||
                       EqualNoCase(folder, kLongTemp) || EqualNoCase(folder, u"C:"));
        } else {
            allowed = Within(path, FolderOf(w.host.path)) || Within(path, kAppData + u"Pellam") ||
                      Within(path, kAppData + u"PellamUWP");
        }
        if (!allowed)
            broken.push_back((old == run.before.end() ? "created " : "changed ") + Utf8(path));
    }
    return broken;
}

}  // namespace tollik::testing
