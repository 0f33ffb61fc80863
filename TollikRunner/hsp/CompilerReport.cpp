#include "hsp/CompilerReport.h"

#include <limits>
#include <vector>

namespace tollik::runner {
namespace {

std::vector<std::u16string_view> Lines(std::u16string_view text) {
    std::vector<std::u16string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == u"\r\n" ? 2 : 1);
    }
    return lines;
}

// Digits at the start of `text` as a number, with how many units they took.
std::optional<std::int32_t> LeadingNumber(std::u16string_view text, std::size_t& length) {
    std::int64_t value = 0;
    length = 0;
    while (length < text.size() && text[length] >= u'0' && text[length] <= u'9') {
        value = value * 10 + (text[length] - u'0');
        if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
        ++length;
    }
    if (length == 0) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

// "name(3) : error 4 : message (3行目)" or "... (line 3)".
std::optional<FirstError> CodeGeneratorError(std::u16string_view line) {
    const std::size_t marker = line.find(u") : error ");
    if (marker == std::u16string_view::npos) return std::nullopt;
    const std::size_t open = line.rfind(u'(', marker);
    if (open == std::u16string_view::npos) return std::nullopt;
    std::size_t digits = 0;
    const std::optional<std::int32_t> number = LeadingNumber(line.substr(open + 1), digits);
    if (!number || open + 1 + digits != marker) return std::nullopt;
    const std::size_t colon = line.find(u" : ", marker + 9);
    std::u16string_view message = colon == std::u16string_view::npos ? line.substr(marker + 2)
                                                                       : line.substr(colon + 3);
    // The compiler repeats the line number at the end; the summary has it already.
    const std::size_t repeat = message.rfind(u" (");
    if (repeat != std::u16string_view::npos && message.back() == u')') message = message.substr(0, repeat);
    return FirstError{number, std::u16string(message), std::u16string(line.substr(0, open))};
}

// "#Error:message in line 3 [name]" or "#Error:message".
std::optional<FirstError> PreprocessorError(std::u16string_view line) {
    constexpr std::u16string_view kMarker = u"#Error:";
    if (!line.starts_with(kMarker)) return std::nullopt;
    std::u16string_view message = line.substr(kMarker.size());
    const std::size_t where = message.rfind(u" in line ");
    if (where != std::u16string_view::npos) {
        std::size_t digits = 0;
        const std::optional<std::int32_t> number = LeadingNumber(message.substr(where + 9), digits);
        std::u16string_view file = message.substr(where + 9 + digits);
        if (file.starts_with(u" [") && file.ends_with(u']')) file = file.substr(2, file.size() - 3);
        else file = {};
        if (number) return FirstError{number, std::u16string(message.substr(0, where)), std::u16string(file)};
    }
    return FirstError{std::nullopt, std::u16string(message), {}};
}

// Any other "#" line but the tools' banners ("... 1997-2025(c)") and the
// include notices: the compiler stops at a failure, so the last is the reason.
bool IsNotice(std::u16string_view line) {
    return line.size() < 2 || line[0] != u'#' || line.ends_with(u"(c)") || line.starts_with(u"#Use file");
}

}  // namespace

std::optional<FirstError> FindFirstError(std::u16string_view report) {
    const std::vector<std::u16string_view> lines = Lines(report);
    for (const std::u16string_view line : lines)
        if (auto found = CodeGeneratorError(line)) return found;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::optional<FirstError> found = PreprocessorError(lines[i]);
        if (!found) continue;
        // "#Error: in line 1 [hsptmp]" says nothing itself: the line before
        // it (a file not found) says why.
        for (std::size_t before = i; found->message.empty() && before-- > 0;)
            if (!IsNotice(lines[before])) found->message = lines[before].substr(1);
        return found;
    }
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (!IsNotice(*line)) return FirstError{std::nullopt, std::u16string(line->substr(1)), {}};
    return std::nullopt;
}

std::u16string MissingSourceFile(std::u16string_view report) {
    for (const std::u16string_view line : Lines(report)) {
        for (const std::u16string_view marker : {u"#スクリプトファイルが見つかりません [", u"#Source file not found.["}) {
            if (!line.starts_with(marker) || !line.ends_with(u']')) continue;
            return std::u16string(line.substr(marker.size(), line.size() - marker.size() - 1));
        }
    }
    return {};
}

std::u16string MadeExecutableName(std::u16string_view report) {
    constexpr std::u16string_view kMarker = u"Make custom execute file [";
    const std::size_t start = report.find(kMarker);
    if (start == std::u16string_view::npos) return {};
    const std::size_t nameStart = start + kMarker.size();
    const std::size_t end = report.find(u']', nameStart);
    if (end == std::u16string_view::npos) return {};
    return std::u16string(report.substr(nameStart, end - nameStart));
}

MakeProblem FindMakeProblem(std::u16string_view report) {
    const auto bracketed = [&](std::u16string_view marker) -> std::optional<std::u16string> {
        const std::size_t start = report.find(marker);
        if (start == std::u16string_view::npos) return std::nullopt;
        const std::size_t nameStart = start + marker.size();
        const std::size_t end = report.find(u"].", nameStart);
        return std::u16string(report.substr(nameStart, end == std::u16string_view::npos ? 0 : end - nameStart));
    };
    if (auto file = bracketed(u"#Write error [")) return {MakeFailure::CannotWrite, std::move(*file)};
    // The packed data's own ".dpm" file is the compiler's affair, not the runtime.
    if (auto file = bracketed(u"#No file ["); file && !file->ends_with(u".dpm"))
        return {MakeFailure::RuntimeMissing, std::move(*file)};
    if (report.find(u"#Not found hsp index.") != std::u16string_view::npos) return {MakeFailure::RuntimeUnusable, {}};
    return {};
}

std::u16string WithWindowsLineEnds(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == u'\r') {
            out += u"\r\n";
            if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        } else if (unit == u'\n') {
            out += u"\r\n";
        } else {
            out += unit;
        }
    }
    return out;
}

}  // namespace tollik::runner
