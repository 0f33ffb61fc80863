#include "hsp/PackFile.h"

#include "HSPCmp/ScriptFileName.h"

namespace tollik::runner {

std::map<std::string, std::string> ReadPackOptions(std::string_view packfile) {
    std::map<std::string, std::string> options;
    std::size_t start = 0;
    while (start < packfile.size()) {
        std::size_t end = packfile.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = packfile.size();
        const std::string_view line = packfile.substr(start, end - start);
        start = end + 1;
        if (!line.starts_with(";!")) continue;
        const std::size_t equals = line.find('=', 2);
        if (equals == std::string_view::npos) continue;
        options[std::string(line.substr(2, equals - 2))] = std::string(line.substr(equals + 1));
    }
    return options;
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
    // As the compiler's cutext: from the last full stop on.
    if (const std::size_t dot = file.rfind('.'); dot != std::string::npos) file.resize(dot);
    // As GetPackfileOptionInt: the leading digits.
    const auto type = options.find("type");
    int number = 0;
    if (type != options.end())
        for (std::size_t i = 0; i < type->second.size() && type->second[i] >= '0' && type->second[i] <= '9' && number < 1000; ++i)
            number = number * 10 + (type->second[i] - '0');
    return file + (number == 2 ? ".scr" : ".exe");
}

}  // namespace tollik::runner
