#pragma once
// How the compiler is to read the script. It reads Shift_JIS unless told
// the script is UTF-8, which it is where the ANSI code page is 65001 (the
// plug-in writes it so) and where it begins with a UTF-8 byte-order mark
// (the plug-in marks a script for HSP's UTF-8 runtime that holds characters
// the code page lacks). That one answer decides hsc_comp's option, how the
// report is read and which explanations a failed compile gets.

#include <string>

#include "os/SystemApi.h"

namespace tollik::runner {

// Whether the file begins with EF BB BF; false when it cannot be read.
bool BeginsWithByteOrderMark(os::SystemApi& api, const std::u16string& path);

// Whether the compiler reads `script`, and every file it includes, as UTF-8.
bool CompilerReadsUtf8(os::SystemApi& api, const std::u16string& script);

}  // namespace tollik::runner
