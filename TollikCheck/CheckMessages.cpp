// The checker's words, Japanese and English. "%1".."%3" stand for the
// item's texts.

#include <array>
#include <string_view>

#include "CheckReport.h"
#include "util/Utf8Text.h"

namespace tollik::check {
namespace {

struct Words {
    MessageId id;
    std::string_view japanese;
    std::string_view english;
};

// One message a row, its texts unbroken.
// clang-format off
constexpr Words kWords[] = {
    {MessageId::EditorFolder, "エディタのフォルダー: %1", "Editor folder: %1"},
    {MessageId::HostMissing, "%1 が見つかりません。コマンドは何もせずに終わります。",
     "%1 is not there: the command ends without doing anything."},
    {MessageId::HostSettingsBeside, "エディタの設定ファイル: %1 (実行ファイルの横にあるため)",
     "Editor settings file: %1 (it is there, beside the executable)"},
    {MessageId::HostSettingsPortable,
     "エディタの設定ファイル: %1 (PellamPortable.ini があり、ポータブル版として使われているため)",
     "Editor settings file: %1 (PellamPortable.ini marks a portable install)"},
    {MessageId::HostSettingsPerUser,
     "エディタの設定ファイル: %1 (実行ファイルの横に Pellam.ini も PellamPortable.ini もないため、ユーザーごとのフォルダー)",
     "Editor settings file: %1 (neither Pellam.ini nor PellamPortable.ini is beside the executable: "
     "the per-user folder)"},
    {MessageId::PerUserFolderMissing, "フォルダー %1 はまだありません。最初の実行で作られます。",
     "The folder %1 does not exist yet; the first run makes it."},
    {MessageId::RelativeFolder,
     "ユーザーごとのフォルダーがわからないため、エディタのカレントディレクトリの Pellam フォルダーが使われます "
     "(%1)。そのフォルダーがないと、コマンドは「ディレクトリを作成できません」で止まります。",
     "The per-user folder is unknown, so a Pellam folder in the editor's current directory is used "
     "(%1); without that folder the command stops with 「ディレクトリを作成できません」."},
    {MessageId::SettingsFile, "プラグインの設定ファイル: %1", "Plug-in settings file: %1"},
    {MessageId::SettingsFileMissing, "このファイルはありません。すべて既定値が使われます。",
     "It does not exist: every value is its default."},
    {MessageId::SettingsFileLocked,
     "このファイルを開けません (%2)。コマンドは「ファイル %1 は開けません。」で止まります。",
     "It cannot be opened (%2): the command stops with 「ファイル %1 は開けません。」."},
    {MessageId::SettingsFileTooLarge, "2 GiB 以上あるため読まれません。すべて既定値が使われます。",
     "It is 2 GiB or larger and is not read: every value is its default."},
    {MessageId::NotUtf8,
     "%1 バイト目が UTF-8 として正しくありません。1 か所でも誤りがあるとファイル全体が無視され、すべて既定値が使われます。",
     "Byte offset %1 is not well-formed UTF-8: one bad byte makes the plug-in ignore the whole file "
     "and use every default."},
    {MessageId::NulCharacter, "%1 行目: NUL 文字があり、ファイルはそこで終わりとして読まれます。",
     "line %1: a NUL character; the file is read as ending there."},
    {MessageId::ByteOrderMarkInLine,
     "%1 行目: 行頭に BOM (U+FEFF) があります。読み飛ばされるのはファイル先頭の 1 つだけなので、この行は読まれません。",
     "line %1: starts with a byte-order mark (U+FEFF); only one at the very start of the file is "
     "skipped, so this line is not read."},
    {MessageId::BlankBeforeHeader, "%1 行目: 「[」の前に空白があるため、セクション見出しになりません。",
     "line %1: a blank before \"[\": not a section header."},
    {MessageId::TextAfterHeader, "%1 行目: 「]」の後ろに文字があるため、セクション見出しになりません。",
     "line %1: something after \"]\": not a section header."},
    {MessageId::BlankBeforeComment,
     "%1 行目: 「;」の前に空白があるため、コメントになりません (コメントは 1 文字目から)。",
     "line %1: a blank before \";\": not a comment (comments start in the first column)."},
    {MessageId::EntryBeforeHeader, "%1 行目: 最初のセクション見出しより前の項目は読まれません。",
     "line %1: an entry before the first section header is not read."},
    {MessageId::NotAnEntry, "%1 行目: 見出しでも「名前=値」でもコメントでもないため、読まれません。",
     "line %1: neither a header, a name=value entry nor a comment: not read."},
    {MessageId::UnknownSection, "%1 行目: セクション [%2] は読まれません (読まれるのは [Tollik] だけです)。",
     "line %1: the section [%2] is not read (only [Tollik] is)."},
    {MessageId::HiddenSection,
     "%1 行目: この [Tollik] は %2 行目の同じ名前のセクションに隠され、読まれません (最後のものだけが使われます)。",
     "line %1: this [Tollik] is hidden by the one at line %2 and is not read (only the last is used)."},
    {MessageId::BlankAroundEquals,
     "%1 行目: 「=」の前後に空白があります。空白も名前や値の一部になるため、%2 として正しく読まれません。",
     "line %1: a blank around \"=\"; blanks are part of the name and the value, so this is not read "
     "as %2 should be."},
    {MessageId::UnknownKey, "%1 行目: キー「%2」は使われません (使われるのは HSPDirName, Mode, DebugWindow)。",
     "line %1: the key \"%2\" is not used (the keys are HSPDirName, Mode and DebugWindow)."},
    {MessageId::RepeatedKey, "%1 行目: %2 は %3 行目にもあり、後のほうが使われます。",
     "line %1: %2 appears again at line %3; the later one is used."},
    {MessageId::NotANumber, "%1 行目: %2 の値「%3」は数値として読めないため、既定値が使われます。",
     "line %1: the value \"%3\" of %2 is not a number; the default is used."},
    {MessageId::TrailingBlank, "%1 行目: %2 の値の末尾の空白も値の一部として読まれます。",
     "line %1: the blank at the end of the value of %2 is read as part of it."},
    {MessageId::NoTollikSection, "[Tollik] セクションがないため、すべて既定値が使われます。",
     "There is no [Tollik] section: every value is its default."},
    {MessageId::ValueFromFile, "%1 = %2 (設定ファイルの %3 行目)", "%1 = %2 (settings file, line %3)"},
    {MessageId::ValueDefault, "%1 = %2 (既定値)", "%1 = %2 (default)"},
    {MessageId::ValueProbedFound, "%1 = %2 (既定値: %3 のうち、最初にあったフォルダー)",
     "%1 = %2 (default: the first of %3 that exists)"},
    {MessageId::ValueProbedNone, "%1 = %2 (既定値: %3 のどれもないため、最後のもの)",
     "%1 = %2 (default: none of %3 exists, so the last of them)"},
    {MessageId::CtrlToggle, "Ctrl を押しながら実行すると Mode %1 は %2 になります。",
     "Holding Ctrl turns Mode %1 into %2."},
    {MessageId::HspFolderFound, "HSP フォルダー %1 があります。", "The HSP folder %1 exists."},
    {MessageId::HspFolderMissing, "HSP フォルダー %1 がありません。ランナーはスクリプトをコンパイルできません。",
     "The HSP folder %1 does not exist: the runner cannot compile the script."},
    {MessageId::HspFolderNotSet,
     "HSPDirName が空です。プラグインは %1 (現在のドライブのルート) を渡し、ランナーは HSP のフォルダーが設定されていないとして止まります。",
     "HSPDirName is empty: the plug-in passes %1 (the root of the current drive), and the runner stops, saying no HSP folder is set."},
    {MessageId::HspFolderDriveRoot,
     "HSPDirName が %1 (現在のドライブのルート) です。ランナーはこれを空の値と区別できず、HSP のフォルダーが設定されていないとして止まります。",
     "HSPDirName is %1 (the root of the current drive): the runner cannot tell it from an empty value, and stops, saying no HSP folder is set."},
    {MessageId::HspFolderElsewhere, "別の HSP フォルダーが見つかりました: %1。使うには、Tollik.ini の [Tollik] に次の行を書いてください: %2",
     "Another HSP folder was found: %1. To use it, put this line under [Tollik] in Tollik.ini: %2"},
    {MessageId::CompilerFound, "%1 は 32 ビットの HSP コンパイラーです。", "%1 is the 32-bit HSP compiler."},
    {MessageId::CompilerMissing,
     "%1 がありません。ランナーはコンパイルできません。HSP をインストールし直すか、HSPDirName に hspcmp.dll のあるフォルダーを書いてください。",
     "%1 is missing: the runner cannot compile. Reinstall HSP, or set HSPDirName to the folder that holds hspcmp.dll."},
    {MessageId::Compiler64BitOnly,
     "%1 は HSP の 64 ビット版コンパイラーです。ランナーは 32 ビットのプログラムなので使えません。32 ビット版の %2 が必要です。HSP に付属の 32 ビット版を入れるか、HSPDirName に hspcmp.dll のあるフォルダーを書いてください。",
     "%1 is HSP's 64-bit compiler, which the runner, a 32-bit program, cannot use: it needs the 32-bit %2. Add the 32-bit one that comes with HSP, or set HSPDirName to a folder that holds hspcmp.dll."},
    {MessageId::CompilerNotADll, "%1 は Windows の DLL ではありません。HSP をインストールし直してください。",
     "%1 is not a Windows DLL. Reinstall HSP."},
    {MessageId::CompilerNot32Bit,
     "%1 は %2 ビットの DLL です。ランナーが読み込めるのは 32 ビットの hspcmp.dll だけです。HSPDirName に 32 ビット版の HSP のフォルダーを書いてください。",
     "%1 is a %2-bit DLL: the runner can load only a 32-bit hspcmp.dll. Set HSPDirName to the folder of a 32-bit HSP."},
    {MessageId::CompilerExportsMissing,
     "%1 には HSP コンパイラーの関数 %2 がありません。HSP 3 のコンパイラーではないか、壊れています。HSP をインストールし直してください。",
     "%1 lacks the HSP compiler's functions %2: it is not HSP 3's compiler, or it is damaged. Reinstall HSP."},
    {MessageId::RuntimeFound, "ランタイム %1 があります。", "The runtime %1 exists."},
    {MessageId::RuntimeMissing,
     "ランタイム %1 がありません。モード 1 でスクリプトを実行できません。HSP をインストールし直してください。",
     "The runtime %1 is missing: mode 1 cannot run scripts. Reinstall HSP."},
    {MessageId::Utf8RuntimeMissing,
     "UTF-8 版ランタイム %1 はありません。それを使うスクリプト (#include \"hsp3utf.as\") だけがモード 1 で実行できません。",
     "HSP's UTF-8 runtime %1 is not there: only a script that uses it (#include \"hsp3utf.as\") cannot run in mode 1."},
    {MessageId::Utf8HrtMissing,
     "実行ファイル用の UTF-8 版ランタイム %1 はありません。それを使うスクリプト (#include \"hsp3utf.as\") だけがモード 3 で実行ファイルにできません。",
     "The UTF-8 runtime for executables %1 is not there: only a script that uses it (#include \"hsp3utf.as\") cannot become an executable in mode 3."},
    {MessageId::CommonFound, "インクルードフォルダー %1 があります。", "The include folder %1 exists."},
    {MessageId::CommonMissing,
     "インクルードフォルダー %1 がありません。hspdef.as などの標準ファイルが見つからず、コンパイルは失敗します。HSP をインストールし直してください。",
     "The include folder %1 is missing: hspdef.as and the other standard files cannot be found, so compiling fails. Reinstall HSP."},
    {MessageId::RunnerFound, "ランナー %1 があります。", "The runner %1 exists."},
    {MessageId::RunnerMissing,
     "ランナー %1 がありません。プラグインは何も表示せずに起動を試み、何も起こりません。",
     "The runner %1 is missing: the plug-in tries to start it without a word, and nothing happens."},
    {MessageId::RunnerNotOurs,
     "%1 はこのプラグインのランナーではありません (同じ名前の別のプログラムです)。リリースの zip を Pellam のフォルダーに展開し直してください。",
     "%1 is not this plug-in's runner (another program of that name). Unzip the release into Pellam's folder again."},
    {MessageId::RunnerNot32Bit,
     "%1 は %2 ビットのプログラムです。このプラグインのランナーは 32 ビットです。リリースの zip を Pellam のフォルダーに展開し直してください。",
     "%1 is a %2-bit program, but this plug-in's runner is 32-bit. Unzip the release into Pellam's folder again."},
    {MessageId::DownloadMark,
     "%1 にはダウンロードの印 (Zone.Identifier、ゾーン %2) が付いています。Windows が起動の前に警告することがあり、警告を取り消すとコマンドは何もしません。ファイルのプロパティで「許可する」にチェックを付けるか、zip を展開する前に zip のプロパティで許可してください。",
     "%1 carries the mark of a download (Zone.Identifier, zone %2): Windows may warn before starting it, and a cancelled warning leaves the command doing nothing. Tick Unblock in the file's Properties, or unblock the zip in its Properties before extracting it."},
};
// clang-format on

std::string Fill(std::string_view pattern, const std::vector<std::u16string>& args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) out += ToUtf8(args[n]);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string_view Pick(const Words& words, Language language) {
    return language == Language::Japanese ? words.japanese : words.english;
}

}  // namespace

std::string FormatReport(const Report& report, Language language) {
    const bool ja = language == Language::Japanese;
    std::string out;
    for (const ReportItem& item : report.items) {
        for (const Words& words : kWords) {
            if (words.id != item.id) continue;
            if (item.severity == Severity::Problem) out += ja ? "[問題] " : "[problem] ";
            if (item.severity == Severity::Warning) out += ja ? "[注意] " : "[warning] ";
            out += Fill(Pick(words, language), item.args);
            out += '\n';
            break;
        }
    }
    const int problems = report.Count(Severity::Problem),
              warnings = report.Count(Severity::Warning);
    if (problems > 0) {
        out += std::to_string(problems);
        out += ja ? " 件の問題があります。このままではコマンドは正しく動きません。\n"
                  : " problem(s): the command will not work as it should.\n";
    } else if (warnings > 0) {
        out += std::to_string(warnings);
        out += ja ? " 件の注意があります。コマンドは動きますが、"
                    "設定が意図どおりに読まれていない可能性があります。\n"
                  : " warning(s): the command works, but the settings may not be read as meant.\n";
    } else {
        out += ja ? "問題は見つかりませんでした。\n" : "No problem found.\n";
    }
    return out;
}

}  // namespace tollik::check
