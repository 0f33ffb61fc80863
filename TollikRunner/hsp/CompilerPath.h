#pragma once
// Paths as the HSP compiler takes them: bytes in the ANSI code page, at most
// 259 of them, as it copies each into a buffer of MAX_PATH.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "os/RunnerApi.h"

namespace tollik::runner {

inline constexpr std::size_t kCompilerPathLimit = 259;
// The HSP folder's own limit: in buffers of that size the compiler appends
// to it "common\" and the name of a file it includes from there (hspdef.as
// in every compile), and in hsc3_make the runtime's name (hsprt, or what
// #packopt runtime says). Room is kept for names of up to 64 bytes.
inline constexpr std::size_t kHspFolderPathLimit = kCompilerPathLimit - 7 - 64;

// `text` in the ANSI code page when every unit survives the round trip
// (no default character, no best-fit look-alike); absent otherwise.
std::optional<std::string> ToAnsiExactly(os::SystemApi& api, std::u16string_view text);
// ANSI bytes back to UTF-16; invalid sequences as the system decodes them.
std::u16string FromAnsi(os::SystemApi& api, std::string_view bytes);
// The bytes `text` takes in the ANSI code page, a unit it lacks counted as
// the default character that stands in for it.
std::size_t AnsiLength(os::SystemApi& api, std::u16string_view text);
// The same from another code page; empty where the system lacks it.
std::u16string FromCodePage(os::SystemApi& api, std::uint32_t codePage, std::string_view bytes);

enum class PathProblem { None, NotInCodePage, TooLong };

struct CompilerPathResult {
    std::string bytes;
    std::u16string text;  // the form that fit (long or short), as UTF-16
    PathProblem problem = PathProblem::None;
};

// The path of an existing file or folder for the compiler: as it is when
// the code page can write it, else its short (8.3) form; a final backslash
// stays.
CompilerPathResult ToCompilerPath(os::RunnerApi& api, std::u16string_view path);

}  // namespace tollik::runner
