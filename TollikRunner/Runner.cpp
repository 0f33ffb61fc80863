#include "Runner.h"

#include <iterator>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "Common/SystemMessage.h"
#include "FolderLock.h"
#include "HSPCmp/ScriptFileName.h"
#include "RunnerTexts.h"
#include "command/RunModes.h"
#include "command/RunnerCommandLine.h"
#include "hsp/CompilerPath.h"
#include "hsp/CompilerReport.h"
#include "hsp/DllSearch.h"
#include "hsp/HspCompiler.h"
#include "hsp/InstalledHspFolders.h"
#include "hsp/PackFile.h"
#include "hsp/ReportText.h"
#include "os/Handles.h"

namespace tollik::runner {
namespace {

constexpr char kObjectFile[] = "obj";
constexpr char kPackedObjectFile[] = "start.ax";

// Ends the run with what the window said: a step that fails throws this.
struct Stop {
    ExitCode code;
};

class Run {
public:
    Run(os::RunnerApi& api, RunnerTexts texts, std::uint32_t compilerLoadFlags)
        : api_(api), texts_(texts), compilerLoadFlags_(compilerLoadFlags) {}

    ExitCode Execute(std::u16string_view commandLine) {
        const ParsedCommandLine parsed = ParseRunnerCommandLine(commandLine);
        if (!parsed.ok) Fail(ExitCode::BadInvocation, texts_.BadCommandLine(parsed.problem, parsed.token));
        script_ = FullPath(parsed.fields.scriptPath);
        scriptFolder_ = DirPart(script_);
        const RunMode* const mode = FindRunMode(parsed.fields.runMode);
        if (mode == nullptr) Fail(ExitCode::BadInvocation, texts_.UnknownMode(parsed.fields.runMode));
        mode_ = mode;
        // An empty HSPDirName reaches the runner as a lone backslash: the root
        // of the current drive is no HSP folder anyone chose.
        if (parsed.fields.hspDirectory.empty() || parsed.fields.hspDirectory == u"\\")
            Fail(ExitCode::ToolchainProblem, texts_.HspFolderNotSet());
        const std::u16string hsp = AddTrailingDelimiter(FullPath(parsed.fields.hspDirectory));
        CheckToolchain(hsp);
        const std::string scriptName = EnterScriptFolder(script_);

        const std::u16string compilerDll = hsp + std::u16string(kCompilerDll);
        CompilerLoad load = LoadCompiler(api_, compilerDll, compilerLoadFlags_);
        if (!load.compiler) {
            if (!load.missing.empty())
                Fail(ExitCode::ToolchainProblem, texts_.CompilerExportsMissing(compilerDll, load.missing));
            Fail(ExitCode::ToolchainProblem,
                 texts_.CompilerNotLoaded(compilerDll, load.error, SystemMessageText(api_, load.error)));
        }
        HspCompiler compiler(api_, load.compiler->exports);
        // The compiler appends to the HSP folder more than the runner sees:
        // its own limit is said first, whichever form of it is used.
        if (const CompilerPathResult own = ToCompilerPath(api_, hsp);
            own.problem == PathProblem::TooLong || own.bytes.size() > kHspFolderPathLimit)
            Fail(ExitCode::ToolchainProblem, texts_.PathTooLong(hsp, kHspFolderPathLimit));
        const std::string common = ForCompiler(hsp + std::u16string(kCommonFolder), ExitCode::ToolchainProblem).bytes;
        if (common.size() - kCommonFolder.size() > kHspFolderPathLimit)
            Fail(ExitCode::ToolchainProblem, texts_.PathTooLong(hsp, kHspFolderPathLimit));

        lock_.emplace(api_, scriptFolder_);
        if (!lock_->Acquire(kFolderWaitMilliseconds))
            Fail(ExitCode::ScriptProblem, texts_.FolderBusy(DirPartTrimmed(scriptFolder_), kFolderWaitMilliseconds / 1000));
        if (mode->makesExecutable) return MakeExecutable(compiler, scriptName, common, hsp);
        compiler.Prepare(scriptName, kObjectFile, common);
        const std::int32_t result =
            compiler.Compile(kCompileDebugInfo, ScriptEncoding(), parsed.fields.debugWindow != 0 ? 1 : 0);
        const std::u16string report = compiler.Report();
        if (result != 0) ShowCompileError(report);
        if (mode->reportsSuccess) {
            Show(texts_.NoErrors(), report, false);
            return ExitCode::Success;
        }
        if (mode->startsRuntime) StartRuntime(compiler, hsp);
        return ExitCode::Success;
    }

    // Shows `text` and ends the run with `code`.
    [[noreturn]] void Fail(ExitCode code, const std::u16string& text) {
        Window(text, true);
        throw Stop{code};
    }

