#include "MakeExecutable.h"

#include <map>
#include <optional>
#include <string_view>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "Common/SystemMessage.h"
#include "HSPCmp/ScriptFileName.h"
#include "hsp/CompilerReport.h"
#include "hsp/PackFile.h"
#include "hsp/PackfileEncoding.h"
#include "os/Handles.h"

namespace tollik::runner {
namespace {

constexpr char kPackedObjectFile[] = "start.ax";
constexpr std::int64_t kPackfileLimit = (1 << 20) + 1;  // 1 MiB is read; a byte more is not
// The most a folder may take, in the compiler's own text, for the default
// name: "<folder>hsptmp.exe" in a buffer of MAX_PATH.
constexpr std::size_t kDefaultNameFolderLimit = kCompilerPathLimit - kScriptFileNameBytes.size() - 4;
constexpr std::uint32_t kIconinsWaitMilliseconds = 60000;
// hsc3_make's wait for the new executable before iconins.exe: 100 ms at
// a time until it can be read, 49 times at most.
constexpr std::uint32_t kReadableStepMilliseconds = 100;
constexpr int kReadableSteps = 49;

// HSP's 64-bit runtime: executables made from it cannot have their icon
// and the like rewritten by iconins.exe.
bool Is64BitRuntime(std::u16string_view runtime) {
    if (const std::size_t dot = runtime.rfind(u'.'); dot != std::u16string_view::npos) runtime = runtime.substr(0, dot);
    return FoldAsciiCase(runtime) == u"hsp3_64";
}

class Maker {
public:
    Maker(RunSteps& run, HspCompiler& compiler, const MakeRequest& request)
        : run_(run), api_(run.Api()), texts_(run.Texts()), compiler_(compiler), request_(request) {}

    ExitCode Make() {
        // Within its limit already: the hub checked it.
        const std::string hspFolder = run_.ForCompiler(request_.hsp, ExitCode::ToolchainProblem).bytes;
        compiler_.Prepare(request_.scriptName, kPackedObjectFile, request_.common);
        const std::int32_t compiled = compiler_.Compile(0, kPreprocessMakePack | run_.ScriptEncoding(), 0);
        const std::u16string compileReport = compiler_.Report();
        if (compiled != 0) run_.ShowCompileError(compileReport);
        // hsc3_make reads the packfile and start.ax, never the script.
        run_.ReleaseScript();
        const std::map<std::string, std::string> options = ReadPackfile(hspFolder);
        const std::int32_t made = compiler_.Make(hspFolder);
        const std::u16string report = compiler_.Report();
        if (made != 0) ShowMakeError(compileReport + report);
        const std::u16string name = MadeExecutableName(report);
        const std::u16string& folder = run_.ScriptFolder();
        const std::u16string said = name.empty() ? texts_.ExecutableMadeUnnamed(folder) : texts_.ExecutableMade(folder + name);
        run_.Show(said + ApplyIconinsOptions(options, name, report), report, false);
        return ExitCode::Success;
    }

private:
    // The packfile hsc_comp wrote, read before hsc3_make copies its options
    // into buffers of fixed size: one too long for them is refused, and so
    // is a packfile the compiler would read unchecked.
    std::map<std::string, std::string> ReadPackfile(const std::string& hspFolder) {
        const std::u16string& folder = run_.ScriptFolder();
        FileBytes read = ReadFileBytes(api_, folder + u"packfile", kPackfileLimit);
        if (read.outcome == FileRead::TooLarge) run_.Fail(ExitCode::ScriptProblem, texts_.PackfileTooLarge());
        if (read.outcome != FileRead::Read)
            run_.Fail(ExitCode::ScriptProblem, texts_.PackfileUnreadable(SystemMessageText(api_, read.error)));
        if (run_.ScriptEncoding() != 0 && api_.GetACP() != os::kCpUtf8) HandOverInAnsi(folder + u"packfile", read.bytes);
        const std::size_t folderBytes = run_.ForCompiler(folder, ExitCode::ScriptProblem).bytes.size();
        // The compiler's own text of the folder: its current directory (set
        // by the long name) in the ANSI code page, then "\", which a drive's
        // root already ends with.
        const bool root = folder.size() == 3 && folder[1] == u':';
        const std::size_t currentBytes = AnsiLength(api_, folder) + (root ? 1 : 0);
        if (const auto overflow = FindPackOverflow(read.bytes, hspFolder.size(), folderBytes, currentBytes)) {
            if (overflow->defaultName)
                run_.Fail(ExitCode::ScriptProblem, texts_.PathTooLong(folder, kDefaultNameFolderLimit));
            run_.Fail(ExitCode::ScriptProblem, texts_.PackOptionTooLong(FromAnsi(api_, overflow->option), overflow->limit));
        }
        return ReadPackOptions(read.bytes);
    }

    // The names of a script read as UTF-8, rewritten in the code page
    // hsc3_make opens files with.
    void HandOverInAnsi(const std::u16string& path, std::string& packfile) {
        const std::optional<AnsiPackfile> ansi = PackfileInAnsi(api_, packfile);
        if (!ansi) return;
        if (!ansi->refused.empty())
            run_.Fail(ExitCode::ScriptProblem, texts_.PackNameNotInCodePage(ansi->refused, api_.GetACP()));
        if (const std::uint32_t error = WriteWholeFile(api_, path, ansi->bytes); error != 0)
            run_.Fail(ExitCode::ScriptProblem, texts_.PackfileNotWritten(SystemMessageText(api_, error)));
        packfile = ansi->bytes;
    }

