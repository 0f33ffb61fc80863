#include "hsp/IncludeSearch.h"

#include <algorithm>

#include "Common/FileSystem.h"
#include "hsp/CompilerPath.h"
#include "hsp/ReportText.h"

namespace tollik::runner {
namespace {

// The compiler splits names at either delimiter (_wsplitpath).
constexpr std::u16string_view kDelimiters = u"\\/";
constexpr std::int64_t kIncludeReadLimit = 64 << 20;

std::u16string LastPart(std::u16string_view name) {
    const std::size_t cut = name.find_last_of(kDelimiters);
    return std::u16string(cut == std::u16string_view::npos ? name : name.substr(cut + 1));
}

// The folders the #include and #addition lines of `script` name, the
// script read as UTF-8.
std::vector<std::u16string> IncludedFolders(os::SystemApi& api, std::string_view script) {
    std::vector<std::u16string> folders;
    // Line 1 as the compiler reads it: without the byte-order mark.
    if (script.starts_with("\xEF\xBB\xBF")) script.remove_prefix(3);
    for (std::size_t start = 0; start < script.size();) {
        std::size_t end = script.find('\n', start);
        if (end == std::string_view::npos) end = script.size();
        std::string_view line = script.substr(start, end - start);
        start = end + 1;
        line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
        // The directive word, case-sensitive as the preprocessor compares it.
        if (!line.starts_with("#include") && !line.starts_with("#addition")) continue;
        const std::size_t open = line.find('"');
        const std::size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
        if (close == std::string_view::npos) continue;
        const std::u16string name = FromCodePage(api, os::kCpUtf8, line.substr(open + 1, close - open - 1));
        const std::size_t cut = name.find_last_of(kDelimiters);
        if (cut == std::u16string::npos) continue;
        std::u16string folder = name.substr(0, cut + 1);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
    }
    return folders;
}

}  // namespace

std::u16string FindIncludedFile(os::SystemApi& api, const std::u16string& script, const std::u16string& commonFolder,
                                std::u16string_view name) {
    if (name.empty()) return {};
    const std::u16string part = LastPart(name);
    std::vector<std::u16string> candidates = {std::u16string(name), commonFolder + part};
    for (const std::u16string& folder : IncludedFolders(api, ReadFileBytes(api, script, kIncludeReadLimit).bytes)) {
        candidates.push_back(folder + part);
        candidates.push_back(commonFolder + folder + part);
    }
    // Relative ones from the current directory; slashes become backslashes.
    for (const std::u16string& candidate : candidates)
        if (std::u16string full = ExpandPath(api, candidate); !full.empty() && FileIsPresent(api, full)) return full;
    return {};
}

std::u16string FindNonUtf8Include(os::SystemApi& api, const std::u16string& script, const std::u16string& commonFolder,
                                  std::u16string_view name) {
    std::u16string path = FindIncludedFile(api, script, commonFolder, name);
    if (path.empty()) return {};
    const FileBytes read = ReadFileBytes(api, path, kIncludeReadLimit);
    if (read.outcome != FileRead::Read || IsWellFormedUtf8(read.bytes)) return {};
    return path;
}

}  // namespace tollik::runner
