#pragma once
// The compiler's report, bytes to text. Its own messages are Shift_JIS on
// every system (its Japanese build; the English one writes ASCII), while
// what it quotes of the user's (script lines, file names, identifiers) is in
// the script's or the system's encoding: outside code page 932 no single
// code page reads both.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::runner {

inline constexpr std::uint32_t kCpShiftJis = 932;

// A run of the report's bytes and the code page it is read in: kCpShiftJis
// for the compiler's own words, os::kCpAcp for everything else.
struct ReportPiece {
    std::uint32_t codePage = os::kCpAcp;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// How the report splits on a system whose ANSI code page is `ansiCodePage`.
// Under 932 it is one piece. Under 65001 a byte sequence that is UTF-8 is
// the user's and any other is Shift_JIS. Under any other code page the
// compiler's words are Shift_JIS pairs led by 0x81-0x83 or 0x88-0x9F (its
// kana, punctuation and common kanji; most accented letters sit above
// 0xBF, though 1252's Š, œ and curly quotes do not), and a quoted script
// line ("--> ...") is the user's throughout.
std::vector<ReportPiece> SplitReport(std::string_view bytes, std::uint32_t ansiCodePage);

// The report as text, each piece decoded in its code page; a system
// without code page 932 reads it all in the ANSI code page.
std::u16string DecodeReport(os::SystemApi& api, std::string_view bytes);

// A byte the compiler takes for the first of a Shift_JIS pair (its
// CheckByteSJIS): it reads scripts and names so unless told they are UTF-8.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Whether `script` holds such bytes.
bool HoldsShiftJisLeadBytes(std::string_view script);

}  // namespace tollik::runner
