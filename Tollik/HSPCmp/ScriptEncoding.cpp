#include "HSPCmp/ScriptEncoding.h"

#include <algorithm>
#include <cstddef>

#include <string>

#include "Failure.h"
#include "HSPCmp/Utf8Directives.h"

namespace tollik {
namespace {

using namespace os;

// Units per check: a character that does not fit usually shows early, and
// the check stops at the piece that holds it.
constexpr std::size_t kCheckUnits = std::size_t{1} << 16;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

bool HoldsNonAscii(std::u16string_view text) {
    return std::any_of(text.begin(), text.end(), [](char16_t unit) { return unit > 0x7F; });
}

// Whether every character comes back as itself from the code page. A check
// the system refuses is an input/output failure: guessing could lose
// characters.
bool FitsExactly(SystemApi& api, std::uint32_t codePage, std::u16string_view text) {
    for (std::size_t at = 0; at < text.size();) {
        std::size_t count = std::min(kCheckUnits, text.size() - at);
        // A pair's halves stay in one piece.
        if (at + count < text.size() && IsHighSurrogate(text[at + count - 1])) ++count;
        std::int32_t usedDefault = 0;
        if (api.WideCharToMultiByte(codePage, kWcNoBestFitChars, text.data() + at,
                                    static_cast<int>(count), nullptr, 0, nullptr,
                                    &usedDefault) == 0)
            throw IoError(std::u16string(), static_cast<std::int32_t>(api.GetLastError()));
        if (usedDefault) return false;
        at += count;
    }
    return true;
}

}  // namespace

ScriptEncoding ChooseScriptEncoding(SystemApi& api, std::uint32_t ansiCodePage,
                                    std::u16string_view text) {
    const ScriptEncoding ansi{ansiCodePage, false};
    if (ansiCodePage == kCpUtf8 || !AsksForUtf8Strings(text)) return ansi;
    const bool fits = ansiCodePage == kCpJapanese ? FitsExactly(api, ansiCodePage, text)
                                                  : !HoldsNonAscii(text);
    return fits ? ansi : ScriptEncoding{kCpUtf8, true};
}

}  // namespace tollik
