#pragma once
// The lines of a settings file that the plug-in's reader ignores, or reads
// otherwise than a hand-editor most likely meant. The file is decoded and
// its names compared through the same system calls the reader uses.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::check {

enum class LintKind {
    NotUtf8,              // `offset`: the first ill-formed byte; the whole file is ignored
    NulCharacter,         // the text ends at this line
    ByteOrderMarkInLine,  // a U+FEFF starts the line: a second mark, read as text
    BlankBeforeHeader,    // "  [Tollik]": not a header
    TextAfterHeader,      // "[Tollik] ; x": not a header
    BlankBeforeComment,   // "  ; x": not a comment
    EntryBeforeHeader,    // ignored
    NotAnEntry,           // in [Tollik], without "=": ignored
    UnknownSection,       // `name`: a section the plug-in never reads
    HiddenSection,        // `other`: the later [Tollik] that hides this one
    BlankAroundEquals,    // `name`: the key it was probably meant to be
    UnknownKey,           // `name`
    RepeatedKey,          // `name`, `other`: the later line that wins
    NotANumber,           // `name`, `value`
    TrailingBlank,        // `name`: a known key's value ends with a blank
    NoTollikSection,      // the file has no [Tollik]: every value is its default
};

struct LintFinding {
    LintKind kind;
    std::size_t line = 0;  // 1-based; 0 for the file as a whole
    std::u16string name;
    std::u16string value;
    std::size_t other = 0;   // another line
    std::size_t offset = 0;  // a byte offset in the file
};

// What the reader does with each known key: the line its value comes from
// (0: the default).
struct EffectiveLines {
    std::size_t hspDirName = 0;
    std::size_t mode = 0;
    std::size_t debugWindow = 0;
};

struct LintResult {
    std::vector<LintFinding> findings;
    EffectiveLines effective;
};

// The byte offset of the first ill-formed UTF-8 sequence in `bytes`, or
// npos: overlong forms, surrogates, values past U+10FFFF and cut-off
// sequences are ill-formed, as in the system's strict decoding.
std::size_t FirstIllFormedUtf8(std::string_view bytes);

LintResult LintSettings(os::SystemApi& api, std::string_view bytes);

}  // namespace tollik::check
