#pragma once
// What the checker found, in order, before it is put into words: each item
// names a message and the texts that go into it.

#include <string>
#include <vector>

namespace tollik::check {

enum class Severity { Info, Warning, Problem };

enum class MessageId {
    EditorFolder,          // folder
    HostMissing,           // executable
    HostSettingsBeside,    // file
    HostSettingsPortable,  // file
    HostSettingsPerUser,   // file
    PerUserFolderMissing,  // folder
    RelativeFolder,        // file
    SettingsFile,          // file
    SettingsFileMissing,
    SettingsFileLocked,  // file, the system's reason
    SettingsFileTooLarge,
    // The lines of the settings file (line, then what the finding names).
    NotUtf8,              // byte offset
    NulCharacter,         // line
    ByteOrderMarkInLine,  // line
    BlankBeforeHeader,    // line
    TextAfterHeader,      // line
    BlankBeforeComment,   // line
    EntryBeforeHeader,    // line
    NotAnEntry,           // line
    UnknownSection,       // line, name
    HiddenSection,        // line, the later line
    BlankAroundEquals,    // line, key
    UnknownKey,           // line, name
    RepeatedKey,          // line, key, the later line
    NotANumber,           // line, key, value
    TrailingBlank,        // line, key
    NoTollikSection,
    // The values and what they lead to.
    ValueFromFile,     // key, value, line
    ValueDefault,      // key, value
    ValueProbedFound,  // key, value, the folders probed
    ValueProbedNone,   // key, value, the folders probed
    CtrlToggle,        // mode, toggled mode
    HspFolderFound,      // folder
    HspFolderMissing,    // folder
    HspFolderNotSet,     // the value, a lone backslash
    HspFolderDriveRoot,  // the value, a lone backslash
    HspFolderElsewhere,  // folder, the settings line that uses it
    // The HSP folder's contents and the runner.
    CompilerFound,           // file
    CompilerMissing,         // file
    Compiler64BitOnly,       // the 64-bit compiler's file, the missing 32-bit one
    CompilerNotADll,         // file
    CompilerNot32Bit,        // file, its bitness
    CompilerExportsMissing,  // file, the missing names
    RuntimeFound,            // file
    RuntimeMissing,          // file
    Utf8RuntimeMissing,      // file
    Utf8HrtMissing,          // file
    CommonFound,             // folder
    CommonMissing,           // folder
    RunnerFound,             // file
    RunnerMissing,           // file
    RunnerNotOurs,           // file
    RunnerNot32Bit,          // file, its bitness
    DownloadMark,            // file, its zone
};

struct ReportItem {
    Severity severity;
    MessageId id;
    std::vector<std::u16string> args;
};

struct Report {
    std::vector<ReportItem> items;

    void Add(Severity severity, MessageId id, std::vector<std::u16string> args = {}) {
        items.push_back({severity, id, std::move(args)});
    }
    int Count(Severity severity) const {
        int n = 0;
        for (const ReportItem& item : items) n += item.severity == severity;
        return n;
    }
};

enum class Language { Japanese, English };

// The report in words, one item a line, with a closing summary; UTF-8.
std::string FormatReport(const Report& report, Language language);

}  // namespace tollik::check
