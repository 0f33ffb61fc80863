#include "HSPCmp/Utf8Directives.h"

#include <cstddef>
#include <cstdint>

#include "Common/PathText.h"

namespace tollik {
namespace {

constexpr std::size_t kNotFound = std::u16string_view::npos;

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t'; }
bool IsLineEnd(char16_t unit) { return unit == u'\r' || unit == u'\n'; }

// A digit's value in any radix up to 16; 99 for anything else.
unsigned DigitValue(char16_t unit) {
    if (unit >= u'0' && unit <= u'9') return static_cast<unsigned>(unit - u'0');
    if (unit >= u'A' && unit <= u'F') return static_cast<unsigned>(unit - u'A' + 10);
    if (unit >= u'a' && unit <= u'f') return static_cast<unsigned>(unit - u'a' + 10);
    return 99;
}

// What the preprocessor's tokenizer keeps inside a word: everything but
// controls, blanks and the ASCII punctuation that ends one.
bool IsWordUnit(char16_t unit) {
    return !(unit < 0x30 || (unit >= 0x3A && unit <= 0x3F) || (unit >= 0x5B && unit <= 0x5E) ||
             (unit >= 0x7B && unit <= 0x7F));
}

// The rest of one directive line, read as the tokenizer reads it: blanks
// between tokens, and a backslash that ends a line joins the next one.
class DirectiveLine {
public:
    DirectiveLine(std::u16string_view text, std::size_t at) : text_(text), at_(at) {}

    void SkipBlanks() {
        while (at_ < text_.size()) {
            if (IsBlank(text_[at_])) {
                ++at_;
            } else if (At(u'\\') && (NextIs(u'\r') || NextIs(u'\n'))) {
                const bool crLf = NextIs(u'\r') && at_ + 2 < text_.size() && text_[at_ + 2] == u'\n';
                at_ += crLf ? 3u : 2u;
            } else {
                return;
            }
        }
    }

    bool At(char16_t unit) const { return at_ < text_.size() && text_[at_] == unit; }
    bool NextIs(char16_t unit) const { return at_ + 1 < text_.size() && text_[at_ + 1] == unit; }

    // The word starting here; empty when none does.
    std::u16string_view Word() {
        const std::size_t start = at_;
        while (at_ < text_.size() && IsWordUnit(text_[at_])) ++at_;
        return text_.substr(start, at_ - start);
    }

    // A quoted name's text as written, the quote at the cursor; a backslash
    // keeps the unit after it. Empty when the line ends first.
    std::u16string_view Quoted() {
        const std::size_t start = ++at_;
        while (at_ < text_.size() && !IsLineEnd(text_[at_])) {
            if (text_[at_] == u'"') return text_.substr(start, at_++ - start);
            at_ += text_[at_] == u'\\' && at_ + 1 < text_.size() && !IsLineEnd(text_[at_ + 1]) ? 2u : 1u;
        }
        return {};
    }

