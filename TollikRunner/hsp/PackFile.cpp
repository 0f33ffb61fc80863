#include "hsp/PackFile.h"

#include <vector>

#include "HSPCmp/ScriptFileName.h"
#include "hsp/ReportText.h"

namespace tollik::runner {
namespace {

// The packfile's option lines, ";!name=value" (the value may be missing).
std::vector<std::string_view> OptionLines(std::string_view packfile) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < packfile.size()) {
        std::size_t end = packfile.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = packfile.size();
        const std::string_view line = packfile.substr(start, end - start);
        start = end + 1;
        if (line.starts_with(";!")) lines.push_back(line);
    }
    return lines;
}

}  // namespace

std::map<std::string, std::string> ReadPackOptions(std::string_view packfile) {
    std::map<std::string, std::string> options;
    for (const std::string_view line : OptionLines(packfile)) {
        const std::size_t equals = line.find('=', 2);
        if (equals == std::string_view::npos) continue;
        options[std::string(line.substr(2, equals - 2))] = std::string(line.substr(equals + 1));
    }
    return options;
}

std::string_view WithoutExtension(std::string_view name) {
    std::size_t dot = std::string_view::npos;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        if (byte == '.') dot = i;
        else if (byte == '\\') dot = std::string_view::npos;
        else if (IsShiftJisLeadByte(byte)) ++i;
    }
    return dot == std::string_view::npos ? name : name.substr(0, dot);
}

std::optional<PackOverflow> FindPackOverflow(std::string_view packfile, std::size_t hspFolderBytes,
                                             std::size_t scriptFolderBytes, std::size_t currentFolderBytes) {
    constexpr std::size_t kBuffer = 259;  // _MAX_PATH less the final NUL
    constexpr std::size_t kLine = 511;    // GetPackfileOption's line buffer, likewise
    const auto room = [](std::size_t used) { return used < kBuffer ? kBuffer - used : 0; };
    // hsc3_make builds "<folder><name>.exe" before it looks at anything
    // else, the name being "hsptmp" unless #packopt name says otherwise.
    std::optional<std::size_t> nameBytes;
    for (const std::string_view line : OptionLines(packfile)) {
        const std::size_t equals = line.find('=', 2);
        const std::string name(line.substr(2, (equals == std::string_view::npos ? line.size() : equals) - 2));
        if (name == "name" && equals != std::string_view::npos) nameBytes = WithoutExtension(line.substr(equals + 1)).size();
        // The whole line, ";!name=value", goes through the line buffer first.
        const std::size_t around = 3 + name.size();
        if (line.size() > kLine) return PackOverflow{name, kLine > around ? kLine - around : 0};
        if (equals == std::string_view::npos) continue;
        const std::size_t value = line.size() - equals - 1;
        std::size_t limit = kBuffer;
        if (name == "runtime") limit = room(hspFolderBytes);                       // the HSP folder, then the runtime
        else if (name == "icon" || name == "version" || name == "manifest") limit = room(scriptFolderBytes);
        if (value > limit) return PackOverflow{name, limit};
    }
    const std::size_t nameRoom = room(currentFolderBytes + 4);  // then ".exe"
    if (nameBytes.value_or(kScriptFileNameBytes.size()) > nameRoom) return PackOverflow{"name", nameRoom, !nameBytes};
    return std::nullopt;
}

std::string IconinsArguments(const std::map<std::string, std::string>& options, std::string_view target,
                             std::string_view scriptFolder) {
    static constexpr struct {
        std::string_view name;
        const char* flag;
        bool isFile;
    } kFlags[] = {{"icon", " -i\"", true}, {"version", " -v\"", true}, {"manifest", " -m\"", true},
                  {"lang", " -l\"", false}, {"upx", " -u\"", false}};
    std::string arguments;
    for (const auto& flag : kFlags) {
        const auto found = options.find(std::string(flag.name));
        if (found == options.end() || found->second.empty()) continue;
        arguments += flag.flag;
        if (flag.isFile) arguments += scriptFolder;
        arguments += found->second + "\"";
    }
    if (arguments.empty()) return arguments;
    return "-e\"" + std::string(target) + "\"" + arguments;
}

std::string MadeExecutableFileName(const std::map<std::string, std::string>& options) {
    const auto name = options.find("name");
    std::string file = name == options.end() ? std::string(kScriptFileNameBytes) : name->second;
    file = std::string(WithoutExtension(file));
    // As GetPackfileOptionInt: the leading digits.
    const auto type = options.find("type");
    int number = 0;
    if (type != options.end())
        for (std::size_t i = 0; i < type->second.size() && type->second[i] >= '0' && type->second[i] <= '9' && number < 1000; ++i)
            number = number * 10 + (type->second[i] - '0');
    return file + (number == 2 ? ".scr" : ".exe");
}

}  // namespace tollik::runner
