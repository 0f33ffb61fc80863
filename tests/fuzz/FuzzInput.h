#pragma once
// Turning a fuzzer's bytes into the inputs the targets need, and stopping
// loudly when a property breaks (libFuzzer saves the input that did it).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tollik::fuzz {

// Each pair of bytes is one UTF-16 unit, low byte first; an odd last byte
// is dropped.
inline std::u16string Units(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    text.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return text;
}

// Each byte is one unit: dense in the ASCII that number and path rules read.
inline std::u16string Narrow(const std::uint8_t* data, std::size_t size) {
    return std::u16string(data, data + size);
}

inline void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", property);
    std::abort();
}

}  // namespace tollik::fuzz
