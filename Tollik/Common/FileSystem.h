#pragma once
// File-system queries over the seam. Each asks the system afresh; nothing is
// cached between calls.

#include <cstdint>
#include <string>
#include <string_view>

#include "os/SystemApi.h"

namespace tollik {

// The absolute, normalised form by the system's rules (current directory,
// "." and "..", slashes); no length limit. Empty when the system refuses it.
std::u16string ExpandPath(os::SystemApi& api, std::u16string_view path);

// Something other than a folder is there; links are followed, and a file
// the system will not describe (in use, say) is looked for by a search.
bool FileIsPresent(os::SystemApi& api, std::u16string_view path);

// A folder is there; links are followed. A folder that cannot be examined
// (access denied) counts as present.
bool DirectoryIsPresent(os::SystemApi& api, std::u16string_view path);

// Creates the folder and every missing parent, outermost first. False when
// a folder cannot be created (those made before stay); throws IoError (code
// 3) for an empty folder, also when a relative path runs out of parents.
bool CreateDirectoryTree(os::SystemApi& api, std::u16string_view folder);

// The full path of the host process's executable, never the plug-in's;
// empty when the system cannot say.
std::u16string HostExecutablePath(os::SystemApi& api);

// A file's bytes, opened for reading with reads shared (as the plug-in
// opens its settings file) and read in one call. Empty when the size cannot
// be had or is zero; not read at all from `sizeLimit` bytes up.
enum class FileRead { Read, CannotOpen, TooLarge };
struct FileBytes {
    FileRead outcome = FileRead::Read;
    std::string bytes;
    std::uint32_t error = 0;  // the system's, for CannotOpen
};
FileBytes ReadFileBytes(os::SystemApi& api, const std::u16string& path, std::int64_t sizeLimit);

}  // namespace tollik
