#pragma once
// What the checker needs from a Windows program or DLL file: the machine it
// is built for, the names it exports and whether it carries a given text.
// Read from the file's bytes alone; nothing is loaded.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tollik::check {

inline constexpr std::uint16_t kMachineI386 = 0x014C;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;
inline constexpr std::uint16_t kMachineArm64 = 0xAA64;

struct PeImage {
    std::uint16_t machine = 0;
    std::vector<std::string> exports;  // by name, as the export table has them
};

// Nothing when `bytes` is not a PE image whose headers lie within it. An
// export table that does not fit gives no exports.
std::optional<PeImage> ReadPeImage(std::string_view bytes);

// Whether `bytes` hold a version resource string `key` = `value`: the key in
// UTF-16 with its NUL, up to two bytes of padding, the value with its NUL.
bool HoldsVersionString(std::string_view bytes, std::u16string_view key, std::u16string_view value);

}  // namespace tollik::check
