#include "FakeCodePages.h"

#include <iconv.h>

#include <array>
#include <map>
#include <memory>
#include <stdexcept>

#include "FakeText.h"

namespace tollik::fake {
namespace {

constexpr std::uint16_t kUnmapped = 0xFFFF;
constexpr char kDefaultChar = '?';

// Bytes of one unit: one byte below 0x100, otherwise lead then trail byte.
using UnitTable = std::array<std::uint16_t, 0x10000>;

struct UnitOverride {
    char16_t unit;
    std::uint16_t bytes;
};
#include "BestFit.inc"

template <std::size_t N>
void Apply(UnitTable& table, const UnitOverride (&overrides)[N]) {
    for (const UnitOverride& row : overrides) table[row.unit] = row.bytes;
}

// 1252's bytes 0x80..0x9F hold typographic characters; the five unassigned
// bytes map to the C1 controls of the same value, as Windows round-trips them.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::unique_ptr<UnitTable> Table1252() {
    auto table = std::make_unique<UnitTable>();
    table->fill(kUnmapped);
    for (std::uint16_t byte = 0; byte < 0x100; ++byte) {
        const char16_t unit = byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : byte;
        (*table)[unit] = byte;
    }
    Apply(*table, kBestFit1252);
    return table;
}

// The code pages iconv gives the fake, by number.
std::string IconvName(std::uint32_t codePage) {
    for (const std::uint32_t known : {932u, 936u, 949u, 950u, 1250u, 1251u})
        if (codePage == known) return "CP" + std::to_string(codePage);
    return {};
}
bool IsSingleByte(std::uint32_t codePage) { return codePage == 1250 || codePage == 1251; }

// Built once from iconv, one code point at a time; the best-fit rows are
// 932's only.
std::unique_ptr<UnitTable> TableFromIconv(std::uint32_t codePage) {
    auto table = std::make_unique<UnitTable>();
    table->fill(kUnmapped);
    const iconv_t cd = iconv_open(IconvName(codePage).c_str(), "UTF-16LE");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv lacks " + IconvName(codePage));
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[8];
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 2, outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) continue;
        const std::size_t n = sizeof out - outLeft;
        if (n == 1) (*table)[unit] = static_cast<unsigned char>(out[0]);
        if (n == 2)
            (*table)[unit] = static_cast<std::uint16_t>((static_cast<unsigned char>(out[0]) << 8) |
                                                        static_cast<unsigned char>(out[1]));
    }
    iconv_close(cd);
    if (codePage == 932) Apply(*table, kBestFit932);
    // The bytes a single-byte page leaves undefined (1250's 0x81) stand for
    // the controls of their value, both ways, as on Windows.
    for (std::uint16_t byte = 0x80; IsSingleByte(codePage) && byte < 0xA0; ++byte)
        if (DecodeFromCodePage(codePage, std::string(1, static_cast<char>(byte))) == std::u16string(1, byte))
            (*table)[byte] = byte;
    return table;
}

const UnitTable& TableFor(std::uint32_t codePage) {
    static const std::unique_ptr<UnitTable> western = Table1252();
    if (codePage == 1252) return *western;
    static std::map<std::uint32_t, std::unique_ptr<UnitTable>> others;
    std::unique_ptr<UnitTable>& table = others[codePage];
    if (!table) table = TableFromIconv(codePage);
    return *table;
}

// Whether a unit's bytes decode to it again: what WC_NO_BEST_FIT_CHARS
// keeps. Best-fit rows and many-to-one mappings fail it. Asked once a unit.
bool ComesBack(std::uint32_t codePage, char16_t unit, std::uint16_t bytes) {
    static std::map<std::uint32_t, std::map<char16_t, bool>> known;
    const auto [at, added] = known[codePage].try_emplace(unit, false);
    if (added) {
        const std::string encoded = bytes > 0xFF ? std::string{static_cast<char>(bytes >> 8), static_cast<char>(bytes & 0xFF)}
                                                 : std::string(1, static_cast<char>(bytes));
        at->second = DecodeFromCodePage(codePage, encoded) == std::u16string(1, unit);
    }
    return at->second;
}

}  // namespace

