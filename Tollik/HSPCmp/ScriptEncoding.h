#pragma once
// The bytes a script is saved in. The system's ANSI code page, as HSP's own
// editor saves; but a script written for HSP's UTF-8 runtime that holds a
// character the compiler would not get as typed is saved as UTF-8 with a
// byte-order mark, which the runner has the compiler read as UTF-8.

#include <cstdint>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik {

struct ScriptEncoding {
    std::uint32_t codePage = 0;  // the text is converted to this code page
    bool byteOrderMark = false;  // EF BB BF comes before it
    int convertedSize = 0;       // the conversion's size when the choice counted it, else 0
};

// UTF-8 with the mark when the script asks for UTF-8 strings and, on code
// page 932, holds a character 932 cannot hold exactly (it would become the
// default character or a look-alike), or, on another code page but 65001,
// any character outside ASCII (the compiler reads such a file as
// Shift_JIS). Otherwise the ANSI code page: every script on a 65001 system
// is UTF-8 already, without the mark. Throws IoError when the system
// refuses the check.
ScriptEncoding ChooseScriptEncoding(os::SystemApi& api, std::uint32_t ansiCodePage,
                                    std::u16string_view text);

}  // namespace tollik
