#pragma once
// Writes the captured document as the script file the runner compiles: the
// text in the system's ANSI code page (or, for a script written for HSP's
// UTF-8 runtime that the code page cannot hold, in UTF-8 after a byte-order
// mark), then CR LF, or nothing at all for an empty text. The only place the
// plug-in writes a file.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik {

// The longest script path the writer accepts, in UTF-16 units.
inline constexpr std::size_t kScriptPathLimit = 259;
// Bytes per WriteFile: every piece but the last is this long.
inline constexpr std::size_t kScriptWriteBufferBytes = 128;

// Creates the file's folder when missing, then creates or truncates the file
// and writes it. Throws GeneralError when the folder cannot be created and
// IoError otherwise (see the messages in the source); the file is closed on
// every path.
void SaveScriptFile(os::SystemApi& api, std::uint32_t ansiCodePage, std::u16string_view path,
                    std::u16string_view text);

}  // namespace tollik
