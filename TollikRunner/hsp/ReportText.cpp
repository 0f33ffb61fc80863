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

// The bytes of the Shift_JIS character at `at`: a pair, or one byte.
std::size_t ShiftJisCharAt(std::string_view bytes, std::size_t at) {
    return IsShiftJisLeadByte(static_cast<unsigned char>(bytes[at])) && at + 1 < bytes.size() &&
                   IsShiftJisTrail(Byte(bytes, at + 1))
               ? 2
               : 1;
}

// The compiler's message forms that quote the user (token.cpp, codegen.cpp,
// tagstack.cpp), tried in this order; a line none fits is the compiler's
// words, perhaps with a name it quotes in brackets ("%c": "#Use file [..]",
// "#スクリプトファイルが見つかりません [..]", "#No file [..].", ...). In a
// form %u is the user's text, %n a decimal number, %w the compiler's words,
// %c its words with perhaps a bracketed name; the rest stands for itself,
// the Japanese words as the compiler's Shift_JIS bytes.
constexpr std::string_view kForms[] = {
    "--> %u",                     // the erring line, after the macros
    "\t%u",                       // the macro tags still open
    "%u(%n) : error %n : %w",     // the code generator: file, line, code, message
    "#Error:%c in line %n [%u]",  // the preprocessor: message, line, file
    // #識別子「%s」の定義位置: line %d in [%s]
    "#\x8E\xAF\x95\xCA\x8E\x71\x81\x75" "%u" "\x81\x76\x82\xCC\x92\xE8\x8B\x60\x88\xCA\x92\x75" ": line %n in [%u]",
    "#Identifier '%u' has already defined in line %n in [%u]",
    // #未初期化の変数があります(%s)
    "#\x96\xA2\x8F\x89\x8A\xFA\x89\xBB\x82\xCC\x95\xCF\x90\x94\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7" "(%u)",
    "#Uninitalized variable (%u).",
    // #未使用の外部DLL関数の登録を削除しました %s
    "#\x96\xA2\x8E\x67\x97\x70\x82\xCC\x8A\x4F\x95\x94" "DLL"
    "\x8A\xD6\x90\x94\x82\xCC\x93\x6F\x98\x5E\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB5\x82\xBD" " %u",
    // #未使用のモジュールを削除しました %s
    "#\x96\xA2\x8E\x67\x97\x70\x82\xCC\x83\x82\x83\x57\x83\x85\x81\x5B\x83\x8B\x82\xF0"
    "\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB5\x82\xBD" " %u",
    "#Delete func %u",
    "#Delete module %u",
    "%c",
};

struct Span {
    bool user;
    std::size_t offset, length;
};

void AddSpan(std::vector<Span>& spans, bool user, std::size_t from, std::size_t to) {
    if (from < to) spans.push_back({user, from, to - from});
}

// The compiler's words [from, to) of `line`; with `quotes`, a name it
// quotes there runs from the first "[" of its words to the last "]".
void AddWords(std::vector<Span>& spans, std::string_view line, std::size_t from, std::size_t to, bool quotes) {
    const std::string_view words = line.substr(0, to);
    for (std::size_t at = from; quotes && at < to; at += ShiftJisCharAt(words, at)) {
        if (words[at] != '[') continue;
        const std::size_t close = words.rfind(']');
        if (close == std::string_view::npos || close <= at) break;
        AddSpan(spans, false, from, at + 1);
        AddSpan(spans, true, at + 1, close);
        AddSpan(spans, false, close, to);
        return;
    }
    AddSpan(spans, false, from, to);
}

