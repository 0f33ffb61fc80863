#pragma once
// Program and DLL files for the fake file system: just enough of a PE image
// (headers, one section with an export table) for the checker to read.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tollik::fake {

// A PE image for `machine` exporting `exports`, carrying the version
// resource string InternalName = `internalName` when one is given.
std::string MakePeImage(std::uint16_t machine, const std::vector<std::string>& exports,
                        std::u16string_view internalName = {});

}  // namespace tollik::fake
