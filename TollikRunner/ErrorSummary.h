#pragma once
// The words above a failed compile's report: its first error, and what may
// have misled the compiler: a script read as Shift_JIS under a code page
// other than 932, and, when it read everything as UTF-8, a module that is
// not UTF-8 or a file name that is not ASCII.

#include <string>

#include "RunnerTexts.h"
#include "os/RunnerApi.h"

namespace tollik::runner {

struct CompiledScript {
    std::u16string path;           // full
    std::u16string nameForCompiler;  // the name the compiler's messages give it
    std::u16string commonFolder;   // the include folder, full, with its final backslash
    bool utf8Input = false;        // the compiler read it (and its includes) as UTF-8
};

std::u16string CompileErrorSummary(os::RunnerApi& api, const RunnerTexts& texts, const CompiledScript& script,
                                   const std::u16string& report);

}  // namespace tollik::runner