// Whether `line` from `at` on fits `form`; its spans are added when it does.
bool Fits(std::string_view form, std::string_view line, std::size_t at, std::vector<Span>& spans) {
    if (form.empty()) return at == line.size();
    const std::size_t kept = spans.size();
    const std::size_t mark = form.find('%');
    if (mark != 0) {
        const std::string_view literal = form.substr(0, mark);
        if (line.substr(at, literal.size()) != literal) return false;
        AddSpan(spans, false, at, at + literal.size());
        if (Fits(form.substr(literal.size()), line, at + literal.size(), spans)) return true;
        spans.resize(kept);
        return false;
    }
    const char kind = form[1];
    const std::string_view rest = form.substr(2);
    if (kind == 'n') {
        std::size_t end = at;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
        if (end == at) return false;
        AddSpan(spans, false, at, end);
        if (Fits(rest, line, end, spans)) return true;
        spans.resize(kept);
        return false;
    }
    // A run up to where the rest of the form fits: the user's text as far as
    // it can reach (a name may hold what follows it), the compiler's words
    // only as far as they must, pair by pair.
    const std::string_view next = rest.substr(0, rest.find('%'));
    std::vector<std::size_t> ends;
    if (rest.empty()) {
        ends.push_back(line.size());
    } else if (kind == 'u') {
        for (std::size_t from = line.size();;) {
            const std::size_t end = line.rfind(next, from);
            if (end == std::string_view::npos || end < at) break;
            ends.push_back(end);
            if (end == 0) break;
            from = end - 1;
        }
    } else {
        for (std::size_t end = at; end < line.size(); end += ShiftJisCharAt(line, end))
            if (line.substr(end, next.size()) == next) ends.push_back(end);
    }
    for (const std::size_t end : ends) {
        if (kind == 'u') AddSpan(spans, true, at, end);
        else AddWords(spans, line, at, end, kind == 'c');
        if (Fits(rest, line, end, spans)) return true;
        spans.resize(kept);
    }
    return false;
}

}  // namespace

std::vector<ReportPiece> SplitReport(std::string_view bytes, std::uint32_t ansiCodePage, bool utf8Input) {
    std::vector<ReportPiece> pieces;
    const auto add = [&](std::uint32_t codePage, std::size_t offset, std::size_t length) {
        if (length == 0) return;
        if (!pieces.empty() && pieces.back().codePage == codePage) pieces.back().length += length;
        else pieces.push_back({codePage, offset, length});
    };
    if (ansiCodePage == kCpShiftJis && !utf8Input) {
        add(os::kCpAcp, 0, bytes.size());
        return pieces;
    }
    // With UTF-8 input the user's bytes are UTF-8 where they are well-formed;
    // the rest comes from a file saved as Shift_JIS.
    const auto addUser = [&](std::size_t from, std::size_t to) {
        if (!utf8Input) return add(os::kCpAcp, from, to - from);
        for (std::size_t at = from; at < to;) {
            const unsigned byte = Byte(bytes, at);
            const std::size_t sequence = byte < 0x80 ? 1 : Utf8SequenceAt(bytes.substr(0, to), at);
            if (sequence != 0) {
                add(os::kCpUtf8, at, sequence);
                at += sequence;
            } else if (const std::size_t pair = ShiftJisCharAt(bytes.substr(0, to), at);
                       pair == 2 || (byte >= 0xA1 && byte <= 0xDF)) {
                add(kCpShiftJis, at, pair);  // a pair, or a half-width kana
                at += pair;
            } else {
                add(os::kCpAcp, at++, 1);
            }
        }
    };
    std::vector<Span> spans;
    for (std::size_t start = 0; start < bytes.size();) {
        std::size_t next = bytes.find('\n', start);
        next = next == std::string_view::npos ? bytes.size() : next + 1;
        std::size_t end = next;
        while (end > start && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) --end;
        const std::string_view line = bytes.substr(start, end - start);
        spans.clear();
        for (const std::string_view form : kForms)
            if (Fits(form, line, 0, spans)) break;
        for (const Span& span : spans) {
            if (span.user) addUser(start + span.offset, start + span.offset + span.length);
            else add(kCpShiftJis, start + span.offset, span.length);
        }
        add(kCpShiftJis, end, next - end);
        start = next;
    }
    return pieces;
}

std::u16string DecodeReport(os::SystemApi& api, std::string_view bytes, bool utf8Input) {
    std::u16string text;
    for (const ReportPiece& piece : SplitReport(bytes, api.GetACP(), utf8Input)) {
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

bool IsWellFormedUtf8(std::string_view bytes) {
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = Byte(bytes, at) < 0x80 ? 1 : Utf8SequenceAt(bytes, at);
        if (length == 0) return false;
        at += length;
    }
    return true;
}

}  // namespace tollik::runner
