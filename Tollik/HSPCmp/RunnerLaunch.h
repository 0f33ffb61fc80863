#pragma once
// Starting the runner that compiles and runs the script: its place beside
// the host, the parameter text it reads, and the Ctrl toggle of the run mode.

#include <cstdint>
#include <string>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik {

// The runner, relative to the host executable's folder.
inline constexpr std::u16string_view kRunnerRelativePath = u"Plugins\\Tollik.exe";

// Holding Ctrl swaps run mode 1 for 2 and turns every other mode into 1.
std::int32_t ToggledRunMode(std::int32_t runMode, bool controlHeld);

// Control is down for the thread, by bit 0x80 of its key state.
bool IsControlHeld(os::SystemApi& api);

// "<HSP folder>" "<script>" <mode> <1|0>: the quoted texts are written as
// they are, so the HSP folder's final backslash stands right before its
// closing quote.
std::u16string RunnerParameters(std::u16string_view hspDirectory, std::u16string_view scriptPath,
                                std::int32_t runMode, bool showDebugWindow);

// Starts the runner hidden, in the process's current directory, without
// waiting; whether it started is not the command's concern.
void StartRunner(os::SystemApi& api, std::u16string_view runnerPath,
                 std::u16string_view parameters);

}  // namespace tollik
