#pragma once
// Whether a script asks HSP for UTF-8 strings: one of its lines is a
// directive the compiler's preprocessor takes for `#include` or `#addition`
// of "hsp3utf.as" (or the bare hsp3utf, to which it adds ".as"), or for
// `#cmpopt utf8` with a value other than 0. Such a script is written for
// HSP's UTF-8 runtime, which shows every character the user typed.

#include <string_view>

namespace tollik {

// Matched as the preprocessor matches: blanks and tabs may lead the line;
// the directive word follows '#' directly and is case-sensitive; #cmpopt's
// option name is not. A line inside a /* */ comment or a {" "} string is no
// directive.
bool AsksForUtf8Strings(std::u16string_view text);

}  // namespace tollik
