#pragma once
// GetFullPathNameW's rules, as a pure function: the current directory and
// the current drive, per-drive directories, "." and "..", slashes, doubled
// backslashes, trailing dots and blanks, network and device paths.

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace tollik::fake {

struct PathContext {
    std::u16string currentDirectory = u"C:\\Users\\tollik";
    // The directory last current on other drives (the hidden "=D:" variables).
    std::map<char16_t, std::u16string> driveDirectories;
};

// The full path, or nothing when the system refuses the path.
std::optional<std::u16string> FullPathName(std::u16string_view path, const PathContext& context);

// The root a full path starts with: "C:\", "\\server\share", "\\.\"; empty
// for a path without one.
std::u16string_view RootOf(std::u16string_view fullPath);

}  // namespace tollik::fake
