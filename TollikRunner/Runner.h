#pragma once
// The runner, "Plugins\Tollik.exe": reads the command line the plug-in
// wrote, compiles the script with the user's HSP compiler and, by run mode,
// runs it, shows the compiler's report or packs an executable. Everything
// the user must know is shown in the runner's one window.

#include <cstdint>
#include <string_view>

#include "os/RunnerApi.h"

namespace tollik::runner {

// The process's exit code; documented for users in the README.
enum class ExitCode : int {
    Success = 0,          // ran, compiled or made the executable
    CompileError = 1,     // the compiler refused the script; nothing ran
    BadInvocation = 2,    // a command line it cannot read, or an unknown run mode
    ToolchainProblem = 3, // HSP folder, compiler or runtime missing or unusable
    ScriptProblem = 4,    // the script or its folder missing or unusable
    Unexpected = 5,       // out of memory, or a fault of the runner's own
};

// `commandLine` is the whole line, program name first. Never throws.
ExitCode RunRunner(os::RunnerApi& api, std::u16string_view commandLine) noexcept;

}  // namespace tollik::runner