    void Window(const std::u16string& text, bool isError) {
        lock_.reset();  // nobody waits on a window's reader
        const std::u16string title = texts_.Title(mode_, DirPartTrimmed(scriptFolder_));
        api_.ShowTextWindow(title.c_str(), text.c_str(), isError);
    }

private:
    std::u16string FullPath(const std::u16string& path) {
        // An empty field stays empty: "the current directory" is no answer.
        if (path.empty()) return path;
        std::u16string full = ExpandPath(api_, path);
        return full.empty() ? path : full;
    }

    void CheckToolchain(const std::u16string& hsp) {
        if (hsp.size() <= 1 || !DirectoryIsPresent(api_, hsp))
            Fail(ExitCode::ToolchainProblem, texts_.HspFolderMissing(hsp, FindInstalledHspFolders(api_)));
        if (!FileIsPresent(api_, hsp + std::u16string(kCompilerDll)))
            Fail(ExitCode::ToolchainProblem, texts_.CompilerMissing(hsp + std::u16string(kCompilerDll)));
    }

    // Makes the script's folder current, so that its #include lines find
    // their neighbours and the object file lands beside it; returns the
    // script's name as the compiler takes it.
    std::string EnterScriptFolder(const std::u16string& script) {
        if (scriptFolder_.empty() || !DirectoryIsPresent(api_, scriptFolder_))
            Fail(ExitCode::ScriptProblem, texts_.ScriptFolderMissing(scriptFolder_));
        if (!FileIsPresent(api_, script)) Fail(ExitCode::ScriptProblem, texts_.ScriptMissing(script));
        if (!api_.SetCurrentDirectoryW(scriptFolder_.c_str())) {
            const std::uint32_t error = api_.GetLastError();
            Fail(ExitCode::ScriptProblem,
                 texts_.ScriptFolderRefused(scriptFolder_, error, SystemMessageText(api_, error)));
        }
        // The compiler is in the folder: the name alone, in the form that fit,
        // cut from UTF-16 (in code page 932, 0x5C is also a second byte).
        scriptNameForCompiler_ = NamePart(ForCompiler(script, ExitCode::ScriptProblem).text);
        // Part of a path that converted exactly, so it converts exactly too.
        return ToAnsiExactly(api_, scriptNameForCompiler_).value_or(std::string());
    }

    CompilerPathResult ForCompiler(const std::u16string& path, ExitCode code) {
        CompilerPathResult converted = ToCompilerPath(api_, path);
        if (converted.problem == PathProblem::NotInCodePage)
            Fail(code, texts_.PathNotInCodePage(path, api_.GetACP()));
        if (converted.problem == PathProblem::TooLong) Fail(code, texts_.PathTooLong(path, kCompilerPathLimit));
        return converted;
    }

    // The file an error is in, when it is not the script: the user's document
    // has no such line.
    std::u16string OtherFile(const std::u16string& file) const {
        const auto folded = [](std::u16string text) {
            for (char16_t& unit : text)
                if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
            return text;
        };
        return file.empty() || folded(file) == folded(scriptNameForCompiler_) ? std::u16string() : file;
    }

    // hsc_comp reads the script as Shift_JIS unless told it is UTF-8, which
    // it is where the ANSI code page is 65001 (the plug-in writes it so).
    std::intptr_t ScriptEncoding() { return api_.GetACP() == os::kCpUtf8 ? kPreprocessUtf8Input : 0; }

    [[noreturn]] void ShowCompileError(const std::u16string& report) {
        const std::optional<FirstError> first = FindFirstError(report);
        std::u16string summary = !first ? texts_.ErrorWithoutLine(u"")
                                 : first->line ? texts_.ErrorOnLine(*first->line, first->message, OtherFile(first->file))
                                               : texts_.ErrorWithoutLine(first->message);
        if (const std::uint32_t codePage = api_.GetACP(); codePage != kCpShiftJis && codePage != os::kCpUtf8) {
            constexpr std::int64_t kScriptReadLimit = 64 << 20;
            const FileBytes script = ReadFileBytes(api_, script_, kScriptReadLimit);
            if (script.outcome == FileRead::Read && HoldsShiftJisLeadBytes(script.bytes))
                summary += u"\r\n" + texts_.ShiftJisLeadBytes(codePage);
        }
        Show(summary, report, true);
        throw Stop{ExitCode::CompileError};
    }

    void Show(const std::u16string& summary, const std::u16string& report, bool isError) {
        Window(summary + u"\r\n\r\n" + texts_.ReportHeading() + u"\r\n" + WithWindowsLineEnds(report), isError);
    }

