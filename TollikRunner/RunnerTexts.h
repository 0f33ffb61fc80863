#pragma once
// Every word the runner shows, in Japanese and in English. The user's UI
// language picks one; nothing else in the runner writes a sentence.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/RunModes.h"
#include "command/RunnerCommandLine.h"

namespace tollik::runner {

enum class Language { Japanese, English };

// Japanese for a Japanese UI language (any sublanguage), English otherwise.
Language LanguageOf(std::uint16_t uiLanguage);

// The settings line that makes `folder` the HSP folder.
std::u16string HspDirNameLine(std::u16string_view folder);

struct RunnerTexts {
    Language language;

    std::u16string Title(const RunMode* mode, std::u16string_view scriptFolder) const;
    std::u16string ModeName(const RunMode& mode) const;

    // One sentence on what is wrong with the line.
    std::u16string CommandLineProblemText(CommandLineProblem problem, std::u16string_view token) const;
    std::u16string BadCommandLine(CommandLineProblem problem, std::u16string_view token) const;
    std::u16string UnknownMode(std::int32_t mode) const;

    // The toolchain: the HSP folder, its compiler and its runtimes.
    // `installed`: the HSP folders found elsewhere, newest first.
    std::u16string HspFolderMissing(std::u16string_view folder, const std::vector<std::u16string>& installed) const;
    // An empty HSPDirName, which reaches the runner as a lone backslash.
    std::u16string HspFolderNotSet(const std::vector<std::u16string>& installed) const;
    std::u16string CompilerMissing(std::u16string_view dll, const std::vector<std::u16string>& installed) const;
    // The folder holds only HSP's 64-bit compiler, `dll64`.
    std::u16string Compiler64BitOnly(std::u16string_view dll64, const std::vector<std::u16string>& installed) const;
    std::u16string CompilerNotLoaded(std::u16string_view dll, std::uint32_t error,
                                     std::u16string_view reason) const;
    std::u16string CompilerExportsMissing(std::u16string_view dll,
                                          std::u16string_view names) const;
    std::u16string RuntimeMissing(std::u16string_view runtime) const;
    std::u16string RuntimeNameRefused(std::u16string_view name) const;
    std::u16string RuntimeNotStarted(std::u16string_view runtime, std::uint32_t error,
                                     std::u16string_view reason) const;

    // The script and the paths handed to the compiler.
    std::u16string ScriptFolderMissing(std::u16string_view folder) const;
    // Another runner held the script's folder for all of `seconds`.
    std::u16string FolderBusy(std::u16string_view folder, std::uint32_t seconds) const;
    std::u16string ScriptFolderRefused(std::u16string_view folder, std::uint32_t error,
                                       std::u16string_view reason) const;
    std::u16string ScriptMissing(std::u16string_view script) const;
    // Another program (a press of the command) was still writing the
    // script after `seconds`; or the script cannot be opened at all.
    std::u16string ScriptBeingWritten(std::u16string_view script, std::uint32_t seconds) const;
    std::u16string ScriptUnreadable(std::u16string_view script, std::uint32_t error, std::u16string_view reason) const;
    std::u16string PathNotInCodePage(std::u16string_view path, std::uint32_t codePage) const;
    std::u16string PathTooLong(std::u16string_view path, std::size_t limit) const;

    // The compiler's verdict, as the summary line above its report.
    // `file` names the file when it is not the script itself (an included one).
    std::u16string ErrorOnLine(std::int32_t line, std::u16string_view message, std::u16string_view file = {}) const;
    std::u16string ErrorWithoutLine(std::u16string_view message) const;
    // Why bytes of the script go wrong under a code page other than 932
    // and 65001, and what helps: one sentence below the summary.
    std::u16string ShiftJisLeadBytes(std::uint32_t codePage) const;
    // An included file `name`, found at `path`, that is not UTF-8, when the
    // compiler read every file as UTF-8.
    std::u16string IncludeNotUtf8(std::u16string_view name, std::u16string_view path) const;
    // A file the compiler could not open because its name, in a script it
    // read as UTF-8, is not ASCII: it opens files with the ANSI calls.
    std::u16string IncludeNameNotAscii(std::u16string_view name, std::uint32_t codePage) const;
    std::u16string NoErrors() const;
    std::u16string ReportHeading() const;
    std::u16string ExecutableMade(std::u16string_view path) const;
    std::u16string ExecutableMadeUnnamed(std::u16string_view folder) const;
    // hsc3_make's failures that are not the script's: each with its fix.
    std::u16string MakeRuntimeMissing(std::u16string_view runtime) const;
    std::u16string MakeRuntimeUnusable(std::u16string_view hspFolder) const;
    std::u16string ExecutableNotWritten(std::u16string_view path) const;
    // The #packopt options iconins.exe applies (`options`: "icon, version"):
    // not applied, as the HSP folder has no iconins.exe; or it failed.
    std::u16string OptionsNotApplied(std::u16string_view options, std::u16string_view iconins) const;
    std::u16string IconinsFailed(std::u16string_view iconins, std::u16string_view options, std::u16string_view why) const;
    std::u16string PackOptionTooLong(std::u16string_view option, std::size_t limit) const;
    std::u16string PackfileUnreadable(std::u16string_view reason) const;
    std::u16string PackfileTooLarge() const;
    std::u16string PackfileNotWritten(std::u16string_view reason) const;
    // A #pack, #epack or #packopt name of a script read as UTF-8 that the
    // ANSI code page, in which hsc3_make opens files, cannot write.
    std::u16string PackNameNotInCodePage(std::u16string_view name, std::uint32_t codePage) const;
    // The options iconins.exe would apply, left out for the 64-bit runtime.
    std::u16string OptionsNotAppliedTo64Bit(std::u16string_view options) const;
    std::u16string ExitCodeWas(std::uint32_t code) const;
    std::u16string DidNotEnd() const;

    std::u16string OutOfMemory() const;
    std::u16string Unexpected() const;

private:
    std::u16string Pick(std::u16string_view japanese, std::u16string_view english) const;
    // The HSP folders found elsewhere, and the settings line that uses the first.
    std::u16string Installed(const std::vector<std::u16string>& installed) const;
};

}  // namespace tollik::runner
