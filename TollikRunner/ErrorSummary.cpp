#include "ErrorSummary.h"

#include <algorithm>
#include <optional>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "hsp/CompilerReport.h"
#include "hsp/IncludeSearch.h"
#include "hsp/ReportText.h"

namespace tollik::runner {

std::u16string CompileErrorSummary(os::RunnerApi& api, const RunnerTexts& texts, const CompiledScript& script,
                                   const std::u16string& report) {
    const std::optional<FirstError> first = FindFirstError(report);
    // The file an error is in, when it is not the script: the user's
    // document has no such line.
    std::u16string other = first ? first->file : std::u16string();
    if (FoldAsciiCase(other) == FoldAsciiCase(script.nameForCompiler)) other.clear();
    std::u16string summary = !first ? texts.ErrorWithoutLine(u"")
                             : first->line ? texts.ErrorOnLine(*first->line, first->message, other)
                                           : texts.ErrorWithoutLine(first->message);
    const std::uint32_t codePage = api.GetACP();
    if (!script.utf8Input && codePage != kCpShiftJis) {
        constexpr std::int64_t kScriptReadLimit = 64 << 20;
        const FileBytes bytes = ReadFileBytes(api, script.path, kScriptReadLimit);
        if (bytes.outcome == FileRead::Read && HoldsShiftJisLeadBytes(bytes.bytes))
            summary += u"\r\n" + texts.ShiftJisLeadBytes(codePage);
    }
    if (!script.utf8Input) return summary;
    if (const std::u16string path = FindNonUtf8Include(api, script.path, script.commonFolder, other); !path.empty())
        summary += u"\r\n" + texts.IncludeNotUtf8(other, path);
    // The compiler hands a name from a UTF-8 script to the ANSI calls as it is.
    const std::u16string missing = MissingSourceFile(report);
    if (codePage != os::kCpUtf8 && std::any_of(missing.begin(), missing.end(), [](char16_t unit) { return unit >= 0x80; }))
        summary += u"\r\n" + texts.IncludeNameNotAscii(missing, codePage);
    return summary;
}

}  // namespace tollik::runner
