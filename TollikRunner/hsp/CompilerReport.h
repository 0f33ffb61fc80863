#pragma once
// Reading the HSP compiler's report: where its first error is, and which
// executable it says it made. The report is the compiler's own text,
// already converted from the ANSI code page.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tollik::runner {

struct FirstError {
    std::optional<std::int32_t> line;  // absent when the compiler names none
    std::u16string message;
    std::u16string file;  // the file the line is in, as the compiler names it; empty when it does not
};

// The first error of a failed compile's report; absent when no line reads
// as one. Knows the code generator's "name(3) : error 4 : message (3行目)",
// the preprocessor's "#Error:message in line 3 [name]" (an empty message
// taken from the line before it), and otherwise takes the last "#message"
// that is no banner or notice.
std::optional<FirstError> FindFirstError(std::u16string_view report);

// The name in "#スクリプトファイルが見つかりません [name]" (the English
// build's "#Source file not found.[name]"); empty when no file was missing.
std::u16string MissingSourceFile(std::u16string_view report);

// The file name in "Make custom execute file [demo.exe]."; empty when the
// report does not say.
std::u16string MadeExecutableName(std::u16string_view report);

// Why hsc3_make failed, from its report: the runtime it copies is missing
// ("#No file [<HSP folder>hsprt].") or not one ("#Not found hsp index."),
// or the executable cannot be written ("#Write error [demo.exe]."); `file`
// is the name in brackets.
enum class MakeFailure { Other, RuntimeMissing, RuntimeUnusable, CannotWrite };
struct MakeProblem {
    MakeFailure failure = MakeFailure::Other;
    std::u16string file;
};
MakeProblem FindMakeProblem(std::u16string_view report);

// The report with every line ended by CR LF, as a text box shows lines.
std::u16string WithWindowsLineEnds(std::u16string_view text);

}  // namespace tollik::runner
