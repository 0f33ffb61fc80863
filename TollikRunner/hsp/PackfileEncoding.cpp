#include "hsp/PackfileEncoding.h"

#include <algorithm>
#include <climits>

#include "hsp/CompilerPath.h"
#include "hsp/ReportText.h"
#include "os/Handles.h"

namespace tollik::runner {
namespace {

// The name a line gives: a file to pack ("name", "+name" to encrypt it) or
// an option's value (";!name=value").
std::string_view NameOf(std::string_view line) {
    if (line.starts_with(";!")) {
        const std::size_t equals = line.find('=');
        return equals == std::string_view::npos ? line : line.substr(equals + 1);
    }
    return line.starts_with('+') ? line.substr(1) : line;
}

}  // namespace

std::optional<AnsiPackfile> PackfileInAnsi(os::SystemApi& api, std::string_view packfile) {
    const bool ascii = std::all_of(packfile.begin(), packfile.end(), [](char c) { return (c & 0x80) == 0; });
    if (ascii || !IsWellFormedUtf8(packfile)) return std::nullopt;
    AnsiPackfile ansi;
    for (std::size_t start = 0; start < packfile.size();) {
        std::size_t end = packfile.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = packfile.size();
        const std::string_view line = packfile.substr(start, end - start);
        const std::u16string text = FromCodePage(api, os::kCpUtf8, line);
        const std::optional<std::string> bytes = ToAnsiExactly(api, text);
        if (!bytes) return AnsiPackfile{{}, FromCodePage(api, os::kCpUtf8, NameOf(line))};
        ansi.bytes += *bytes;
        // The line ends as they were.
        start = std::min(packfile.find_first_not_of("\r\n", end), packfile.size());
        ansi.bytes += packfile.substr(end, start - end);
    }
    return ansi;
}

std::uint32_t WriteWholeFile(os::SystemApi& api, const std::u16string& path, std::string_view bytes) {
    os::unique_hfile file(api, api.CreateFileW(path.c_str(), os::kGenericWrite, os::kFileShareRead,
                                               os::kCreateAlways, os::kFileAttributeNormal));
    if (!file || bytes.size() > UINT_MAX) return file ? os::kErrorArithmeticOverflow : api.GetLastError();
    std::uint32_t written = 0;
    if (!bytes.empty() && (!api.WriteFile(file.get(), bytes.data(), static_cast<std::uint32_t>(bytes.size()), &written) ||
                           written != bytes.size()))
        return api.GetLastError() != 0 ? api.GetLastError() : os::kErrorWriteFault;
    // A redirector may report a deferred write only here.
    if (!file.close()) return api.GetLastError() != 0 ? api.GetLastError() : os::kErrorWriteFault;
    return 0;
}

}  // namespace tollik::runner
