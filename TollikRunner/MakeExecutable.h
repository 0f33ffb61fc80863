#pragma once
// Mode 3: an executable made beside the script, as HSP's editor makes one
// (#pack, #epack, #packopt): the compile that writes "start.ax" and the
// packfile, hsc3_make, then iconins.exe for the options hsc3_make leaves to it.

#include <string>

#include "RunSteps.h"
#include "hsp/HspCompiler.h"

namespace tollik::runner {

struct MakeRequest {
    std::string scriptName;  // as the compiler takes it, relative to the script's folder
    std::string common;      // the include folder, as the compiler takes it
    std::u16string hsp;      // the HSP folder, with its final backslash
};

ExitCode MakeExecutable(RunSteps& run, HspCompiler& compiler, const MakeRequest& request);

}  // namespace tollik::runner
