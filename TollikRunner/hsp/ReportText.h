#pragma once
// The compiler's report, bytes to text. Its own messages are Shift_JIS on
// every system (its Japanese build; the English one writes ASCII), while
// what it quotes of the user's (script lines, file names, identifiers) is in
// the script's encoding: outside code page 932 no single code page reads
// both, so each line is read by the form the compiler wrote it in.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::runner {

inline constexpr std::uint32_t kCpShiftJis = 932;

// A run of the report's bytes and the code page it is read in: kCpShiftJis
// for the compiler's own words, os::kCpAcp or os::kCpUtf8 for the user's.
struct ReportPiece {
    std::uint32_t codePage = os::kCpAcp;
    std::size_t offset = 0;
    std::size_t length = 0;
};

// How the report splits on a system whose ANSI code page is `ansiCodePage`,
// the compiler having read the script as UTF-8 (`utf8Input`) or not. Each
// line is matched against the compiler's message forms ("name(3) : error
// 4 : ...", "#Error:... in line 3 [name]", "--> <script line>", a name in
// brackets, ...): the names, identifiers and script lines in them are the
// user's, the rest the compiler's. The user's text is in the ANSI code page,
// or, with UTF-8 input, UTF-8 where it is well-formed and Shift_JIS where it
// is not (an included file saved as Shift_JIS). Under 932 without UTF-8
// input both agree: one piece.
std::vector<ReportPiece> SplitReport(std::string_view bytes, std::uint32_t ansiCodePage, bool utf8Input);

// The report as text, each piece decoded in its code page; a system
// without code page 932 reads the compiler's words in the ANSI code page.
std::u16string DecodeReport(os::SystemApi& api, std::string_view bytes, bool utf8Input);

// A byte the compiler takes for the first of a Shift_JIS pair (its
// CheckByteSJIS): it reads scripts and names so unless told they are UTF-8.
constexpr bool IsShiftJisLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Whether `script` holds such bytes.
bool HoldsShiftJisLeadBytes(std::string_view script);

// Whether `bytes` are well-formed UTF-8 throughout.
bool IsWellFormedUtf8(std::string_view bytes);

}  // namespace tollik::runner
