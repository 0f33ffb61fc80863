#include "FakePrograms.h"

namespace tollik::fake {
namespace {

void Put(std::string& bytes, std::size_t at, std::uint32_t value, std::size_t width) {
    if (bytes.size() < at + width) bytes.resize(at + width, '\0');
    for (std::size_t i = 0; i < width; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::string MakePeImage(std::uint16_t machine, const std::vector<std::string>& exports,
                        std::u16string_view internalName) {
    constexpr std::uint32_t kHeader = 0x40, kOptional = kHeader + 24, kOptionalSize = 224;
    constexpr std::uint32_t kSectionTable = kOptional + kOptionalSize, kRaw = 0x200, kAddress = 0x1000;
    // The section: the export directory, the name pointers, the names, the text.
    std::string section(40, '\0');
    const auto count = static_cast<std::uint32_t>(exports.size());
    Put(section, 24, count, 4);
    Put(section, 32, kAddress + 40, 4);
    std::uint32_t name = 40 + 4 * count;
    for (std::uint32_t i = 0; i < count; ++i) {
        Put(section, 40 + 4 * i, kAddress + name, 4);
        section.resize(name);
        section += exports[i];
        section += '\0';
        name = static_cast<std::uint32_t>(section.size());
    }
    if (!internalName.empty()) {
        // As a version resource's String: key, NUL, padding, value, NUL.
        const auto put = [&](std::u16string_view text) {
            for (const char16_t unit : text) {
                section += static_cast<char>(unit & 0xFF);
                section += static_cast<char>(unit >> 8);
            }
            section += std::string(2, '\0');
        };
        put(u"InternalName");
        section += std::string(2, '\0');
        put(internalName);
    }
    const auto size = static_cast<std::uint32_t>(section.size());

    std::string bytes = "MZ";
    Put(bytes, 0x3C, kHeader, 4);
    Put(bytes, kHeader, 0x00004550, 4);  // "PE\0\0"
    Put(bytes, kHeader + 4, machine, 2);
    Put(bytes, kHeader + 6, 1, 2);  // one section
    Put(bytes, kHeader + 20, kOptionalSize, 2);
    Put(bytes, kOptional, 0x10B, 2);   // PE32
    Put(bytes, kOptional + 92, 16, 4);  // data directories
    Put(bytes, kOptional + 96, kAddress, 4);
    Put(bytes, kOptional + 100, size, 4);
    bytes.resize(kSectionTable);
    bytes += std::string(".edata\0\0", 8);
    Put(bytes, kSectionTable + 8, size, 4);
    Put(bytes, kSectionTable + 12, kAddress, 4);
    Put(bytes, kSectionTable + 16, size, 4);
    Put(bytes, kSectionTable + 20, kRaw, 4);
    bytes.resize(kRaw, '\0');
    return bytes + section;
}

}  // namespace tollik::fake
