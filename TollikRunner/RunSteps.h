#pragma once
// What a step of a run may ask of the run itself: end it with words (the
// window, then the exit code), show the compiler's report, hand a path to
// the compiler, start a program as HSP's editor would. The run's hub
// (Runner.cpp) provides them; a mode's own file uses them.

#include <cstdint>
#include <string>

#include "Runner.h"
#include "RunnerTexts.h"
#include "hsp/CompilerPath.h"
#include "hsp/CompilerReport.h"
#include "os/RunnerApi.h"

namespace tollik::runner {

// Ends the run with what the window said: a step that fails throws this.
struct Stop {
    ExitCode code;
};

class RunSteps {
public:
    virtual ~RunSteps() = default;

    virtual os::RunnerApi& Api() = 0;
    virtual const RunnerTexts& Texts() const = 0;
    // The script's folder, full, with its final backslash.
    virtual const std::u16string& ScriptFolder() const = 0;

    // Shows `text` and ends the run with `code`.
    [[noreturn]] void Fail(ExitCode code, const std::u16string& text) {
        Window(text, true);
        throw Stop{code};
    }
    // The same with the compiler's whole report under the summary.
    [[noreturn]] void FailWithReport(ExitCode code, const std::u16string& summary, const std::u16string& report) {
        Show(summary, report, true);
        throw Stop{code};
    }
    // The first error above the report; ends the run as a compile error.
    [[noreturn]] void ShowCompileError(const std::u16string& report) {
        FailWithReport(ExitCode::CompileError, CompileErrorSummary(report), report);
    }

    // Lets a press rewrite the script again: call once the compile has
    // returned (a window does it too).
    virtual void ReleaseScript() = 0;

    // The runner's one window.
    virtual void Window(const std::u16string& text, bool isError) = 0;
    void Show(const std::u16string& summary, const std::u16string& report, bool isError) {
        Window(summary + u"\r\n\r\n" + Texts().ReportHeading() + u"\r\n" + WithWindowsLineEnds(report), isError);
    }
    virtual std::u16string CompileErrorSummary(const std::u16string& report) = 0;
    // `path` as the compiler takes it; fails the run with `code` when it cannot.
    virtual CompilerPathResult ForCompiler(const std::u16string& path, ExitCode code) = 0;
    // Starts a program in the script's folder, shown, with the DLL search a
    // program started by HSP's editor gets; 0, or the system's error.
    virtual std::uint32_t Start(const std::u16string& application, std::u16string& line, std::uint32_t flags,
                                os::ProcessInformation& started) = 0;
    // hsc_comp's option for how the script is encoded on this system.
    virtual std::intptr_t ScriptEncoding() = 0;
};

}  // namespace tollik::runner
