// tollik-check on the fake Windows: what it reports for installed editors,
// that it agrees with the plug-in's own reading, that it writes nothing, and
// the sample settings file shipped to users.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "FakePrograms.h"
#include "FakeText.h"
#include "FakeWindows.h"
#include "PeImage.h"
#include "hsp/HspCompiler.h"
#include "InstallCheck.h"
#include "LibraryState.h"
#include "SettingsLint.h"
#include "settings/IniStore.h"

namespace tollik::check {
namespace {

using fake::FakeWindows;
using testing::Utf8;

const std::u16string kSettings = u"C:\\Pellam\\Plugins\\Tollik\\Tollik.ini";

// What an editor in C:\Pellam has; all of it by default, with HSP 3.7.
struct Parts {
    bool executable = true;
    bool portableMarker = true;
    bool runner = true;
    bool compiler = true;
    bool runtime = true;
    bool common = true;
    bool utf8Runtime = true;
    bool utf8Hrt = true;
};

std::vector<std::string> CompilerExports() {
    std::vector<std::string> names;
    for (const char* name : runner::kCompilerExportNames) names.push_back(runner::DecoratedExportName(name));
    return names;
}

struct Editor {
    explicit Editor(Parts parts = {}) {
        windows.files.AddFolder(u"C:\\Pellam\\Plugins");
        if (parts.executable) windows.files.AddFile(u"C:\\Pellam\\Pellam.exe", "MZ");
        if (parts.portableMarker) windows.files.AddFile(u"C:\\Pellam\\PellamPortable.ini");
        if (parts.runner)
            windows.files.AddFile(u"C:\\Pellam\\Plugins\\Tollik.exe", fake::MakePeImage(kMachineI386, {}, u"TollikRunner"));
        windows.files.AddFolder(u"C:\\hsp37");
        if (parts.compiler)
            windows.files.AddFile(u"C:\\hsp37\\hspcmp.dll", fake::MakePeImage(kMachineI386, CompilerExports()));
        if (parts.runtime) windows.files.AddFile(u"C:\\hsp37\\hsp3.exe", fake::MakePeImage(kMachineI386, {}));
        if (parts.common) windows.files.AddFolder(u"C:\\hsp37\\common");
        if (parts.utf8Runtime) windows.files.AddFile(u"C:\\hsp37\\hsp3utf.exe", fake::MakePeImage(kMachineI386, {}));
        if (parts.utf8Hrt) windows.files.AddFile(u"C:\\hsp37\\runtime\\hsp3utf.hrt", "hrt");
    }

    Report Check(bool packaged = false) {
        const LibraryState library = InitializeLibrary(windows, nullptr);
        const auto before = windows.files.Snapshot();
        Report report = CheckInstallation(windows, library.diskSpace, u"C:\\Pellam", packaged);
        EXPECT_EQ(windows.files.Snapshot(), before) << "the checker wrote something";
        EXPECT_EQ(windows.files.OpenFiles(), 0);
        return report;
    }