    // An integer the tokenizer reads as one (decimal, $ or 0x hex, % or 0b
    // binary, with _ between digits in the last two): whether it is not 0.
    // A number with a fraction or a suffix is no integer option value.
    bool NonZeroInteger() {
        unsigned radix = 10;
        if (At(u'$') || At(u'%')) {
            radix = At(u'$') ? 16 : 2;
            at_ += 1;
        } else if (At(u'0') && (NextIs(u'x') || NextIs(u'b'))) {
            radix = NextIs(u'x') ? 16 : 2;
            at_ += 2;
        }
        bool digits = false;
        bool nonZero = false;
        for (; at_ < text_.size(); ++at_) {
            const char16_t unit = text_[at_];
            if (radix != 10 && unit == u'_') continue;
            const unsigned digit = DigitValue(unit);
            if (digit >= radix) break;
            digits = true;
            nonZero = nonZero || digit != 0;
        }
        if (radix == 10 && at_ < text_.size() && (text_[at_] == u'.' || IsWordUnit(text_[at_])))
            return false;
        return digits && nonZero;
    }

private:
    std::u16string_view text_;
    std::size_t at_;
};

bool NamesTheUtf8Header(DirectiveLine& line) {
    line.SkipBlanks();
    if (line.At(u'"')) return FoldAsciiCase(line.Quoted()) == u"hsp3utf.as";
    return FoldAsciiCase(line.Word()) == u"hsp3utf";
}

bool SetsUtf8Strings(DirectiveLine& line) {
    line.SkipBlanks();
    if (FoldAsciiCase(line.Word()) != u"utf8") return false;
    line.SkipBlanks();
    return line.NonZeroInteger();
}

// The directive starting after the '#' at `at`.
bool IsUtf8Directive(std::u16string_view text, std::size_t at) {
    DirectiveLine line(text, at);
    const std::u16string_view word = line.Word();
    if (word == u"include" || word == u"addition") return NamesTheUtf8Header(line);
    if (word == u"cmpopt") return SetsUtf8Strings(line);
    return false;
}

// The next '#' at or after `from`. Most texts hold few, so whole blocks are
// tested at once (the loop without an early exit vectorises).
std::size_t FindHash(std::u16string_view text, std::size_t from) {
    constexpr std::size_t kBlock = 64;
    std::size_t at = from;
    for (; at + kBlock <= text.size(); at += kBlock) {
        const char16_t* const block = text.data() + at;
        std::uint16_t hits = 0;  // lanes of the units' own width: no masking
        for (std::size_t i = 0; i < kBlock; ++i)
            hits |= static_cast<std::uint16_t>(block[i] == u'#' ? 0xFFFF : 0);
        if (hits != 0) break;
    }
    for (; at < text.size(); ++at)
        if (text[at] == u'#') return at;
    return kNotFound;
}

// Where the line holding `at` starts, when only blanks and tabs stand before
// `at` on it; kNotFound otherwise. A byte-order mark's character before the
// first line is the mark the compiler skips.
std::size_t LineStartBefore(std::u16string_view text, std::size_t at) {
    while (at > 0 && IsBlank(text[at - 1])) --at;
    const bool first = at == 0 || (at == 1 && text[0] == u'\uFEFF');
    return first || IsLineEnd(text[at - 1]) ? at : kNotFound;
}

// The compiler's reading of the text, far enough to know whether a line
// starts inside a /* */ comment or a {" "} string, where '#' starts nothing.
class BlockTracker {
public:
    explicit BlockTracker(std::u16string_view text) : text_(text) {}

    bool InsideBlockAt(std::size_t lineStart) {
        while (at_ < lineStart) Step();
        return mode_ != Mode::kCode;
    }

private:
    enum class Mode : std::uint8_t { kCode, kComment, kString };

    char16_t Next() const { return at_ + 1 < text_.size() ? text_[at_ + 1] : u'\0'; }

    void SkipToLineEnd() {
        while (at_ < text_.size() && !IsLineEnd(text_[at_])) ++at_;
    }

    // A "" or '' literal ends at its quote or with its line.
    void SkipLiteral(char16_t quote) {
        for (++at_; at_ < text_.size() && !IsLineEnd(text_[at_]); ++at_) {
            if (text_[at_] == u'\\' && at_ + 1 < text_.size() && !IsLineEnd(text_[at_ + 1])) {
                ++at_;
            } else if (text_[at_] == quote) {
                ++at_;
                return;
            }
        }
    }

    void Step() {
        const char16_t unit = text_[at_];
        switch (mode_) {
        case Mode::kComment:
            if (unit == u'*' && Next() == u'/') {
                mode_ = Mode::kCode;
                ++at_;
            }
            ++at_;
            return;
        case Mode::kString:
            if ((unit == u'"' && Next() == u'}') || (unit == u'\\' && Next() >= 0x20)) {
                if (unit == u'"') mode_ = Mode::kCode;
                ++at_;
            }
            ++at_;
            return;
        case Mode::kCode:
            break;
        }
        if (unit == u';' || (unit == u'/' && Next() == u'/')) return SkipToLineEnd();
        if (unit == u'"' || unit == u'\'') return SkipLiteral(unit);
        if ((unit == u'/' && Next() == u'*') || (unit == u'{' && Next() == u'"')) {
            mode_ = unit == u'/' ? Mode::kComment : Mode::kString;
            ++at_;
        }
        ++at_;
    }

    std::u16string_view text_;
    std::size_t at_ = 0;
    Mode mode_ = Mode::kCode;
};

}  // namespace

bool AsksForUtf8Strings(std::u16string_view text) {
    // Directives are rare: look at each '#' that leads its line, and read
    // the text from the start only as far as one that asks.
    BlockTracker blocks(text);
    for (std::size_t hash = FindHash(text, 0); hash != kNotFound; hash = FindHash(text, hash + 1)) {
        const std::size_t lineStart = LineStartBefore(text, hash);
        if (lineStart != kNotFound && IsUtf8Directive(text, hash + 1) &&
            !blocks.InsideBlockAt(lineStart))
            return true;
    }
    return false;
}

}  // namespace tollik
