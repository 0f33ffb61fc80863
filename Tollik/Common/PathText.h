#pragma once
// Path texts taken apart and put together, without any system call. The
// backslash ends a folder name and the colon a drive prefix; the slash is an
// ordinary character here, and positions count UTF-16 units.

#include <string>
#include <string_view>

namespace tollik {

// The folder part with its final delimiter: C:\work\game.hsp -> C:\work\.
std::u16string DirPart(std::u16string_view path);
// The folder part without its final backslash unless that backslash belongs
// to a root: C:\work\hsptmp -> C:\work, but C:\hsptmp -> C:\ and \hsptmp -> \.
std::u16string DirPartTrimmed(std::u16string_view path);
// Everything after the last backslash or colon; the whole path without one.
std::u16string NamePart(std::u16string_view path);
// Replaces the last extension of the name part, or appends `extension`,
// which brings its own full stop (".ini").
std::u16string ReplaceExtension(std::u16string_view path, std::u16string_view extension);
// The path ending with a backslash; the empty path gives a single backslash.
std::u16string AddTrailingDelimiter(std::u16string_view path);
// A file name with A-Z made a-z: how the runner compares the names the
// compiler and HSP's installer write, which are ASCII.
std::u16string FoldAsciiCase(std::u16string_view name);

}  // namespace tollik
