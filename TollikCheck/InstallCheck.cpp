#include "InstallCheck.h"

#include "Common/FileSystem.h"
#include "Common/HostSettingsFile.h"
#include "Common/PathText.h"
#include "Common/SystemMessage.h"
#include "Failure.h"
#include "HSPCmp/RunnerLaunch.h"
#include "SettingsLint.h"
#include "RunnerTexts.h"
#include "ToolchainCheck.h"
#include "hsp/InstalledHspFolders.h"
#include "settings/IniStore.h"
#include "settings/NumberText.h"
#include "settings/SettingsKeys.h"

namespace tollik::check {

// The other shipped programs, beside kRunnerRelativePath.
constexpr std::u16string_view kPluginRelativePath = u"Plugins\\Tollik.dll";
constexpr std::u16string_view kCheckerRelativePath = u"tollik-check.exe";

namespace {

using namespace os;

// No line can hold a NUL, so a read that gives this found nothing.
constexpr std::u16string_view kAbsent{u"\0", 1};

std::u16string Number(std::size_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Number(std::int32_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// The system's words for `error`, or its number when it has none.
std::u16string SystemText(SystemApi& api, std::uint32_t error) {
    std::u16string text = SystemMessageText(api, error);
    return text.empty() ? u"error " + Number(static_cast<std::size_t>(error)) : text;
}

void AddLint(const LintFinding& f, Report& report) {
    const std::u16string line = Number(f.line);
    const auto add = [&](MessageId id, std::vector<std::u16string> args) {
        report.Add(Severity::Warning, id, std::move(args));
    };
    switch (f.kind) {
        case LintKind::NotUtf8:
            return add(MessageId::NotUtf8, {Number(f.offset)});
        case LintKind::NulCharacter:
            return add(MessageId::NulCharacter, {line});
        case LintKind::ByteOrderMarkInLine:
            return add(MessageId::ByteOrderMarkInLine, {line});
        case LintKind::BlankBeforeHeader:
            return add(MessageId::BlankBeforeHeader, {line});
        case LintKind::TextAfterHeader:
            return add(MessageId::TextAfterHeader, {line});
        case LintKind::BlankBeforeComment:
            return add(MessageId::BlankBeforeComment, {line});
        case LintKind::EntryBeforeHeader:
            return add(MessageId::EntryBeforeHeader, {line});
        case LintKind::NotAnEntry:
            return add(MessageId::NotAnEntry, {line});
        case LintKind::UnknownSection:
            return add(MessageId::UnknownSection, {line, f.name});
        case LintKind::HiddenSection:
            return add(MessageId::HiddenSection, {line, Number(f.other)});
        case LintKind::BlankAroundEquals:
            return add(MessageId::BlankAroundEquals, {line, f.name});
        case LintKind::UnknownKey:
            return add(MessageId::UnknownKey, {line, f.name});
        case LintKind::RepeatedKey:
            return add(MessageId::RepeatedKey, {line, f.name, Number(f.other)});
        case LintKind::NotANumber:
            return add(MessageId::NotANumber, {line, f.name, f.value});
        case LintKind::TrailingBlank:
            return add(MessageId::TrailingBlank, {line, f.name});
        case LintKind::NoTollikSection:
            return add(MessageId::NoTollikSection, {});
    }
}

// "Key = value (where it came from)".
void AddValue(Report& report, std::u16string_view key, std::u16string value, std::size_t line,
              MessageId defaultId) {
    if (line != 0)
        report.Add(Severity::Info, MessageId::ValueFromFile,
                   {std::u16string(key), std::move(value), Number(line)});
    else
        report.Add(Severity::Info, defaultId, {std::u16string(key), std::move(value)});
}

// HSPDirName's default: which of the probed folders was chosen, and why.
void AddProbedValue(SystemApi& api, Report& report, const std::u16string& chosen) {
    std::u16string probed;
    for (const std::u16string_view folder : kProbedHspFolders) {
        if (!probed.empty()) probed += u", ";
        probed += folder;
    }
    const bool found = chosen != kProbedHspFolders.back() || DirectoryIsPresent(api, chosen);
    report.Add(Severity::Info, found ? MessageId::ValueProbedFound : MessageId::ValueProbedNone,
               {std::u16string(kHspDirNameKey), chosen, probed});
}

}  // namespace

RunSettings CheckSettingsFile(SystemApi& api, const std::u16string& path,
                              std::u16string_view shownAs, const std::u16string& probedHsp,
                              Report& report, std::u16string* hspDirName) {
    report.Add(Severity::Info, MessageId::SettingsFile, {std::u16string(shownAs)});
    RunSettings settings;
    settings.HspDirectory = probedHsp;
    EffectiveLines effective;
    if (!FileIsPresent(api, path)) {
        report.Add(Severity::Info, MessageId::SettingsFileMissing);
    } else {
        const FileBytes file = ReadFileBytes(api, path, kSettingsFileSizeLimit);
        if (file.outcome == FileRead::CannotOpen) {
            report.Add(Severity::Problem, MessageId::SettingsFileLocked,
                       {std::u16string(shownAs), SystemText(api, file.error)});
            return settings;
        }
        if (file.outcome == FileRead::TooLarge)
            report.Add(Severity::Warning, MessageId::SettingsFileTooLarge);
        const LintResult lint = LintSettings(api, file.bytes);
        for (const LintFinding& finding : lint.findings) AddLint(finding, report);
        effective = lint.effective;
    }

    // The values themselves from the plug-in's own reader.
    try {
        const IniStore store(api, path, kUtf8Encoding);
        const auto read = [&](std::u16string_view key, std::u16string_view absent) {
            return store.ReadText(kSettingsSection, key, absent);
        };
        const std::u16string written = read(kHspDirNameKey, kAbsent);
        const bool hasDirectory = written != kAbsent;
        if (hspDirName != nullptr) *hspDirName = hasDirectory ? written : probedHsp;
        settings = ReadRunSettings(store, probedHsp);
        // A value that is there but not a number gives the default: the lint said why.
        const bool modeRead = ConvertSettingsNumber(read(kModeKey, u"")).has_value();
        const bool flagRead = ConvertSettingsNumber(read(kDebugWindowKey, u"")).has_value();
        if (hasDirectory && effective.hspDirName != 0)
            AddValue(report, kHspDirNameKey, settings.HspDirectory, effective.hspDirName, MessageId::ValueDefault);
        else
            AddProbedValue(api, report, settings.HspDirectory);
        AddValue(report, kModeKey, Number(settings.RunMode), modeRead ? effective.mode : 0,
                 MessageId::ValueDefault);
        AddValue(report, kDebugWindowKey, settings.ShowDebugWindow ? u"1" : u"0",
                 flagRead ? effective.debugWindow : 0, MessageId::ValueDefault);
    } catch (const Failure&) {
        // Opened a moment ago; refused now: say so as the plug-in would.
        report.Add(Severity::Problem, MessageId::SettingsFileLocked,
                   {std::u16string(shownAs), SystemText(api, api.GetLastError())});
    }
    return settings;
}

Report CheckInstallation(SystemApi& api, const DiskSpaceFunction& diskSpace,
                         std::u16string_view editorFolder, bool packaged) {
    Report report;
    const std::u16string folder = AddTrailingDelimiter(editorFolder);
    report.Add(Severity::Info, MessageId::EditorFolder, {folder});
    const std::u16string executable = folder + u"Pellam.exe";
    const auto location = LocateHostSettings(api, diskSpace, packaged, executable);
    if (!location) {
        report.Add(Severity::Problem, MessageId::HostMissing, {executable});
        return report;
    }
    switch (location->place) {
        case HostSettingsPlace::BesideExecutable:
            report.Add(Severity::Info, MessageId::HostSettingsBeside, {location->path});
            break;
        case HostSettingsPlace::PortableMarker:
            report.Add(Severity::Info, MessageId::HostSettingsPortable, {location->path});
            break;
        case HostSettingsPlace::PerUserFolder: {
            report.Add(Severity::Info, MessageId::HostSettingsPerUser, {location->path});
            const std::u16string perUser = DirPartTrimmed(location->path);
            if (!DirectoryIsPresent(api, perUser))
                report.Add(Severity::Info, MessageId::PerUserFolderMissing, {perUser});
            break;
        }
        case HostSettingsPlace::RelativeFolder:
            report.Add(Severity::Warning, MessageId::RelativeFolder, {location->path});
            break;
    }

    const std::u16string settingsFile = PluginSettingsPath(location->path);
    std::u16string hspDirName;
    const RunSettings settings = CheckSettingsFile(api, settingsFile, settingsFile,
                                                   ProbeHspDirectory(api, diskSpace), report, &hspDirName);
    report.Add(Severity::Info, MessageId::CtrlToggle,
               {Number(settings.RunMode), Number(ToggledRunMode(settings.RunMode, true))});

    // Where the runner gets no hspcmp.dll, the HSP folders that would give one.
    bool compilerThere = false;
    if (settings.HspDirectory == u"\\") {
        // An empty HSPDirName, or a lone backslash: the runner gets the same
        // backslash from either, the root of the current drive, and refuses it.
        const MessageId id = hspDirName.empty() ? MessageId::HspFolderNotSet : MessageId::HspFolderDriveRoot;
        report.Add(Severity::Problem, id, {settings.HspDirectory});
    } else if (DirectoryExistsChecked(api, diskSpace, settings.HspDirectory)) {
        report.Add(Severity::Info, MessageId::HspFolderFound, {settings.HspDirectory});
        compilerThere = CheckHspFolder(api, settings.HspDirectory, report);
    } else {
        report.Add(Severity::Problem, MessageId::HspFolderMissing, {settings.HspDirectory});
    }
    if (!compilerThere)
        for (const std::u16string& found : runner::FindInstalledHspFolders(api))
            report.Add(Severity::Info, MessageId::HspFolderElsewhere, {found, runner::HspDirNameLine(found)});
    CheckRunner(api, folder + std::u16string(kRunnerRelativePath), report);
    for (const std::u16string_view shipped : {kPluginRelativePath, kRunnerRelativePath, kCheckerRelativePath})
        CheckDownloadMark(api, folder + std::u16string(shipped), report);
    return report;
}

}  // namespace tollik::check
