#include "Runner.h"

#include <iterator>
#include <new>
#include <optional>
#include <string>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "Common/SystemMessage.h"
#include "ErrorSummary.h"
#include "FolderLock.h"
#include "MakeExecutable.h"
#include "RunSteps.h"
#include "RunnerTexts.h"
#include "ScriptHold.h"
#include "command/RunModes.h"
#include "command/RunnerCommandLine.h"
#include "hsp/CompilerPath.h"
#include "hsp/DllSearch.h"
#include "hsp/HspCompiler.h"
#include "hsp/InstalledHspFolders.h"
#include "hsp/ScriptEncoding.h"
#include "os/Handles.h"

namespace tollik::runner {
namespace {

constexpr char kObjectFile[] = "obj";

class Run final : public RunSteps {
public:
    Run(os::RunnerApi& api, RunnerTexts texts, std::uint32_t compilerLoadFlags)
        : api_(api), texts_(texts), compilerLoadFlags_(compilerLoadFlags) {}

    // The walk of one run: each step fails the run, with its window, when it must.
    ExitCode Execute(std::u16string_view commandLine) {
        const RunnerFields fields = ReadCommandLine(commandLine);
        const std::u16string hsp = HspFolder(fields.hspDirectory);
        CheckToolchain(hsp);
        const std::string scriptName = EnterScriptFolder(script_);
        const LoadedCompiler loaded = LoadCompilerFrom(hsp);
        HspCompiler compiler(api_, loaded.exports);
        const std::string common = IncludeFolder(hsp);
        commonFolder_ = hsp + std::u16string(kCommonFolder);
        HoldScriptFolder();
        HoldScript();
        utf8Input_ = CompilerReadsUtf8(api_, script_);
        if (mode_->makesExecutable) return MakeExecutable(*this, compiler, {scriptName, common, hsp});

        compiler.Prepare(scriptName, kObjectFile, common);
        const std::int32_t result = compiler.Compile(kCompileDebugInfo, ScriptEncoding(), fields.debugWindow != 0 ? 1 : 0);
        const std::u16string report = compiler.Report();
        if (result != 0) ShowCompileError(report);
        ReleaseScript();
        if (mode_->reportsSuccess) Show(texts_.NoErrors(), report, false);
        if (mode_->startsRuntime) StartRuntime(compiler, hsp);
        return ExitCode::Success;
    }

    os::RunnerApi& Api() override { return api_; }
    const RunnerTexts& Texts() const override { return texts_; }
    const std::u16string& ScriptFolder() const override { return scriptFolder_; }
    void ReleaseScript() override { scriptHold_.reset(); }

    void Window(const std::u16string& text, bool isError) override {
        // Nobody waits on a window's reader.
        scriptHold_.reset();
        lock_.reset();
        const std::u16string title = texts_.Title(mode_, DirPartTrimmed(scriptFolder_));
        api_.ShowTextWindow(title.c_str(), text.c_str(), isError);
    }

private:
    RunnerFields ReadCommandLine(std::u16string_view commandLine) {
        const ParsedCommandLine parsed = ParseRunnerCommandLine(commandLine);
        if (!parsed.ok) Fail(ExitCode::BadInvocation, texts_.BadCommandLine(parsed.problem, parsed.token));
        script_ = FullPath(parsed.fields.scriptPath);
        scriptFolder_ = DirPart(script_);
        mode_ = FindRunMode(parsed.fields.runMode);
        if (mode_ == nullptr) Fail(ExitCode::BadInvocation, texts_.UnknownMode(parsed.fields.runMode));
        return parsed.fields;
    }

    std::u16string HspFolder(const std::u16string& field) {
        // An empty HSPDirName reaches the runner as a lone backslash: the root
        // of the current drive is no HSP folder anyone chose.
        if (field.empty() || field == u"\\")
            Fail(ExitCode::ToolchainProblem, texts_.HspFolderNotSet(FindInstalledHspFolders(api_)));
        return AddTrailingDelimiter(FullPath(field));
    }

    LoadedCompiler LoadCompilerFrom(const std::u16string& hsp) {
        const std::u16string dll = hsp + std::u16string(kCompilerDll);
        CompilerLoad load = LoadCompiler(api_, dll, compilerLoadFlags_);
        if (load.compiler) return std::move(*load.compiler);
        if (!load.missing.empty()) Fail(ExitCode::ToolchainProblem, texts_.CompilerExportsMissing(dll, load.missing));
        Fail(ExitCode::ToolchainProblem, texts_.CompilerNotLoaded(dll, load.error, SystemMessageText(api_, load.error)));
    }

    // The include folder as the compiler takes it. The compiler appends to
    // the HSP folder more than the runner sees: its own limit is said
    // first, whichever form of it is used.
    std::string IncludeFolder(const std::u16string& hsp) {
        if (const CompilerPathResult own = ToCompilerPath(api_, hsp);
            own.problem == PathProblem::TooLong || own.bytes.size() > kHspFolderPathLimit)
            Fail(ExitCode::ToolchainProblem, texts_.PathTooLong(hsp, kHspFolderPathLimit));
        std::string common = ForCompiler(hsp + std::u16string(kCommonFolder), ExitCode::ToolchainProblem).bytes;
        if (common.size() - kCommonFolder.size() > kHspFolderPathLimit)
            Fail(ExitCode::ToolchainProblem, texts_.PathTooLong(hsp, kHspFolderPathLimit));
        return common;
    }