    // hsc3_make fails for the toolchain's sake or the folder's as well as
    // the script's: each is said with its own fix.
    [[noreturn]] void ShowMakeError(const std::u16string& report) {
        const MakeProblem problem = FindMakeProblem(report);
        switch (problem.failure) {
            case MakeFailure::RuntimeMissing:
                run_.FailWithReport(ExitCode::ToolchainProblem, texts_.MakeRuntimeMissing(problem.file), report);
            case MakeFailure::RuntimeUnusable:
                run_.FailWithReport(ExitCode::ToolchainProblem, texts_.MakeRuntimeUnusable(request_.hsp), report);
            case MakeFailure::CannotWrite:
                run_.FailWithReport(ExitCode::ScriptProblem,
                                    texts_.ExecutableNotWritten(run_.ScriptFolder() + problem.file), report);
            case MakeFailure::Other: break;
        }
        run_.ShowCompileError(report);
    }

    // hsc3_make leaves #packopt icon, version, manifest, lang and upx to
    // HSP's iconins.exe, and would look for it beside the runner: it is run
    // here from the HSP folder, with the arguments hsc3_make gives it, and
    // waited for. Returns what the success window adds; fails the run when
    // iconins.exe does.
    std::u16string ApplyIconinsOptions(const std::map<std::string, std::string>& options,
                                       const std::u16string& madeName, const std::u16string& report) {
        std::u16string named;  // "icon, lang"
        for (const std::string_view option : kIconinsOptions) {
            const auto found = options.find(std::string(option));
            if (found == options.end() || found->second.empty()) continue;
            if (!named.empty()) named += u", ";
            named.append(option.begin(), option.end());
        }
        if (named.empty()) return {};
        // #runtime "hsp3_64" reaches the packfile as ";!runtime=hsp3_64.hrt".
        if (const auto runtime = options.find("runtime");
            runtime != options.end() && Is64BitRuntime(FromAnsi(api_, runtime->second)))
            return texts_.OptionsNotAppliedTo64Bit(named);
        const std::u16string iconins = request_.hsp + u"iconins.exe";
        if (!FileIsPresent(api_, iconins)) return texts_.OptionsNotApplied(named, iconins);

        const std::u16string& folder16 = run_.ScriptFolder();
        const std::string folder = run_.ForCompiler(folder16, ExitCode::ScriptProblem).bytes;
        // The name the compiler says it wrote; else the one it would have.
        const std::string made =
            madeName.empty() ? MadeExecutableFileName(options) : ToAnsiExactly(api_, madeName).value_or(std::string());
        AwaitReadable(folder16 + FromAnsi(api_, made));
        std::u16string line = u"\"" + iconins + u"\" " + FromAnsi(api_, IconinsArguments(options, folder + made, folder));
        os::ProcessInformation started;
        if (const std::uint32_t error = run_.Start(iconins, line, 0, started); error != 0)
            run_.FailWithReport(ExitCode::ToolchainProblem,
                                texts_.IconinsFailed(iconins, named, SystemMessageText(api_, error)), report);
        const os::unique_handle process(api_, started.process);
        const os::unique_handle thread(api_, started.thread);
        std::uint32_t code = 0;
        const std::uint32_t waited = api_.WaitForSingleObject(started.process, kIconinsWaitMilliseconds);
        if (waited == os::kWaitTimeout)
            run_.FailWithReport(ExitCode::ToolchainProblem, texts_.IconinsFailed(iconins, named, texts_.DidNotEnd()),
                                report);
        if (waited != os::kWaitObject0 || !api_.GetExitCodeProcess(started.process, &code)) {
            const std::uint32_t error = api_.GetLastError();
            run_.FailWithReport(ExitCode::ToolchainProblem,
                                texts_.IconinsFailed(iconins, named, SystemMessageText(api_, error)), report);
        }
        if (code != 0)
            run_.FailWithReport(ExitCode::ToolchainProblem,
                                texts_.IconinsFailed(iconins, named, texts_.ExitCodeWas(code)), report);
        return {};
    }

    // As hsc3_make before it starts iconins.exe: at least one pause, then
    // until the new executable can be read (a virus scanner may hold it).
    void AwaitReadable(const std::u16string& executable) {
        for (int step = 0; step < kReadableSteps; ++step) {
            api_.Sleep(kReadableStepMilliseconds);
            // A limit of 1 byte: opened, and not empty.
            if (ReadFileBytes(api_, executable, 1).outcome == FileRead::TooLarge) return;
        }
    }

    RunSteps& run_;
    os::RunnerApi& api_;
    const RunnerTexts& texts_;
    HspCompiler& compiler_;
    const MakeRequest& request_;
};

}  // namespace

ExitCode MakeExecutable(RunSteps& run, HspCompiler& compiler, const MakeRequest& request) {
    return Maker(run, compiler, request).Make();
}

}  // namespace tollik::runner
