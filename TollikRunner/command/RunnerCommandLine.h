#pragma once
// How the runner reads the command line the plug-in gives it:
//   <program> "<HSP folder>" "<script>" <run mode> <debug window>
// The quoted fields are taken literally, up to the next double quote: the
// HSP folder ends with a backslash right before its closing quote, so the
// usual rule that a backslash escapes a quote must not apply.

#include <cstdint>
#include <string>
#include <string_view>

namespace tollik::runner {

struct RunnerFields {
    std::u16string hspDirectory;
    std::u16string scriptPath;
    std::int32_t runMode = 0;
    std::int32_t debugWindow = 0;
};

// What is wrong with a line the runner cannot read; the words for the user
// are in RunnerTexts.
enum class CommandLineProblem {
    None,
    NoArguments,
    HspFolderNotQuoted,
    HspFolderNotClosed,
    NothingAfterHspFolder,
    ScriptNotQuoted,
    ScriptNotClosed,
    NothingAfterScript,
    RunModeNotNumber,
    NothingAfterRunMode,
    DebugFlagNotNumber,
    TextAfterDebugFlag,
};

struct ParsedCommandLine {
    bool ok = false;
    RunnerFields fields;
    CommandLineProblem problem = CommandLineProblem::None;
    std::u16string token;  // the field that is no number, for the message
};

// `commandLine` is the whole line, starting with the program's own name.
ParsedCommandLine ParseRunnerCommandLine(std::u16string_view commandLine);

}  // namespace tollik::runner
