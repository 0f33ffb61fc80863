#include "HSPCmp/ScriptEncoding.h"

#include <algorithm>
#include <climits>
#include <cstddef>

#include <optional>
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

// The bytes of the whole text in the code page, when every character comes
// back from it as itself; nothing when one would not. The sizes of the
// pieces add up to the size of the whole, so the conversion that follows
// needs no sizing call of its own. A check the system refuses is an
// input/output failure: guessing could lose characters.
std::optional<std::int64_t> ExactSize(SystemApi& api, std::uint32_t codePage,
                                      std::u16string_view text) {
    std::int64_t size = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t count = std::min(kCheckUnits, text.size() - at);
        // A pair's halves stay in one piece.
        if (at + count < text.size() && IsHighSurrogate(text[at + count - 1])) ++count;
        std::int32_t usedDefault = 0;
        const int bytes = api.WideCharToMultiByte(codePage, kWcNoBestFitChars, text.data() + at,
                                                  static_cast<int>(count), nullptr, 0, nullptr,
                                                  &usedDefault);
        if (bytes == 0) throw IoError(std::u16string(), static_cast<std::int32_t>(api.GetLastError()));
        if (usedDefault) return std::nullopt;
        size += bytes;
        at += count;
    }
    return size;
}

}  // namespace

ScriptEncoding ChooseScriptEncoding(SystemApi& api, std::uint32_t ansiCodePage,
                                    std::u16string_view text) {
    const ScriptEncoding ansi{ansiCodePage, false, 0};
    const ScriptEncoding utf8{kCpUtf8, true, 0};
    if (ansiCodePage == kCpUtf8 || !AsksForUtf8Strings(text)) return ansi;
    if (ansiCodePage != kCpJapanese) return HoldsNonAscii(text) ? utf8 : ansi;
    const std::optional<std::int64_t> size = ExactSize(api, ansiCodePage, text);
    if (!size) return utf8;
    // A size one call cannot give is left for the conversion to refuse.
    return {ansiCodePage, false, *size <= INT_MAX ? static_cast<int>(*size) : 0};
}

}  // namespace tollik
