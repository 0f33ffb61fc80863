#include "PeImage.h"

namespace tollik::check {
namespace {

// Little-endian reads that fail, rather than read past the end.
struct Bytes {
    std::string_view data;

    std::optional<std::uint32_t> At(std::size_t offset, std::size_t width) const {
        if (offset > data.size() || data.size() - offset < width) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = width; i-- > 0;)
            value = (value << 8) | static_cast<unsigned char>(data[offset + i]);
        return value;
    }
    std::optional<std::uint32_t> U16(std::size_t offset) const { return At(offset, 2); }
    std::optional<std::uint32_t> U32(std::size_t offset) const { return At(offset, 4); }
};

struct Section {
    std::uint32_t address, size, rawOffset, rawSize;
};

// Where a virtual address's byte lies in the file.
std::optional<std::size_t> FileOffset(const std::vector<Section>& sections, std::uint32_t address) {
    // Only bytes the file holds: past a section's raw data it reads as zeros.
    for (const Section& s : sections) {
        if (address >= s.address && address - s.address < s.rawSize)
            return std::size_t{s.rawOffset} + (address - s.address);
    }
    return std::nullopt;
}

std::vector<std::string> ExportNames(const Bytes& file, const std::vector<Section>& sections,
                                     std::uint32_t directory) {
    constexpr std::uint32_t kNameLimit = 65536;
    const auto table = FileOffset(sections, directory);
    if (!table) return {};
    const auto count = file.U32(*table + 24), names = file.U32(*table + 32);
    if (!count || !names || *count > kNameLimit) return {};
    const auto list = FileOffset(sections, *names);
    if (!list) return {};
    std::vector<std::string> exports;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto name = file.U32(*list + 4 * std::size_t{i});
        const auto at = name ? FileOffset(sections, *name) : std::nullopt;
        if (!at) return {};
        const std::size_t end = file.data.find('\0', *at);
        if (end == std::string_view::npos) return {};
        exports.emplace_back(file.data.substr(*at, end - *at));
    }
    return exports;
}

}  // namespace

std::optional<PeImage> ReadPeImage(std::string_view bytes) {
    const Bytes file{bytes};
    if (!bytes.starts_with("MZ")) return std::nullopt;
    const auto header = file.U32(0x3C);
    if (!header || file.U32(*header) != 0x00004550u) return std::nullopt;  // "PE\0\0"
    const std::size_t coff = *header + 4;
    const auto machine = file.U16(coff), sectionCount = file.U16(coff + 2), optionalSize = file.U16(coff + 16);
    const std::size_t optional = coff + 20;
    const auto magic = file.U16(optional);
    if (!machine || !sectionCount || !optionalSize || !magic) return std::nullopt;
    if (*magic != 0x10B && *magic != 0x20B) return std::nullopt;
    // PE32 and PE32+ differ in where the data directories start.
    const std::size_t directories = *magic == 0x20B ? optional + 112 : optional + 96;
    const auto directoryCount = file.U32(directories - 4);

    std::vector<Section> sections;
    const std::size_t table = optional + *optionalSize;
    for (std::uint32_t i = 0; i < *sectionCount; ++i) {
        const std::size_t at = table + 40 * std::size_t{i};
        const auto size = file.U32(at + 8), address = file.U32(at + 12), rawSize = file.U32(at + 16),
                   rawOffset = file.U32(at + 20);
        if (!size || !address || !rawSize || !rawOffset) return std::nullopt;
        sections.push_back({*address, *size, *rawOffset, *rawSize});
    }
    PeImage image;
    image.machine = static_cast<std::uint16_t>(*machine);
    const auto exportDirectory = file.U32(directories);
    if (directoryCount && *directoryCount > 0 && exportDirectory && *exportDirectory != 0)
        image.exports = ExportNames(file, sections, *exportDirectory);
    return image;
}

bool HoldsVersionString(std::string_view bytes, std::u16string_view key, std::u16string_view value) {
    const auto utf16 = [](std::u16string_view text) {
        std::string units;
        for (const char16_t unit : text) {
            units += static_cast<char>(unit & 0xFF);
            units += static_cast<char>(unit >> 8);
        }
        return units + std::string(2, '\0');
    };
    const std::string wantedKey = utf16(key), wantedValue = utf16(value);
    for (std::size_t at = bytes.find(wantedKey); at != std::string_view::npos; at = bytes.find(wantedKey, at + 1)) {
        const std::size_t end = at + wantedKey.size();
        for (std::size_t padding = 0; padding <= 2; padding += 2) {
            if (bytes.substr(end, padding).find_first_not_of('\0') != std::string_view::npos) break;
            if (bytes.substr(end + std::min(padding, bytes.size() - end)).starts_with(wantedValue)) return true;
        }
    }
    return false;
}

}  // namespace tollik::check