    void StartRuntime(HspCompiler& compiler, const std::u16string& hsp) {
        std::u16string runtime = compiler.Runtime(kObjectFile);
        if (runtime.empty()) runtime = std::u16string(kDefaultRuntime);
        // The object file names the runtime; it must not lead out of the HSP folder.
        if (runtime.find_first_of(u"\\/:") != std::u16string::npos || runtime == u"." || runtime == u"..")
            Fail(ExitCode::ToolchainProblem, texts_.RuntimeNameRefused(runtime));
        const std::u16string path = hsp + runtime;
        if (!FileIsPresent(api_, path)) Fail(ExitCode::ToolchainProblem, texts_.RuntimeMissing(path));

        std::u16string line = u"\"" + path + u"\" " + std::u16string(std::begin(kObjectFile), std::end(kObjectFile) - 1);
        os::ProcessInformation started;
        // Shown, though the runner itself was started hidden; a console
        // runtime gets a console of its own.
        if (const std::uint32_t error = Start(path, line, os::kCreateNewConsole, started); error != 0)
            Fail(ExitCode::ToolchainProblem, texts_.RuntimeNotStarted(path, error, SystemMessageText(api_, error)));
        // The program runs on its own; the runner does not wait for it.
        const os::unique_handle process(api_, started.process);
        const os::unique_handle thread(api_, started.thread);
    }

    // Starts a program in the script's folder, shown, with the DLL search a
    // program started by HSP's editor gets; 0, or the system's error.
    std::uint32_t Start(const std::u16string& application, std::u16string& line, std::uint32_t flags,
                        os::ProcessInformation& started) {
        const ChildrenSearchAsUsual search(api_, compilerLoadFlags_);
        if (api_.CreateProcessW(application.c_str(), line.data(), flags, scriptFolder_.c_str(), os::kSwShowNormal,
                                started))
            return 0;
        const std::uint32_t error = api_.GetLastError();
        return error != 0 ? error : 1;  // ERROR_INVALID_FUNCTION where the system gave none
    }

    ExitCode MakeExecutable(HspCompiler& compiler, const std::string& scriptName, const std::string& common,
                            const std::u16string& hsp) {
        // hsc3_make appends the runtime's name to the folder in a buffer of MAX_PATH.
        const std::string hspFolder = ForCompiler(hsp, ExitCode::ToolchainProblem).bytes;
        if (hspFolder.size() > kHspFolderPathLimit)
            Fail(ExitCode::ToolchainProblem, texts_.PathTooLong(hsp, kHspFolderPathLimit));
        compiler.Prepare(scriptName, kPackedObjectFile, common);
        const std::int32_t compiled = compiler.Compile(0, kPreprocessMakePack | ScriptEncoding(), 0);
        const std::u16string compileReport = compiler.Report();
        if (compiled != 0) ShowCompileError(compileReport);
        const Packfile pack = ReadPackfile(hspFolder);
        const std::int32_t made = compiler.Make(hspFolder);
        const std::u16string report = compiler.Report();
        if (made != 0) ShowMakeError(compileReport + report, hsp);
        const std::u16string name = MadeExecutableName(report);
        const std::u16string made16 =
            name.empty() ? texts_.ExecutableMadeUnnamed(scriptFolder_) : texts_.ExecutableMade(scriptFolder_ + name);
        const std::u16string notes = pack.unreadable.empty() ? ApplyIconinsOptions(hsp, pack.options, name, report)
                                                             : texts_.PackOptionsUnread(pack.unreadable);
        Show(made16 + notes, report, false);
        return ExitCode::Success;
    }

    struct Packfile {
        std::map<std::string, std::string> options;
        std::u16string unreadable;  // why, when it could not be read
    };

    // The packfile hsc_comp wrote, read before hsc3_make copies its options
    // into buffers of fixed size: one too long for them is refused.
    Packfile ReadPackfile(const std::string& hspFolder) {
        Packfile pack;
        const FileBytes read = ReadFileBytes(api_, scriptFolder_ + u"packfile", 1 << 20);
        if (read.outcome == FileRead::CannotOpen && read.error == os::kErrorFileNotFound) return pack;
        if (read.outcome != FileRead::Read) {
            pack.unreadable = read.outcome == FileRead::TooLarge ? u"1 MiB+" : SystemMessageText(api_, read.error);
            return pack;
        }
        const std::size_t folderBytes = ForCompiler(scriptFolder_, ExitCode::ScriptProblem).bytes.size();
        if (const auto overflow = FindPackOverflow(read.bytes, hspFolder.size(), folderBytes))
            Fail(ExitCode::ScriptProblem, texts_.PackOptionTooLong(FromAnsi(api_, overflow->option), overflow->limit));
        pack.options = ReadPackOptions(read.bytes);
        return pack;
    }