bool IsKnownCodePage(std::uint32_t codePage) {
    return codePage == 1252 || codePage == 65001 || !IconvName(codePage).empty();
}

std::string EncodeForCodePage(std::uint32_t codePage, std::u16string_view text, bool exact,
                              bool* usedDefault) {
    if (codePage == 65001) return Utf8(text);
    std::string out;
    out.reserve(text.size());
    const UnitTable& table = TableFor(codePage);
    bool used = false;
    for (const char16_t unit : text) {
        const std::uint16_t bytes = table[unit];
        if (bytes == kUnmapped || (exact && !ComesBack(codePage, unit, bytes))) {
            out += kDefaultChar;
            used = true;
        } else if (bytes > 0xFF) {
            out += static_cast<char>(bytes >> 8);
            out += static_cast<char>(bytes & 0xFF);
        } else {
            out += static_cast<char>(bytes);
        }
    }
    if (usedDefault) *usedDefault = used;
    return out;
}

std::u16string DecodeFromCodePage(std::uint32_t codePage, std::string_view bytes) {
    if (codePage == 65001) return *DecodeUtf8(bytes, false);
    std::u16string out;
    if (codePage == 1252) {
        for (const char byte : bytes) {
            const auto value = static_cast<unsigned char>(byte);
            out += value >= 0x80 && value < 0xA0 ? kHigh[value - 0x80] : static_cast<char16_t>(value);
        }
        return out;
    }
    const iconv_t cd = iconv_open("UTF-16LE", IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv lacks " + IconvName(codePage));
    std::string input(bytes);
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
        char16_t unit[2] = {};
        char* outPtr = reinterpret_cast<char*>(unit);
        std::size_t outLeft = sizeof unit;
        // One character at a time: a byte that starts none becomes the
        // katakana middle dot under 932 and "?" under the other double-byte
        // pages; a byte a single-byte page lacks, the control of its value.
        const auto byte = static_cast<unsigned char>(*in);
        const std::size_t step = byte >= 0x80 && inLeft > 1 && !IsSingleByte(codePage) ? 2 : 1;
        std::size_t take = byte < 0x80 || (codePage == 932 ? byte >= 0xA1 && byte <= 0xDF : byte == 0x80) ? 1 : step;
        char* from = in;
        std::size_t fromLeft = take;
        if (iconv(cd, &from, &fromLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || fromLeft != 0) {
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
            out += IsSingleByte(codePage) ? static_cast<char16_t>(byte) : codePage == 932 ? u'\u30FB' : u'?';
            take = 1;
        } else {
            out.append(unit, (sizeof unit - outLeft) / sizeof(char16_t));
        }
        in += take;
        inLeft -= take;
    }
    iconv_close(cd);
    return out;
}

namespace {

// The length of the well-formed UTF-8 sequence at the start of `bytes`
// (Unicode's table of well-formed byte sequences), or 0 when the bytes there
// are not one; `prefix` then gets the length of the maximal subpart, which
// one U+FFFD replaces.
std::size_t WellFormedLength(std::string_view bytes, char32_t& value, std::size_t& prefix) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(0);
    prefix = 1;
    if (lead < 0x80) {
        value = lead;
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    value = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (i >= bytes.size()) return 0;
        const unsigned char byte = at(i);
        if (byte < (i == 1 ? low : 0x80) || byte > (i == 1 ? high : 0xBF)) return 0;
        value = (value << 6) | (byte & 0x3F);
        prefix = i + 1;
    }
    return length;
}

}  // namespace

std::optional<std::u16string> DecodeUtf8(std::string_view bytes, bool strict) {
    std::u16string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t value = 0;
        std::size_t prefix = 0;
        const std::size_t length = WellFormedLength(bytes, value, prefix);
        if (length == 0) {
            if (strict) return std::nullopt;
            text += u'\xFFFD';
            bytes.remove_prefix(prefix);
            continue;
        }
        if (value >= 0x10000) {
            value -= 0x10000;
            text += static_cast<char16_t>(0xD800 + (value >> 10));
            text += static_cast<char16_t>(0xDC00 + (value & 0x3FF));
        } else {
            text += static_cast<char16_t>(value);
        }
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace tollik::fake
