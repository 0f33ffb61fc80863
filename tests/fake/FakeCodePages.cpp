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
const char* IconvName(std::uint32_t codePage) {
    switch (codePage) {
        case 932: return "CP932";
        case 936: return "CP936";
        case 949: return "CP949";
        case 950: return "CP950";
        case 1250: return "CP1250";
        case 1251: return "CP1251";
        default: return nullptr;
    }
}

bool IsDoubleByte(std::uint32_t codePage) { return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950; }

// A byte that starts a pair: 932's two ranges, 0x81-0xFE for the others.
bool IsLeadByte(std::uint32_t codePage, unsigned char byte) {
    if (codePage == 932) return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    return IsDoubleByte(codePage) && byte >= 0x81 && byte <= 0xFE;
}

struct Iconv {
    iconv_t cd;
    Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {
        if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error(std::string("iconv lacks ") + from + to);
    }
    ~Iconv() { iconv_close(cd); }
    // `bytes` as one whole conversion, or nothing.
    std::optional<std::string> Convert(std::string_view bytes) const {
        std::string input(bytes);
        char out[16];
        char* in = input.data();
        char* outPtr = out;
        std::size_t inLeft = input.size(), outLeft = sizeof out;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return std::string(out, sizeof out - outLeft);
    }
};

// Built once from iconv, one code point at a time. A single byte iconv
// leaves undefined (1250's 0x81, 1251's 0x98) stands for the C1 control of
// its value, both ways, as on Windows; the best-fit rows exist for 932 only.
std::unique_ptr<UnitTable> TableFromIconv(std::uint32_t codePage) {
    auto table = std::make_unique<UnitTable>();
    table->fill(kUnmapped);
    const Iconv encode(IconvName(codePage), "UTF-16LE");
    for (std::uint32_t unit = 0; unit < 0x10000; ++unit) {
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        const char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        const std::optional<std::string> out = encode.Convert(std::string_view(in, 2));
        if (!out) continue;
        if (out->size() == 1) (*table)[unit] = static_cast<unsigned char>((*out)[0]);
        if (out->size() == 2)
            (*table)[unit] = static_cast<std::uint16_t>((static_cast<unsigned char>((*out)[0]) << 8) |
                                                        static_cast<unsigned char>((*out)[1]));
    }
    if (!IsDoubleByte(codePage)) {
        const Iconv decode("UTF-16LE", IconvName(codePage));
        for (unsigned byte = 0x80; byte < 0x100; ++byte)
            if (!decode.Convert(std::string(1, static_cast<char>(byte)))) (*table)[byte] = static_cast<std::uint16_t>(byte);
    }
    if (codePage == 932) Apply(*table, kBestFit932);
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

}  // namespace

bool IsKnownCodePage(std::uint32_t codePage) {
    return codePage == 1252 || codePage == 65001 || IconvName(codePage) != nullptr;
}

std::string EncodeForCodePage(std::uint32_t codePage, std::u16string_view text) {
    if (codePage == 65001) return Utf8(text);
    std::string out;
    out.reserve(text.size());
    const UnitTable& table = TableFor(codePage);
    for (const char16_t unit : text) {
        const std::uint16_t bytes = table[unit];
        if (bytes == kUnmapped) {
            out += kDefaultChar;
        } else if (bytes > 0xFF) {
            out += static_cast<char>(bytes >> 8);
            out += static_cast<char>(bytes & 0xFF);
        } else {
            out += static_cast<char>(bytes);
        }
    }
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
    // One character at a time, as Windows reads them: a pair the code page
    // lacks (or a lead byte at the end) becomes its default, 932's katakana
    // middle dot or "?"; a single byte it lacks, the control of its value.
    const Iconv decode("UTF-16LE", IconvName(codePage));
    const char16_t unknown = codePage == 932 ? u'\u30FB' : u'?';
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        const std::size_t take = IsLeadByte(codePage, byte) && at + 1 < bytes.size() ? 2 : 1;
        if (const std::optional<std::string> unit = decode.Convert(bytes.substr(at, take))) {
            for (std::size_t i = 0; i + 1 < unit->size(); i += 2)
                out += static_cast<char16_t>(static_cast<unsigned char>((*unit)[i]) |
                                             (static_cast<unsigned char>((*unit)[i + 1]) << 8));
            at += take;
        } else if (codePage == 932 && take == 2) {
            out += unknown;  // 932 reads on from the second byte
            at += 1;
        } else {
            out += IsDoubleByte(codePage) ? unknown : static_cast<char16_t>(byte);
            at += take;
        }
    }
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
