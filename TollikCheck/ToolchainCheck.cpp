#include "ToolchainCheck.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "PeImage.h"
#include "PluginApi/ResourceIds.h"
#include "hsp/HspCompiler.h"

namespace tollik::check {
namespace {

// Program files are read whole; none of these is anywhere near this size.
constexpr std::int64_t kProgramSizeLimit = std::int64_t{256} << 20;

std::u16string Widen(std::string_view text) { return {text.begin(), text.end()}; }

struct Program {
    bool readable = false;
    std::string bytes;
    std::optional<PeImage> image;
};

Program ReadProgram(os::SystemApi& api, const std::u16string& path) {
    Program program;
    FileBytes file = ReadFileBytes(api, path, kProgramSizeLimit);
    program.readable = file.outcome == FileRead::Read;
    program.bytes = std::move(file.bytes);
    program.image = ReadPeImage(program.bytes);
    return program;
}

std::u16string MachineName(std::uint16_t machine) {
    if (machine == kMachineAmd64 || machine == kMachineArm64) return u"64";
    if (machine == kMachineI386) return u"32";
    return u"?";
}

void CheckCompiler(os::SystemApi& api, const std::u16string& dll, Report& report) {
    if (!FileIsPresent(api, dll)) {
        const std::u16string dll64 = DirPart(dll) + std::u16string(runner::kCompiler64Dll);
        if (FileIsPresent(api, dll64)) return report.Add(Severity::Problem, MessageId::Compiler64BitOnly, {dll64, dll});
        return report.Add(Severity::Problem, MessageId::CompilerMissing, {dll});
    }
    const Program program = ReadProgram(api, dll);
    if (!program.image) return report.Add(Severity::Problem, MessageId::CompilerNotADll, {dll});
    if (program.image->machine != kMachineI386)
        return report.Add(Severity::Problem, MessageId::CompilerNot32Bit, {dll, MachineName(program.image->machine)});
    std::u16string missing;
    const std::vector<std::string>& exports = program.image->exports;
    for (const char* name : runner::kCompilerExportNames) {
        const std::string decorated = runner::DecoratedExportName(name);
        const bool found = std::any_of(exports.begin(), exports.end(), [&](const std::string& exported) {
            return exported == name || exported == decorated;
        });
        if (found) continue;
        if (!missing.empty()) missing += u", ";
        missing += Widen(name);
    }
    if (!missing.empty()) return report.Add(Severity::Problem, MessageId::CompilerExportsMissing, {dll, missing});
    report.Add(Severity::Info, MessageId::CompilerFound, {dll});
}

}  // namespace

bool CheckHspFolder(os::SystemApi& api, const std::u16string& folder, Report& report) {
    const std::u16string compiler = folder + std::u16string(runner::kCompilerDll);
    CheckCompiler(api, compiler, report);
    const std::u16string runtime = folder + std::u16string(runner::kDefaultRuntime);
    if (FileIsPresent(api, runtime))
        report.Add(Severity::Info, MessageId::RuntimeFound, {runtime});
    else
        report.Add(Severity::Problem, MessageId::RuntimeMissing, {runtime});
    // Only scripts written for HSP's UTF-8 runtime need these two.
    for (const auto& [name, id] : {std::pair{runner::kUtf8Runtime, MessageId::Utf8RuntimeMissing},
                                   std::pair{runner::kUtf8ExecutableRuntime, MessageId::Utf8HrtMissing}}) {
        const std::u16string file = folder + std::u16string(name);
        if (!FileIsPresent(api, file)) report.Add(Severity::Info, id, {file});
    }
    const std::u16string common = folder + std::u16string(runner::kCommonFolder);
    if (DirectoryIsPresent(api, common))
        report.Add(Severity::Info, MessageId::CommonFound, {common});
    else
        report.Add(Severity::Problem, MessageId::CommonMissing, {common});
    return FileIsPresent(api, compiler);
}

void CheckRunner(os::SystemApi& api, const std::u16string& path, Report& report) {
    if (!FileIsPresent(api, path)) return report.Add(Severity::Problem, MessageId::RunnerMissing, {path});
    const Program program = ReadProgram(api, path);
    if (!program.image || !HoldsVersionString(program.bytes, u"InternalName", u"" TOLLIK_RUNNER_INTERNAL_NAME))
        return report.Add(Severity::Problem, MessageId::RunnerNotOurs, {path});
    if (program.image->machine != kMachineI386)
        return report.Add(Severity::Problem, MessageId::RunnerNot32Bit, {path, MachineName(program.image->machine)});
    report.Add(Severity::Info, MessageId::RunnerFound, {path});
}

void CheckDownloadMark(os::SystemApi& api, const std::u16string& path, Report& report) {
    // A few lines of text: "[ZoneTransfer]", "ZoneId=3" and where it came from.
    const FileBytes mark = ReadFileBytes(api, path + u":Zone.Identifier", 64 * 1024);
    if (mark.outcome != FileRead::Read) return;
    const std::size_t found = mark.bytes.starts_with("ZoneId=") ? 0 : mark.bytes.find("\nZoneId=");
    if (found == std::string::npos) return;
    const std::size_t value = found + (found == 0 ? 7 : 8);
    const char zone = value < mark.bytes.size() ? mark.bytes[value] : '\0';
    if (zone == '3' || zone == '4') report.Add(Severity::Warning, MessageId::DownloadMark, {path, std::u16string(1, static_cast<char16_t>(zone))});
}

}  // namespace tollik::check
