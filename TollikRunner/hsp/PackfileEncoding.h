#pragma once
// The packfile of a script the compiler read as UTF-8 holds the script's
// names (#pack, #epack, #packopt) as UTF-8, while hsc3_make opens and
// writes files by them with the ANSI calls: outside code page 65001 it
// misses the packed files and writes the executable under a garbled name.
// Handed over in the ANSI code page, the names work wherever that code page
// can write them; the packed files keep their names inside the executable,
// which the compiler stores as UTF-8 whatever it was given.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik::runner {

struct AnsiPackfile {
    std::string bytes;       // the packfile in the ANSI code page
    std::u16string refused;  // or else the first name the code page cannot write
};

// `packfile` in the ANSI code page, line by line; absent when it needs no
// converting: nothing but ASCII, or not UTF-8 (names from a Shift_JIS
// include, already in the bytes the compiler uses).
std::optional<AnsiPackfile> PackfileInAnsi(os::SystemApi& api, std::string_view packfile);

// Writes `bytes` as the whole of the file, sharing reads only; 0, or the
// system's error.
std::uint32_t WriteWholeFile(os::SystemApi& api, const std::u16string& path, std::string_view bytes);

}  // namespace tollik::runner