    FakeWindows windows;
};

std::set<MessageId> Flagged(const Report& report) {
    std::set<MessageId> flagged;
    for (const ReportItem& item : report.items)
        if (item.severity != Severity::Info) flagged.insert(item.id);
    return flagged;
}

bool Says(const Report& report, MessageId id) {
    for (const ReportItem& item : report.items)
        if (item.id == id) return true;
    return false;
}

TEST(InstallCheck, AHealthyInstallationInWords) {
    Editor editor;
    editor.windows.files.AddFile(kSettings, "[Tollik]\r\nHSPDirName=C:\\hsp37\r\nMode=2\r\n");
    // From the local intranet: Windows does not warn.
    editor.windows.files.AddFile(u"C:\\Pellam\\Plugins\\Tollik.dll:Zone.Identifier", "[ZoneTransfer]\r\nZoneId=1\r\n");
    const Report report = editor.Check();
    EXPECT_EQ(FormatReport(report, Language::English),
              "Editor folder: C:\\Pellam\\\n"
              "Editor settings file: C:\\Pellam\\Pellam.ini (PellamPortable.ini marks a portable "
              "install)\n"
              "Plug-in settings file: C:\\Pellam\\Plugins\\Tollik\\Tollik.ini\n"
              "HSPDirName = C:\\hsp37\\ (settings file, line 2)\n"
              "Mode = 2 (settings file, line 3)\n"
              "DebugWindow = 1 (default)\n"
              "Holding Ctrl turns Mode 2 into 1.\n"
              "The HSP folder C:\\hsp37\\ exists.\n"
              "C:\\hsp37\\hspcmp.dll is the 32-bit HSP compiler.\n"
              "The runtime C:\\hsp37\\hsp3.exe exists.\n"
              "The include folder C:\\hsp37\\common\\ exists.\n"
              "The runner C:\\Pellam\\Plugins\\Tollik.exe exists.\n"
              "No problem found.\n");
    EXPECT_NE(FormatReport(report, Language::Japanese).find("問題は見つかりませんでした。"),
              std::string::npos);
}

TEST(InstallCheck, FlagsWhatStopsTheCommandAndWhatIsMisread) {
    const struct {
        const char* name;
        Parts parts;
        std::function<void(Editor&)> arrange;
        std::set<MessageId> flagged;
        MessageId says;
        bool packaged = false;
    } cases[] = {
        {"no editor there",
         {.executable = false},
         [](Editor&) {},
         {MessageId::HostMissing},
         MessageId::HostMissing},
        {"runner missing",
         {.runner = false},
         [](Editor&) {},
         {MessageId::RunnerMissing},
         MessageId::RunnerMissing},
        {"runner downloaded",
         {},
         [](Editor& e) {
             e.windows.files.AddFile(u"C:\\Pellam\\Plugins\\Tollik.exe:Zone.Identifier", "[ZoneTransfer]\r\nZoneId=3\r\n");
         },
         {MessageId::DownloadMark},
         MessageId::DownloadMark},
        {"HSP folder missing, a newer HSP where no probe looks",
         {},
         [](Editor& e) {
             e.windows.files.AddFile(kSettings, "[Tollik]\r\nHSPDirName=D:\\hsp\r\n");
             e.windows.files.AddFile(u"C:\\hsp38\\hspcmp.dll");
         },
         {MessageId::HspFolderMissing},
         MessageId::HspFolderElsewhere},
        {"HSPDirName empty: not the drive's root", {},
         [](Editor& e) { e.windows.files.AddFile(kSettings, "[Tollik]\r\nHSPDirName=\r\n"); e.windows.files.AddFile(u"C:\\hsp38\\hspcmp.dll"); },
         {MessageId::HspFolderNotSet}, MessageId::HspFolderElsewhere},
        {"HSPDirName a lone backslash: not called empty", {}, [](Editor& e) { e.windows.files.AddFile(kSettings, "[Tollik]\r\nHSPDirName=\\\r\n"); },
         {MessageId::HspFolderDriveRoot}, MessageId::HspFolderDriveRoot},
        {"only HSP 3.8's 64-bit compiler", {.compiler = false},
         [](Editor& e) { e.windows.files.AddFile(u"C:\\hsp37\\hspcmp_64.dll"); e.windows.files.AddFile(u"C:\\hsp38\\hspcmp.dll"); },
         {MessageId::Compiler64BitOnly}, MessageId::HspFolderElsewhere},
        {"settings file held for writing",
         {},
         [](Editor& e) {
             e.windows.files.AddFile(kSettings, "[Tollik]\r\n");
             e.windows.files.OpenElsewhere(kSettings, os::kGenericWrite, os::kFileShareRead);
         },
         {MessageId::SettingsFileLocked},
         MessageId::SettingsFileLocked},
        {"misread lines are warnings",
         {},
         [](Editor& e) { e.windows.files.AddFile(kSettings, "[Tollik]\r\nMode = 2\r\n"); },
         {MessageId::BlankAroundEquals},
         MessageId::ValueDefault},
        {"compiler missing", {.compiler = false}, [](Editor&) {},
         {MessageId::CompilerMissing}, MessageId::CompilerMissing},
        {"64-bit compiler",
         {},
         [](Editor& e) { e.windows.files.AddFile(u"C:\\hsp37\\hspcmp.dll", fake::MakePeImage(kMachineAmd64, CompilerExports())); },
         {MessageId::CompilerNot32Bit}, MessageId::CompilerNot32Bit},
        {"another DLL named like the compiler",
         {},
         [](Editor& e) { e.windows.files.AddFile(u"C:\\hsp37\\hspcmp.dll", fake::MakePeImage(kMachineI386, {"hsc_ini"})); },
         {MessageId::CompilerExportsMissing}, MessageId::CompilerExportsMissing},
        {"not a DLL at all", {}, [](Editor& e) { e.windows.files.AddFile(u"C:\\hsp37\\hspcmp.dll", "MZ"); },
         {MessageId::CompilerNotADll}, MessageId::CompilerNotADll},
        {"runtime missing", {.runtime = false}, [](Editor&) {},
         {MessageId::RuntimeMissing}, MessageId::RuntimeMissing},
        {"include folder missing", {.common = false}, [](Editor&) {},
         {MessageId::CommonMissing}, MessageId::CommonMissing},
        {"no UTF-8 runtime: information only", {.utf8Runtime = false}, [](Editor&) {}, {},
         MessageId::Utf8RuntimeMissing},
        {"no UTF-8 runtime for executables", {.utf8Hrt = false}, [](Editor&) {}, {}, MessageId::Utf8HrtMissing},
        {"another program named like the runner",
         {},
         [](Editor& e) { e.windows.files.AddFile(u"C:\\Pellam\\Plugins\\Tollik.exe", fake::MakePeImage(kMachineI386, {})); },
         {MessageId::RunnerNotOurs}, MessageId::RunnerNotOurs},
        {"64-bit runner",
         {},
         [](Editor& e) {
             e.windows.files.AddFile(u"C:\\Pellam\\Plugins\\Tollik.exe", fake::MakePeImage(kMachineAmd64, {}, u"TollikRunner"));
         },
         {MessageId::RunnerNot32Bit}, MessageId::RunnerNot32Bit},
        {"no HSPDirName: the probed folder and why", {}, [](Editor&) {}, {}, MessageId::ValueProbedFound},
        {"settings beside the executable",
         {.portableMarker = false},
         [](Editor& e) { e.windows.files.AddFile(u"C:\\Pellam\\Pellam.ini"); },
         {},
         MessageId::HostSettingsBeside},
        {"per-user folder not made yet",
         {.portableMarker = false},
         [](Editor&) {},
         {},
         MessageId::PerUserFolderMissing},
        {"per-user folder unknown",
         {.portableMarker = false},
         [](Editor& e) { e.windows.appDataFolder.clear(); },
         {MessageId::RelativeFolder},
         MessageId::RelativeFolder},
        {"packaged",
         {.portableMarker = false},
         [](Editor&) {},
         {},
         MessageId::HostSettingsPerUser,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Editor editor(c.parts);
        c.arrange(editor);
        const Report report = editor.Check(c.packaged);
        EXPECT_EQ(Flagged(report), c.flagged);
        EXPECT_TRUE(Says(report, c.says));
        if (c.says == MessageId::HspFolderElsewhere) {
            EXPECT_NE(FormatReport(report, Language::English).find("C:\\hsp38\\. To use it, put this line under [Tollik] in Tollik.ini: HSPDirName=C:\\hsp38\\"), std::string::npos);
        }
        if (c.packaged) {
            EXPECT_NE(FormatReport(report, Language::English).find("\\PellamUWP\\Pellam.ini"),
                      std::string::npos);
        }
    }
}

// The checker takes its values from the plug-in's reader, so they agree on
// the files that trip hand-editors up.
TEST(InstallCheck, ResolvesTheValuesThePlugInReads) {
    const std::string files[] = {
        "",
        "\xEF\xBB\xBF[tollik]\r\nmode=$10\r\nhspdirname=D:\\h\r\n",
        "[Tollik]\r\nMode=2\r\n[TOLLIK]\r\nDebugWindow=0\r\n",
        "[Tollik]\r\nMode = 2\r\nHSPDirName= C:\\x \r\n",
        "[Tollik]\r\nMode=\xFF\r\n",
        "[Tollık]\r\nMode=4\r\n",  // a dotless i: matched as the system upper-cases it
        "[Tollik]\r\nMode=x\r\nDebugWindow=0x0\r\n",
    };
    for (const std::string& bytes : files) {
        SCOPED_TRACE(bytes);
        FakeWindows windows;
        windows.files.AddFile(kSettings, bytes);
        const LibraryState library = InitializeLibrary(windows, nullptr);
        const RunSettings plugin =
            LoadRunSettings(windows, library.diskSpace, u"C:\\Pellam\\Pellam.ini");
        Report report;
        const RunSettings checker =
            CheckSettingsFile(windows, kSettings, kSettings, u"C:\\hsp34\\", report);
        EXPECT_EQ(Utf8(checker.HspDirectory), Utf8(plugin.HspDirectory));
        EXPECT_EQ(checker.RunMode, plugin.RunMode);
        EXPECT_EQ(checker.ShowDebugWindow, plugin.ShowDebugWindow);
    }
}

// The sample shipped in the zip: UTF-8 without a mark, comments in the first
// column, CR LF, and read by the plug-in as all defaults.
TEST(SampleSettings, GivesTheDocumentedDefaults) {
    std::ifstream in(TOLLIK_SOURCE_DIR "/package/Tollik.ini", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(FirstIllFormedUtf8(bytes), std::string_view::npos);
    for (const char* documented :
         {";HSPDirName=C:\\hsp37\\\r\n", ";Mode=1\r\n", ";DebugWindow=1\r\n", "[Tollik]\r\n"})
        EXPECT_NE(bytes.find(documented), std::string::npos) << documented;
    for (std::size_t at = 0; at < bytes.size(); at = bytes.find('\n', at) + 1) {
        EXPECT_TRUE(bytes.compare(at, 1, ";") == 0 || bytes.compare(at, 2, "\r\n") == 0 ||
                    bytes.compare(at, 10, "[Tollik]\r\n") == 0)
            << "line at byte " << at;
        if (bytes.find('\n', at) == std::string::npos) break;
    }

    FakeWindows windows;
    windows.files.AddFile(kSettings, bytes);
    EXPECT_TRUE(LintSettings(windows, bytes).findings.empty());
    const IniStore store(windows, kSettings, kUtf8Encoding);
    EXPECT_EQ(Utf8(store.ReadText(u"Tollik", u"HSPDirName", u"probed")), "probed");
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 1), 1);
    EXPECT_EQ(store.ReadNumber(u"Tollik", u"Mode", 7), 7);  // nothing there, not merely 1
    EXPECT_TRUE(store.ReadFlag(u"Tollik", u"DebugWindow", true));
    EXPECT_FALSE(store.ReadFlag(u"Tollik", u"DebugWindow", false));
}

}  // namespace
}  // namespace tollik::check
