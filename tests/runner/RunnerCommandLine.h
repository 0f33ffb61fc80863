#pragma once
// How the stand-in runner reads the command line the plug-in gives it:
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

struct ParsedCommandLine {
    bool ok = false;
    RunnerFields fields;
    std::string error;  // what is wrong, for the user, when not ok
};

// `commandLine` is the whole line, starting with the program's own name.
ParsedCommandLine ParseRunnerCommandLine(std::u16string_view commandLine);

}  // namespace tollik::runner
