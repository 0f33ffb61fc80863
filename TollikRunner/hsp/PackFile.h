#pragma once
// The "packfile" the compiler writes beside the script when it packs one
// (hsc_comp with the pack option): the files to pack, and the script's
// #packopt options as lines ";!name=value", read as hsc3_make reads them.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollik::runner {

// Every ";!name=value" line; a later line of the same name wins.
std::map<std::string, std::string> ReadPackOptions(std::string_view packfile);

// A line or option the compiler's hsc3_make would copy past the end of a
// fixed buffer: a packfile line over 511 bytes, or #packopt runtime, name,
// icon, version, manifest, lang or upx once the folder it is put after is
// counted; also the default name "hsptmp" where no #packopt name is given
// (`defaultName`: the folder is what is too long). `scriptFolderBytes`: the
// folder as the runner hands it on, with its final backslash;
// `currentFolderBytes`: the compiler's own text of it, its current
// directory in the ANSI code page then "\" (a drive's root so ends with
// two), which the executable's path starts with. `limit`: the most bytes
// the option's value may have here.
struct PackOverflow {
    std::string option;
    std::size_t limit = 0;
    bool defaultName = false;
};
std::optional<PackOverflow> FindPackOverflow(std::string_view packfile, std::size_t hspFolderBytes,
                                             std::size_t scriptFolderBytes, std::size_t currentFolderBytes);

// `name` without its extension, as the compiler's cutext cuts it: from the
// last full stop after the last backslash, a full stop that is the second
// byte of a Shift_JIS pair not counting.
std::string_view WithoutExtension(std::string_view name);

// The #packopt options hsc3_make leaves to iconins.exe, in its order.
inline constexpr std::string_view kIconinsOptions[] = {"icon", "version", "manifest", "lang", "upx"};

// iconins.exe's arguments for the executable `target` (a full path), as
// hsc3_make builds them: files (icon, version, manifest) are named from
// `scriptFolder`, which ends with a backslash. Empty when no option is set.
// Texts are in the ANSI code page, as the packfile holds them.
std::string IconinsArguments(const std::map<std::string, std::string>& options, std::string_view target,
                             std::string_view scriptFolder);

// The executable's name: #packopt name (default "hsptmp") without its
// extension, then ".scr" for a screen saver (type 2), else ".exe".
std::string MadeExecutableFileName(const std::map<std::string, std::string>& options);

}  // namespace tollik::runner
