#include "RunnerTexts.h"

#include <string>

#include "os/RunnerApi.h"

namespace tollik::runner {
namespace {

using namespace std::string_view_literals;

std::u16string Decimal(std::int64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string Cat(std::initializer_list<std::u16string_view> parts) {
    std::u16string out;
    for (const std::u16string_view part : parts) out += part;
    return out;
}

constexpr std::u16string_view kUsage =
    u"\"<HSP folder>\" \"<script>\" <run mode> <debug window 0/1>";

}  // namespace

std::u16string HspDirNameLine(std::u16string_view folder) { return Cat({u"HSPDirName=", folder}); }

Language LanguageOf(std::uint16_t uiLanguage) {
    return (uiLanguage & os::kPrimaryLanguageMask) == os::kLangJapanese ? Language::Japanese : Language::English;
}

std::u16string RunnerTexts::Pick(std::u16string_view japanese, std::u16string_view english) const {
    return std::u16string(language == Language::Japanese ? japanese : english);
}

std::u16string RunnerTexts::ModeName(const RunMode& mode) const {
    return Pick(mode.japaneseName, mode.englishName);
}

std::u16string RunnerTexts::Title(const RunMode* mode, std::u16string_view scriptFolder) const {
    std::u16string title = u"Tollik";
    if (mode != nullptr) title += Cat({u" - "sv, ModeName(*mode)});
    if (!scriptFolder.empty()) title += Cat({u" - "sv, scriptFolder});
    return title;
}

std::u16string RunnerTexts::CommandLineProblemText(CommandLineProblem problem,
                                                   std::u16string_view token) const {
    using enum CommandLineProblem;
    std::u16string what;
    switch (problem) {
        case NoArguments: what = Pick(u"引数がありません。", u"There are no arguments."); break;
        case HspFolderNotQuoted:
            what = Pick(u"HSP フォルダーが二重引用符で囲まれていません。",
                        u"The HSP folder is not in double quotes.");
            break;
        case HspFolderNotClosed:
            what = Pick(u"HSP フォルダーを閉じる二重引用符がありません。",
                        u"The HSP folder has no closing double quote.");
            break;
        case NothingAfterHspFolder:
            what = Pick(u"HSP フォルダーの後に空白と続きがありません。",
                        u"A blank and more are missing after the HSP folder.");
            break;
        case ScriptNotQuoted:
            what = Pick(u"スクリプトのパスが二重引用符で囲まれていません。",
                        u"The script path is not in double quotes.");
            break;
        case ScriptNotClosed:
            what = Pick(u"スクリプトのパスを閉じる二重引用符がありません。",
                        u"The script path has no closing double quote.");
            break;
        case NothingAfterScript:
            what = Pick(u"スクリプトのパスの後に空白と続きがありません。",
                        u"A blank and more are missing after the script path.");
            break;
        case RunModeNotNumber:
            what = Cat({Pick(u"実行モードが 10 進の整数ではありません: \"", u"The run mode is not a decimal integer: \""),
                        token, u"\""});
            break;
        case NothingAfterRunMode:
            what = Pick(u"実行モードの後に空白と続きがありません。",
                        u"A blank and more are missing after the run mode.");
            break;
        case DebugFlagNotNumber:
            what = Cat({Pick(u"デバッグウィンドウの指定が 10 進の整数ではありません: \"",
                             u"The debug-window flag is not a decimal integer: \""),
                        token, u"\""});
            break;
        case TextAfterDebugFlag:
            what = Pick(u"デバッグウィンドウの指定の後に余分な文字があります。",
                        u"There is unexpected text after the debug-window flag.");
            break;
        case None: break;
    }
    return what;
}

std::u16string RunnerTexts::BadCommandLine(CommandLineProblem problem, std::u16string_view token) const {
    return Cat({Pick(u"コマンドラインを読めません。\r\n", u"The command line cannot be read.\r\n"),
                CommandLineProblemText(problem, token),
                Pick(u"\r\n\r\n期待する形式:\r\n    Tollik.exe ", u"\r\n\r\nExpected:\r\n    Tollik.exe "),
                kUsage,
                Pick(u"\r\nこのプログラムは Pellam の「HSP コンパイル/実行」コマンドが起動します。",
                     u"\r\nPellam's command \"HSP コンパイル/実行\" starts this program.")});
}

std::u16string RunnerTexts::UnknownMode(std::int32_t mode) const {
    std::u16string out = Cat({Pick(u"実行モード ", u"Run mode "), Decimal(mode),
                              Pick(u" はありません。使える実行モード:", u" does not exist. The run modes are:")});
    for (const RunMode& row : AllRunModes()) out += Cat({u"\r\n    "sv, Decimal(row.number), u": ", ModeName(row)});
    return out + Pick(u"\r\n\r\nTollik.ini の Mode で選びます (Ctrl を押しながら実行すると 1 と 2 が入れ替わります)。",
                      u"\r\n\r\nChoose one with Mode in Tollik.ini (Ctrl while invoking the command swaps 1 and 2).");
}

namespace {
constexpr std::u16string_view kFixJapanese =
    u"\r\n\r\nプラグインの設定ファイル Tollik.ini の HSPDirName に HSP のフォルダー (hspcmp.dll "
    u"のあるフォルダー) を書いてください。tollik-check.exe を Pellam のフォルダーで実行すると、"
    u"設定ファイルの場所と使われる値がわかります。";
constexpr std::u16string_view kFixEnglish =
    u"\r\n\r\nSet HSPDirName in the plug-in's settings file, Tollik.ini, to the HSP folder (the one "
    u"that holds hspcmp.dll). Run tollik-check.exe in Pellam's folder to see where that file is "
    u"and which values are used.";
}  // namespace

std::u16string RunnerTexts::Installed(const std::vector<std::u16string>& installed) const {
    if (installed.empty()) return {};
    std::u16string text =
        Pick(u"\r\n\r\nドライブの直下にある HSP のフォルダー:", u"\r\n\r\nHSP folders at the roots of the fixed drives:");
    for (const std::u16string& found : installed) text += Cat({u"\r\n    ", found});
    return text + Cat({Pick(u"\r\n\r\n最初のものを使うには、Tollik.ini の [Tollik] に次の行を書いてください:\r\n    ",
                            u"\r\n\r\nTo use the first, put this line under [Tollik] in Tollik.ini:\r\n    "),
                       HspDirNameLine(installed.front())});
}

std::u16string RunnerTexts::HspFolderMissing(std::u16string_view folder,
                                             const std::vector<std::u16string>& installed) const {
    return Cat({Pick(u"HSP のフォルダーがありません:\r\n    ", u"The HSP folder does not exist:\r\n    "), folder,
                Pick(kFixJapanese, kFixEnglish), Installed(installed)});
}

std::u16string RunnerTexts::HspFolderNotSet(const std::vector<std::u16string>& installed) const {
    return Cat({Pick(u"HSP のフォルダーが設定されていません。", u"The HSP folder is not set."),
                Pick(kFixJapanese, kFixEnglish), Installed(installed)});
}

std::u16string RunnerTexts::CompilerMissing(std::u16string_view dll, const std::vector<std::u16string>& installed) const {
    return Cat({Pick(u"HSP のコンパイラーがありません:\r\n    ", u"The HSP compiler is missing:\r\n    "), dll,
                Pick(kFixJapanese, kFixEnglish), Installed(installed)});
}

std::u16string RunnerTexts::Compiler64BitOnly(std::u16string_view dll64,
                                              const std::vector<std::u16string>& installed) const {
    return Cat({Pick(u"HSP のフォルダーには 64 ビット版のコンパイラーしかありません:\r\n    ",
                     u"The HSP folder holds only HSP's 64-bit compiler:\r\n    "),
                dll64,
                Pick(u"\r\nこのランナーは 32 ビットのプログラムなので、64 ビット版は使えません。32 ビット版の hspcmp.dll が必要です。",
                     u"\r\nThis runner is a 32-bit program and cannot use it: it needs the 32-bit hspcmp.dll."),
                Pick(kFixJapanese, kFixEnglish), Installed(installed)});
}

std::u16string RunnerTexts::CompilerNotLoaded(std::u16string_view dll, std::uint32_t error,
                                              std::u16string_view reason) const {
    std::u16string why;
    if (error == os::kErrorBadExeFormat) {
        why = Pick(u"32 ビット Windows 用の DLL ではありません (64 ビット版か、DLL でないファイルです)。"
                   u"HSP に付属の 32 ビット版 hspcmp.dll を使ってください。",
                   u"It is not a 32-bit Windows DLL (it is a 64-bit build, or no DLL at all). Use the "
                   u"32-bit hspcmp.dll that comes with HSP.");
    } else {
        why = Cat({reason, u" (", Pick(u"エラー ", u"error "), Decimal(error), u")"});
    }
    return Cat({Pick(u"HSP のコンパイラーを読み込めません:\r\n    ", u"The HSP compiler cannot be loaded:\r\n    "),
                dll, u"\r\n", why, Pick(kFixJapanese, kFixEnglish)});
}

std::u16string RunnerTexts::CompilerExportsMissing(std::u16string_view dll,
                                                   std::u16string_view names) const {
    return Cat({Pick(u"HSP のコンパイラーではないか、古すぎます。次の関数がありません:\r\n    ",
                     u"This is not the HSP compiler, or too old a one. It lacks:\r\n    "),
                names, u"\r\n", dll, Pick(kFixJapanese, kFixEnglish)});
}

std::u16string RunnerTexts::RuntimeMissing(std::u16string_view runtime) const {
    return Cat({Pick(u"スクリプトを実行するランタイムがありません:\r\n    ",
                     u"The runtime that runs the script is missing:\r\n    "),
                runtime,
                Pick(u"\r\n\r\nHSP のフォルダーにそのランタイムを入れるか、スクリプトの #runtime を確かめてください。",
                     u"\r\n\r\nPut that runtime into the HSP folder, or check the script's #runtime line.")});
}

std::u16string RunnerTexts::RuntimeNameRefused(std::u16string_view name) const {
    return Cat({Pick(u"スクリプトが求めるランタイム \"", u"The script asks for the runtime \""), name,
                Pick(u"\" は HSP フォルダーの中のファイル名ではありません。#runtime にはファイル名だけを書いてください。",
                     u"\", which is not a file name inside the HSP folder. Give #runtime a plain file name.")});
}

std::u16string RunnerTexts::RuntimeNotStarted(std::u16string_view runtime, std::uint32_t error,
                                              std::u16string_view reason) const {
    return Cat({Pick(u"ランタイムを起動できません:\r\n    ", u"The runtime cannot be started:\r\n    "), runtime,
                u"\r\n", reason, u" (", Pick(u"エラー ", u"error "), Decimal(error), u")"});
}

std::u16string RunnerTexts::FolderBusy(std::u16string_view folder, std::uint32_t seconds) const {
    if (language == Language::Japanese)
        return Cat({u"このフォルダーでは別のランナーがまだ処理しています:\r\n    "sv, folder, u"\r\n\r\n", Decimal(seconds),
                    u" 秒待っても終わりませんでした。前の実行が終わってから、もう一度実行してください。"});
    return Cat({u"Another runner is still working in this folder:\r\n    "sv, folder, u"\r\n\r\nIt had not finished after ",
                Decimal(seconds), u" seconds. Run the command again once the earlier run has ended."});
}

std::u16string RunnerTexts::ScriptFolderMissing(std::u16string_view folder) const {
    return Cat({Pick(u"スクリプトのフォルダーがありません:\r\n    ", u"The script's folder does not exist:\r\n    "),
                folder});
}

std::u16string RunnerTexts::ScriptFolderRefused(std::u16string_view folder, std::uint32_t error,
                                                std::u16string_view reason) const {
    return Cat({Pick(u"スクリプトのフォルダーに移れません:\r\n    ", u"The runner cannot work in the script's folder:\r\n    "),
                folder, u"\r\n", reason, u" (", Pick(u"エラー ", u"error "), Decimal(error), u")"});
}

std::u16string RunnerTexts::ScriptMissing(std::u16string_view script) const {
    return Cat({Pick(u"スクリプトのファイルがありません:\r\n    ", u"The script file does not exist:\r\n    "), script});
}

std::u16string RunnerTexts::ScriptBeingWritten(std::u16string_view script, std::uint32_t seconds) const {
    if (language == Language::Japanese)
        return Cat({u"スクリプトのファイルを別のプログラムが書き込んでいるため、読めません:\r\n    "sv, script, u"\r\n\r\n",
                    Decimal(seconds), u" 秒待っても書き込みが終わりませんでした。もう一度実行してください。"});
    return Cat({u"Another program is writing the script file, so it cannot be read:\r\n    "sv, script,
                u"\r\n\r\nThe writing had not ended after ", Decimal(seconds), u" seconds. Run the command again."});
}

std::u16string RunnerTexts::ScriptUnreadable(std::u16string_view script, std::uint32_t error,
                                             std::u16string_view reason) const {
    return Cat({Pick(u"スクリプトのファイルを開けません:\r\n    ", u"The script file cannot be opened:\r\n    "), script,
                u"\r\n", reason, u" (", Pick(u"エラー ", u"error "), Decimal(error), u")"});
}

std::u16string RunnerTexts::PathNotInCodePage(std::u16string_view path, std::uint32_t codePage) const {
    return Cat({Pick(u"HSP のコンパイラーはこのパスを扱えません:\r\n    ", u"The HSP compiler cannot take this path:\r\n    "),
                path,
                Pick(u"\r\nコード ページ ", u"\r\nIt holds characters that code page "), Decimal(codePage),
                Pick(u" で書けない文字を含み、短い名前 (8.3 形式) もありません。コード ページ内の文字だけの名前のフォルダーに移してください。",
                     u" cannot write, and the volume keeps no short (8.3) name for it. Move it to a folder "
                     u"whose name uses only characters of that code page.")});
}

std::u16string RunnerTexts::PathTooLong(std::u16string_view path, std::size_t limit) const {
    const std::u16string bytes = Decimal(static_cast<std::int64_t>(limit));
    if (language == Language::Japanese)
        return Cat({u"HSP のコンパイラーにはこのパスが長すぎます ("sv, bytes, u" バイトまで):\r\n    ", path});
    return Cat({u"This path is too long for the HSP compiler ("sv, bytes, u" bytes at most):\r\n    ", path});
}

std::u16string RunnerTexts::ShiftJisLeadBytes(std::uint32_t codePage) const {
    if (language == Language::Japanese)
        return Cat({u"コード ページ "sv, Decimal(codePage),
                    u" ではコンパイラーがスクリプトを Shift_JIS として読むため、ASCII 以外の文字は読み違えられ、"
                    u"次の 1 文字 (閉じる引用符も) を巻き込むことがあります。Windows の「Unicode 対応ではないプログラムの"
                    u"言語」を日本語にするか、UTF-8 のオプションをオンにしてください。"});
    return Cat({u"Under code page "sv, Decimal(codePage),
                u" the compiler reads the script as Japanese Shift_JIS, so a character outside ASCII is misread and "
                u"can swallow the character after it, a closing quote too: set Windows' language for non-Unicode "
                u"programs to Japanese, or turn on its UTF-8 option."});
}

std::u16string RunnerTexts::IncludeNotUtf8(std::u16string_view name, std::u16string_view path) const {
    if (language == Language::Japanese)
        return Cat({name, u" は UTF-8 として正しくありません。おそらく Shift_JIS で保存されています。このスクリプトでは"
                          u"コンパイラーが #include したものも含めすべてのファイルを UTF-8 として読むため、Shift_JIS の文字が"
                          u"後ろの文字 (閉じる引用符も) を巻き込みます。",
                    name, u" を UTF-8 で保存し直してください:\r\n    ", path});
    return Cat({name, u" is not valid UTF-8: it is probably saved as Shift_JIS. For this script the compiler reads "
                      u"every file as UTF-8, the included ones too, so a Shift_JIS character can swallow the ones "
                      u"after it, a closing quote too. Save ",
                name, u" as UTF-8:\r\n    ", path});
}

std::u16string RunnerTexts::IncludeNameNotAscii(std::u16string_view name, std::uint32_t codePage) const {
    if (language == Language::Japanese)
        return Cat({u"UTF-8 で保存されたスクリプトでは、コード ページ "sv, Decimal(codePage),
                    u" の HSP のコンパイラーは ASCII 以外の文字を含む名前のファイルを開けません (名前を UTF-8 のまま"
                    u"ファイルの関数に渡すため)。ファイルの名前と、それを書いた #include の行を、ASCII の文字だけにして"
                    u"ください: ",
                    name});
    return Cat({u"In a script saved as UTF-8, the HSP compiler under code page "sv, Decimal(codePage),
                u" cannot open a file whose name holds more than ASCII (it hands the name on as UTF-8 bytes). "
                u"Give the file an ASCII-only name, and change the #include line to match: ",
                name});
}

std::u16string RunnerTexts::ErrorOnLine(std::int32_t line, std::u16string_view message,
                                        std::u16string_view file) const {
    if (language == Language::Japanese) {
        if (!file.empty()) return Cat({u"コンパイル エラー: "sv, file, u" の ", Decimal(line), u" 行目: ", message});
        return Cat({u"コンパイル エラー: "sv, Decimal(line), u" 行目: ", message});
    }
    if (!file.empty()) return Cat({u"Compile error in "sv, file, u" on line ", Decimal(line), u": ", message});
    return Cat({u"Compile error on line "sv, Decimal(line), u": ", message});
}

std::u16string RunnerTexts::ErrorWithoutLine(std::u16string_view message) const {
    return Cat({Pick(u"コンパイル エラー: ", u"Compile error: "), message});
}

std::u16string RunnerTexts::NoErrors() const {
    return Pick(u"コンパイルが終わりました。エラーはありません。", u"Compiled with no errors.");
}

std::u16string RunnerTexts::ReportHeading() const {
    return Pick(u"コンパイラーの出力:", u"The compiler's report:");
}

std::u16string RunnerTexts::ExecutableMade(std::u16string_view path) const {
    return Cat({Pick(u"実行ファイルを作りました:\r\n    ", u"The executable is made:\r\n    "), path});
}

std::u16string RunnerTexts::ExecutableMadeUnnamed(std::u16string_view folder) const {
    return Cat({Pick(u"実行ファイルを作りました。場所: ", u"The executable is made in "), folder});
}

std::u16string RunnerTexts::MakeRuntimeMissing(std::u16string_view runtime) const {
    return Cat({Pick(u"実行ファイルの元になるランタイムがありません:\r\n    ",
                     u"The runtime executables are made from is missing:\r\n    "),
                runtime,
                Pick(u"\r\n\r\nHSP をインストールし直すか、スクリプトの #packopt runtime の名前を確かめてください。",
                     u"\r\n\r\nReinstall HSP, or check the name in the script's #packopt runtime.")});
}

std::u16string RunnerTexts::MakeRuntimeUnusable(std::u16string_view hspFolder) const {
    return Cat({Pick(u"実行ファイルの元になるランタイムが HSP のものではないか、壊れています。HSP をインストールし直してください:\r\n    ",
                     u"The runtime executables are made from is not HSP's, or it is damaged. Reinstall HSP:\r\n    "),
                hspFolder});
}

std::u16string RunnerTexts::ExecutableNotWritten(std::u16string_view path) const {
    return Cat({Pick(u"実行ファイルを書き込めません:\r\n    ", u"The executable cannot be written:\r\n    "), path,
                Pick(u"\r\n\r\n前に作った実行ファイルが動いていれば終了してから、もう一度実行してください。フォルダーに書き込めるかも確かめてください。",
                     u"\r\n\r\nIf the one made before is still running, close it and try again. Check also that the folder can be written to.")});
}

std::u16string RunnerTexts::OptionsNotApplied(std::u16string_view options, std::u16string_view iconins) const {
    return Cat({Pick(u"\r\n\r\n#packopt の ", u"\r\n\r\nNot applied: #packopt "), options,
                Pick(u" は適用されていません。HSP のフォルダーに iconins.exe がありません:\r\n    ",
                     u". The HSP folder has no iconins.exe:\r\n    "),
                iconins});
}

std::u16string RunnerTexts::IconinsFailed(std::u16string_view iconins, std::u16string_view options,
                                          std::u16string_view why) const {
    return Cat({Pick(u"実行ファイルは作りましたが、#packopt の ", u"The executable is made, but #packopt "), options,
                Pick(u" を適用する iconins.exe が失敗しました (", u" could not be applied: iconins.exe failed ("), why,
                u"):\r\n    ", iconins});
}

std::u16string RunnerTexts::PackOptionTooLong(std::u16string_view option, std::size_t limit) const {
    const std::u16string bytes = Decimal(static_cast<std::int64_t>(limit));
    if (language == Language::Japanese)
        return Cat({u"#packopt "sv, option, u" が HSP のコンパイラーには長すぎます (ここでは ", bytes,
                    u" バイトまで)。短くしてください。"});
    return Cat({u"#packopt "sv, option, u" is too long for the HSP compiler (", bytes,
                u" bytes at most here). Shorten it."});
}

std::u16string RunnerTexts::PackfileUnreadable(std::u16string_view reason) const {
    return Cat({Pick(u"実行ファイルを作りませんでした。コンパイラーが書いた packfile を読めません: ",
                     u"No executable was made: the packfile the compiler wrote cannot be read: "),
                reason,
                Pick(u"\r\nスクリプトのフォルダーに書き込めるか、packfile をほかのプログラムが開いていないかを確かめてください。",
                     u"\r\nCheck that the script's folder can be written to and that no other program holds the packfile open.")});
}

std::u16string RunnerTexts::PackfileTooLarge() const {
    return Pick(u"実行ファイルを作りませんでした。コンパイラーが書いた packfile が 1 MiB を超えています。#pack と #epack で"
                u"まとめるファイルを減らしてください。",
                u"No executable was made: the packfile the compiler wrote is larger than 1 MiB. Pack fewer files with "
                u"#pack and #epack.");
}

std::u16string RunnerTexts::PackfileNotWritten(std::u16string_view reason) const {
    return Cat({Pick(u"実行ファイルを作りませんでした。packfile を書き直せません: ",
                     u"No executable was made: the packfile cannot be rewritten: "),
                reason,
                Pick(u"\r\nスクリプトのフォルダーに書き込めるか、packfile をほかのプログラムが開いていないかを確かめてください。",
                     u"\r\nCheck that the script's folder can be written to and that no other program holds the packfile open.")});
}

std::u16string RunnerTexts::PackNameNotInCodePage(std::u16string_view name, std::uint32_t codePage) const {
    const std::u16string number = Decimal(codePage);
    if (language == Language::Japanese)
        return Cat({u"実行ファイルを作りませんでした。UTF-8 で保存されたスクリプトの #pack、#epack、#packopt の名前を、"
                    u"HSP のコンパイラーはコード ページ "sv, number,
                    u" で扱いますが、次の名前にはこのコード ページにない文字があります:\r\n    ", name,
                    u"\r\nコード ページ ", number, u" にある文字 (ASCII なら確実) の名前にしてください。"});
    return Cat({u"No executable was made: the HSP compiler takes the names in #pack, #epack and #packopt of a script "
                u"saved as UTF-8 in code page "sv, number, u", which cannot write this one:\r\n    ", name,
                u"\r\nUse a name made of characters of code page ", number, u" (ASCII always works)."});
}

std::u16string RunnerTexts::OptionsNotAppliedTo64Bit(std::u16string_view options) const {
    return Cat({Pick(u"\r\n\r\n#packopt の ", u"\r\n\r\nNot applied: #packopt "), options,
                Pick(u" は適用されていません。64 ビット版ランタイム hsp3_64 の実行ファイルは、アイコンなどを書き換えられません。",
                     u". Executables of HSP's 64-bit runtime, hsp3_64, cannot have their icon and the like rewritten.")});
}

std::u16string RunnerTexts::ExitCodeWas(std::uint32_t code) const {
    return Cat({Pick(u"終了コード ", u"exit code "), Decimal(code)});
}

std::u16string RunnerTexts::DidNotEnd() const {
    return Pick(u"1 分待っても終わりませんでした。まだ実行ファイルを書き換えているかもしれません",
                u"it did not end within a minute, and may still be rewriting the executable");
}

std::u16string RunnerTexts::OutOfMemory() const {
    return Pick(u"メモリが足りません。", u"There is not enough memory.");
}

std::u16string RunnerTexts::Unexpected() const {
    return Pick(u"予期しないエラーで中断しました。", u"Stopped by an unexpected error.");
}

}  // namespace tollik::runner
