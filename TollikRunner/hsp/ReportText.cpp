#include "hsp/ReportText.h"

#include "hsp/CompilerPath.h"

namespace tollik::runner {
namespace {

unsigned Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

// Well-formed UTF-8 of two bytes or more, by its first byte: the length and
// the range of the second byte (no overlong form, surrogate, or value past
// U+10FFFF); the bytes after the second are 0x80-0xBF.
struct Utf8Lead {
    unsigned first, last;
    std::size_t length;
    unsigned secondLow, secondHigh;
};
constexpr Utf8Lead kUtf8Leads[] = {
    {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
    {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
    {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

// The length of the well-formed multi-byte UTF-8 sequence at `at`; 0 for none.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t at) {
    const unsigned lead = Byte(bytes, at);
    for (const Utf8Lead& row : kUtf8Leads) {
        if (lead < row.first || lead > row.last) continue;
        if (at + row.length > bytes.size()) return 0;
        const unsigned second = Byte(bytes, at + 1);
        if (second < row.secondLow || second > row.secondHigh) return 0;
        for (std::size_t i = 2; i < row.length; ++i)
            if ((Byte(bytes, at + i) & 0xC0) != 0x80) return 0;
        return row.length;
    }
    return 0;
}

bool IsShiftJisTrail(unsigned byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }
// The lead bytes of every Japanese word the compiler writes.
bool IsCompilerLead(unsigned byte) { return (byte >= 0x81 && byte <= 0x83) || (byte >= 0x88 && byte <= 0x9F); }

}  // namespace

std::vector<ReportPiece> SplitReport(std::string_view bytes, std::uint32_t ansiCodePage) {
    std::vector<ReportPiece> pieces;
    const auto add = [&](std::uint32_t codePage, std::size_t offset, std::size_t length) {
        if (!pieces.empty() && pieces.back().codePage == codePage) pieces.back().length += length;
        else pieces.push_back({codePage, offset, length});
    };
    if (ansiCodePage == kCpShiftJis) {
        if (!bytes.empty()) add(os::kCpAcp, 0, bytes.size());
        return pieces;
    }
    const bool utf8 = ansiCodePage == os::kCpUtf8;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = bytes.find('\n', at);
        end = end == std::string_view::npos ? bytes.size() : end + 1;
        if (!utf8 && bytes.substr(at, end - at).starts_with("--> ")) {
            add(os::kCpAcp, at, end - at);
            at = end;
            continue;
        }
        while (at < end) {
            const unsigned byte = Byte(bytes, at);
            std::size_t length = 1;
            std::uint32_t codePage = os::kCpAcp;
            if (byte >= 0x80) {
                const std::size_t sequence = utf8 ? Utf8SequenceAt(bytes.substr(0, end), at) : 0;
                const bool pair = (utf8 ? IsShiftJisLeadByte(static_cast<unsigned char>(byte)) : IsCompilerLead(byte)) && at + 1 < end &&
                                  IsShiftJisTrail(Byte(bytes, at + 1));
                if (sequence != 0) {
                    length = sequence;
                } else if (pair) {
                    length = 2;
                    codePage = kCpShiftJis;
                } else if (utf8 && byte >= 0xA1 && byte <= 0xDF) {
                    codePage = kCpShiftJis;  // a half-width kana
                }
            }
            add(codePage, at, length);
            at += length;
        }
    }
    return pieces;
}

std::u16string DecodeReport(os::SystemApi& api, std::string_view bytes) {
    std::u16string text;
    for (const ReportPiece& piece : SplitReport(bytes, api.GetACP())) {
        const std::string_view run = bytes.substr(piece.offset, piece.length);
        std::u16string decoded = FromCodePage(api, piece.codePage, run);
        if (decoded.empty() && piece.codePage != os::kCpAcp) decoded = FromAnsi(api, run);
        text += decoded;
    }
    return text;
}

bool HoldsShiftJisLeadBytes(std::string_view script) {
    for (const char byte : script)
        if (IsShiftJisLeadByte(static_cast<unsigned char>(byte))) return true;
    return false;
}

}  // namespace tollik::runner