    // Until the runtime has started (or a window is shown).
    void HoldScriptFolder() {
        lock_.emplace(api_, scriptFolder_);
        if (!lock_->Acquire(kFolderWaitMilliseconds))
            Fail(ExitCode::ScriptProblem, texts_.FolderBusy(DirPartTrimmed(scriptFolder_), kFolderWaitMilliseconds / 1000));
    }

    // From here until the compile has returned (a failed one: until its
    // window), no press can rewrite the script: anything that reads it
    // comes after this.
    void HoldScript() {
        const std::uint32_t error = scriptHold_.emplace(api_, script_).error();
        if (error == 0) return;
        if (error == os::kErrorFileNotFound || error == os::kErrorPathNotFound)
            Fail(ExitCode::ScriptProblem, texts_.ScriptMissing(script_));
        if (error == os::kErrorSharingViolation)
            Fail(ExitCode::ScriptProblem, texts_.ScriptBeingWritten(script_, kScriptWaitMilliseconds / 1000));
        Fail(ExitCode::ScriptProblem, texts_.ScriptUnreadable(script_, error, SystemMessageText(api_, error)));
    }

    std::u16string FullPath(const std::u16string& path) {
        // An empty field stays empty: "the current directory" is no answer.
        if (path.empty()) return path;
        std::u16string full = ExpandPath(api_, path);
        return full.empty() ? path : full;
    }

    void CheckToolchain(const std::u16string& hsp) {
        if (hsp.size() <= 1 || !DirectoryIsPresent(api_, hsp))
            Fail(ExitCode::ToolchainProblem, texts_.HspFolderMissing(hsp, FindInstalledHspFolders(api_)));
        const std::u16string dll = hsp + std::u16string(kCompilerDll);
        if (FileIsPresent(api_, dll)) return;
        // HSP 3.8's 64-bit-only folder: the compiler is there, but not for this runner.
        const std::u16string dll64 = hsp + std::u16string(kCompiler64Dll);
        Fail(ExitCode::ToolchainProblem, FileIsPresent(api_, dll64)
                                             ? texts_.Compiler64BitOnly(dll64, FindInstalledHspFolders(api_))
                                             : texts_.CompilerMissing(dll, FindInstalledHspFolders(api_)));
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

    CompilerPathResult ForCompiler(const std::u16string& path, ExitCode code) override {
        CompilerPathResult converted = ToCompilerPath(api_, path);
        if (converted.problem == PathProblem::NotInCodePage)
            Fail(code, texts_.PathNotInCodePage(path, api_.GetACP()));
        if (converted.problem == PathProblem::TooLong) Fail(code, texts_.PathTooLong(path, kCompilerPathLimit));
        return converted;
    }

    std::intptr_t ScriptEncoding() override { return utf8Input_ ? kPreprocessUtf8Input : 0; }

    std::u16string CompileErrorSummary(const std::u16string& report) override {
        return runner::CompileErrorSummary(api_, texts_, {script_, scriptNameForCompiler_, commonFolder_, utf8Input_},
                                           report);
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
        const os::unique_handle process(api_, started.process);
        const os::unique_handle thread(api_, started.thread);
        // The folder stays held until the runtime has read obj: a window
        // runtime has by the time it first waits for input. A console one
        // has no input queue (the call fails at once); it reads obj as it
        // starts, and gets a moment for that. Beyond that the program runs
        // on its own; the runner does not wait for it.
        if (api_.WaitForInputIdle(started.process, kRuntimeReadMilliseconds) == os::kWaitFailed)
            api_.WaitForSingleObject(started.process, kConsoleRuntimeReadMilliseconds);
    }

    std::uint32_t Start(const std::u16string& application, std::u16string& line, std::uint32_t flags,
                        os::ProcessInformation& started) override {
        const ChildrenSearchAsUsual search(api_, compilerLoadFlags_);
        if (api_.CreateProcessW(application.c_str(), line.data(), flags, scriptFolder_.c_str(), os::kSwShowNormal,
                                started))
            return 0;
        const std::uint32_t error = api_.GetLastError();
        return error != 0 ? error : 1;  // ERROR_INVALID_FUNCTION where the system gave none
    }

    os::RunnerApi& api_;
    RunnerTexts texts_;
    std::uint32_t compilerLoadFlags_;
    const RunMode* mode_ = nullptr;
    std::u16string script_;
    std::u16string scriptFolder_;
    std::optional<FolderLock> lock_;
    std::optional<ScriptHold> scriptHold_;
    std::u16string scriptNameForCompiler_;
    std::u16string commonFolder_;
    bool utf8Input_ = false;  // the compiler reads the script as UTF-8
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