    // hsc3_make fails for the toolchain's sake or the folder's as well as
    // the script's: each is said with its own fix.
    [[noreturn]] void ShowMakeError(const std::u16string& report, const std::u16string& hsp) {
        const MakeProblem problem = FindMakeProblem(report);
        switch (problem.failure) {
            case MakeFailure::RuntimeMissing:
                FailWithReport(ExitCode::ToolchainProblem, texts_.MakeRuntimeMissing(problem.file), report);
            case MakeFailure::RuntimeUnusable:
                FailWithReport(ExitCode::ToolchainProblem, texts_.MakeRuntimeUnusable(hsp), report);
            case MakeFailure::CannotWrite:
                FailWithReport(ExitCode::ScriptProblem, texts_.ExecutableNotWritten(scriptFolder_ + problem.file),
                               report);
            case MakeFailure::Other: break;
        }
        ShowCompileError(report);
    }

    [[noreturn]] void FailWithReport(ExitCode code, const std::u16string& summary, const std::u16string& report) {
        Show(summary, report, true);
        throw Stop{code};
    }

    // hsc3_make leaves #packopt icon, version, manifest, lang and upx to
    // HSP's iconins.exe, and would look for it beside the runner: it is run
    // here from the HSP folder, with the arguments hsc3_make gives it, and
    // waited for. Returns what the success window adds; fails the run when
    // iconins.exe does.
    std::u16string ApplyIconinsOptions(const std::u16string& hsp, const std::map<std::string, std::string>& options,
                                       const std::u16string& madeName, const std::u16string& report) {
        std::u16string named;  // "icon, lang"
        for (const std::string_view option : kIconinsOptions) {
            const auto found = options.find(std::string(option));
            if (found == options.end() || found->second.empty()) continue;
            if (!named.empty()) named += u", ";
            named.append(option.begin(), option.end());
        }
        if (named.empty()) return {};
        const std::u16string iconins = hsp + u"iconins.exe";
        if (!FileIsPresent(api_, iconins)) return texts_.OptionsNotApplied(named, iconins);

        const std::string folder = ForCompiler(scriptFolder_, ExitCode::ScriptProblem).bytes;
        // The name the compiler says it wrote; else the one it would have.
        const std::string made =
            madeName.empty() ? MadeExecutableFileName(options) : ToAnsiExactly(api_, madeName).value_or(std::string());
        std::u16string line = u"\"" + iconins + u"\" " + FromAnsi(api_, IconinsArguments(options, folder + made, folder));
        os::ProcessInformation started;
        if (const std::uint32_t error = Start(iconins, line, 0, started); error != 0) {
            FailWithReport(ExitCode::ToolchainProblem,
                           texts_.IconinsFailed(iconins, named, SystemMessageText(api_, error)), report);
        }
        const os::unique_handle process(api_, started.process);
        const os::unique_handle thread(api_, started.thread);
        constexpr std::uint32_t kIconinsWaitMilliseconds = 60000;
        std::uint32_t code = 0;
        const std::uint32_t waited = api_.WaitForSingleObject(started.process, kIconinsWaitMilliseconds);
        if (waited == os::kWaitTimeout)
            FailWithReport(ExitCode::ToolchainProblem, texts_.IconinsFailed(iconins, named, texts_.DidNotEnd()), report);
        if (waited != os::kWaitObject0 || !api_.GetExitCodeProcess(started.process, &code)) {
            const std::uint32_t error = api_.GetLastError();
            FailWithReport(ExitCode::ToolchainProblem,
                           texts_.IconinsFailed(iconins, named, SystemMessageText(api_, error)), report);
        }
        if (code != 0)
            FailWithReport(ExitCode::ToolchainProblem, texts_.IconinsFailed(iconins, named, texts_.ExitCodeWas(code)),
                           report);
        return {};
    }

    os::RunnerApi& api_;
    RunnerTexts texts_;
    std::uint32_t compilerLoadFlags_;
    const RunMode* mode_ = nullptr;
    std::u16string script_;
    std::u16string scriptFolder_;
    std::optional<FolderLock> lock_;
    std::u16string scriptNameForCompiler_;
};

}  // namespace

ExitCode RunRunner(os::RunnerApi& api, std::u16string_view commandLine) noexcept {
    RunnerTexts texts{Language::English};
    try {
        // Before anything can load a DLL.
        const std::uint32_t compilerLoadFlags = RestrictDllSearch(api);
        texts.language = LanguageOf(api.GetUserDefaultUILanguage());
        Run run(api, texts, compilerLoadFlags);
        try {
            return run.Execute(commandLine);
        } catch (const Stop& stop) {
            return stop.code;
        } catch (const std::bad_alloc&) {
            run.Window(texts.OutOfMemory(), true);
        } catch (...) {
            run.Window(texts.Unexpected(), true);
        }
    } catch (...) {
        // Not even the window could be shown: the exit code is all that is left.
    }
    return ExitCode::Unexpected;
}

}  // namespace tollik::runner
