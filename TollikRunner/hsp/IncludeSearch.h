#pragma once
// Where the compiler found the file one of its errors names. The error gives
// only the name the #include line gave (the code generator only its last
// part), so the file is looked for as the compiler's include search looks
// (token.cpp, ExpandFile): the name as given, from the current directory,
// which is the script's folder; its last part in the include folder; then
// that part in the folder of the file that included it, alone and under the
// include folder. That folder is not in the report: the folders the
// script's own #include and #addition lines name stand in for it.

#include <string>
#include <string_view>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::runner {

// The full path of the file the compiler read for `name` in a compile of
// `script` (its folder the current directory) with the include folder
// `commonFolder` (full, with its final backslash); empty when none is there.
std::u16string FindIncludedFile(os::SystemApi& api, const std::u16string& script, const std::u16string& commonFolder,
                                std::u16string_view name);

// That file when the compiler, reading it as UTF-8, misread it: its bytes
// are not well-formed UTF-8 (a module saved as Shift_JIS). Empty otherwise.
std::u16string FindNonUtf8Include(os::SystemApi& api, const std::u16string& script, const std::u16string& commonFolder,
                                  std::u16string_view name);

}  // namespace tollik::runner
