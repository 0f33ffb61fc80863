// A stand-in for the editor, installed as "Pellam.exe" with the plug-in in
// "Plugins\Tollik.dll" beside it, the way users install it. It opens a text
// as its active document, invokes the command once, and tells what happened:
// what the plug-in asked of it, the message boxes it showed, the programs it
// started (each is started and waited for, so its result is known), what
// the runner reported and the script file it read.
//
//   Pellam.exe --text FILE [--path DOCUMENT-PATH] [--ctrl] [--report FILE] [--quiet] [--answer-runner]
//
// FILE is read as UTF-8. DOCUMENT-PATH is the path the editor reports for the
// document (default: untitled). --ctrl holds the Control key. --answer-runner
// reads each window the runner shows, prints it and closes it with Enter. --report writes
// a machine-readable account for the end-to-end tests. Exits 0 when the
// plug-in behaved as a host expects (painting resumed, selection restored),
// 1 when it did not, 2 on a usage error.

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "EditorReport.h"
#include "ImportPatch.h"
#include "MachineWaits.h"
#include "ProgramWait.h"
#include "command/RunnerCommandLine.h"
#include "StandInHost.h"

namespace tollik::host {
namespace {

// Import replacements are plain functions, so what they see goes here.
std::vector<ShownBox> g_boxes;
std::vector<Launch> g_launches;
// The runner and the program it starts: each start is slow where 32-bit code is emulated.
const DWORD kRunnerWaitMilliseconds = tollik::test::WaitForStartsHere(2) + 30000;
// --answer-runner: the runner's windows, read and closed as a user would.
bool g_answerRunner = false;
std::vector<std::wstring> g_runnerWindows;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_boxes.push_back({owner, text, caption, type});
    return IDOK;
}

// Starts the program as the plug-in asked, but through ShellExecuteExW so
// that the process can be waited for and its exit code read.
HINSTANCE WINAPI StartAndWait(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, INT show) {
    const auto text = [](LPCWSTR value) { return value ? std::wstring(value) : std::wstring(); };
    Launch& launch = g_launches.emplace_back();
    launch.ownerGiven = owner != nullptr;
    launch.operation = text(operation);
    launch.file = text(file);
    launch.parameters = text(parameters);
    launch.directory = text(directory);
    launch.directoryGiven = directory != nullptr;
    launch.show = show;

    // With --answer-runner, each window it shows is read and closed with Enter.
    const ShellStart start = ShellExecuteAndWait(owner, operation, file, parameters, directory, show,
                                                 kRunnerWaitMilliseconds, g_answerRunner);
    if (!start.started) {
        launch.exitCode = L"not started (error " + std::to_wstring(start.error) + L")";
        return start.result;
    }
    launch.exitCode = start.waited.ended ? std::to_wstring(start.waited.exitCode) : L"still running";
    g_runnerWindows.insert(g_runnerWindows.end(), start.waited.windows.begin(), start.waited.windows.end());
    return start.result;
}

void Print(const std::wstring& text) {
    const std::string bytes = ToUtf8(text);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
                &written, nullptr);
}

struct Options {
    std::wstring textFile;
    std::wstring documentPath;
    std::wstring reportFile;
    bool control = false;
    bool quiet = false;
};

Options ReadOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--text" && hasValue) options.textFile = argv[++i];
        else if (arg == L"--path" && hasValue) options.documentPath = argv[++i];
        else if (arg == L"--report" && hasValue) options.reportFile = argv[++i];
        else if (arg == L"--ctrl") options.control = true;
        else if (arg == L"--quiet") options.quiet = true;
        else if (arg == L"--answer-runner") g_answerRunner = true;
        else throw std::invalid_argument("unknown or incomplete option: " + ToUtf8(arg));
    }
    if (options.textFile.empty()) throw std::invalid_argument("--text FILE is required");
    return options;
}

std::wstring Describe(const Plugin& plugin) {
    const PluginExports& e = plugin.exports();
    BOOL checked = TRUE;
    const BOOL enabled = e.QueryStatus(nullptr, &checked);
    std::wostringstream out;
    out << L"  menu text: " << plugin.LoadText(e.GetMenuTextID()) << L"\n"
        << L"  name: " << plugin.Query(0x0902) << L", version: " << plugin.Query(0x0903)
        << L", enabled: " << (enabled ? L"yes" : L"no") << L"\n";
    return out.str();
}

// The script the runner was given, as bytes in the system's code page.
std::wstring DescribeScript(const Launch& launch) {
    const runner::ParsedCommandLine parsed =
        runner::ParseRunnerCommandLine(u"runner " + std::u16string(launch.parameters.begin(),
                                                                   launch.parameters.end()));
    if (!parsed.ok) return L"  (the parameters do not name a script)\n";
    const std::wstring path(parsed.fields.scriptPath.begin(), parsed.fields.scriptPath.end());
    std::string bytes;
    if (!ReadBytes(path, bytes)) return L"  script file " + path + L": cannot be read\n";
    std::wostringstream out;
    out << L"  script file written: " << path << L" (" << bytes.size() << L" bytes, code page "
        << ::GetACP() << L")\n----- script file -----\n"
        << FromCodePage(CP_ACP, bytes) << L"\n-----------------------\n";
    return out.str();
}

int Run(const Options& options) {
    const std::wstring dllPath = ProgramFolder() + L"Plugins\\Tollik.dll";
    const Plugin plugin(dllPath);
    const ImportPatch boxes(plugin.module(), "user32.dll", "MessageBoxW",
                            reinterpret_cast<void*>(&RecordMessageBox));
    const ImportPatch starts(plugin.module(), "shell32.dll", "ShellExecuteW",
                             reinterpret_cast<void*>(&StartAndWait));

    std::string bytes;
    if (!ReadBytes(options.textFile, bytes)) throw std::runtime_error("cannot read the text file");
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    const std::wstring document = FromUtf8(bytes);

    HostWindow host;
    host.editor.text.assign(document.begin(), document.end());
    host.editor.path.assign(options.documentPath.begin(), options.documentPath.end());
    if (options.control) HoldControl(true);
    host.editor.anchor = host.editor.caret = 0;
    host.editor.scroll = 3;

    plugin.exports().OnCommand(host.handle());

    EditorReport report;
    report.hostMessages = host.editor.log.size();
    report.paintingResumed = !host.editor.paintingHeld;
    report.selectionRestored = host.editor.anchor == 0 && host.editor.caret == 0 &&
                               host.editor.scroll == 3 && host.editor.foreignRecords == 0;
    report.capturedUnits = host.editor.lastServedText.size();
    report.boxes = g_boxes;
    report.launches = g_launches;
    for (ShownBox& box : report.boxes) box.ownedByHost = box.owner == host.handle();
    if (!options.reportFile.empty()) WriteReport(options.reportFile, report);

    if (!options.quiet) {
        std::wostringstream out;
        out << L"Loaded " << dllPath << L"\n" << Describe(plugin)
            << L"\nInvoked the command on " << options.textFile << L" (" << document.size()
            << L" UTF-16 units, "
            << (options.documentPath.empty() ? L"untitled" : L"saved as " + options.documentPath)
            << (options.control ? L", Ctrl held" : L"") << L")\n"
            << FormatReport(report);
        for (const Launch& launch : report.launches) {
            out << DescribeScript(launch);
            std::string runnerReport;
            const std::wstring folder = launch.file.substr(0, launch.file.find_last_of(L'\\') + 1);
            if (ReadBytes(folder + L"TollikRunnerReport.txt", runnerReport))
                out << L"  the runner received:\n" << FromUtf8(runnerReport);
        }
        for (const std::wstring& window : g_runnerWindows)
            out << L"----- the runner's window (closed with Enter) -----\n" << window
                << L"\n---------------------------------------------------\n";
        Print(out.str());
    }
    return report.paintingResumed && report.selectionRestored ? 0 : 1;
}

}  // namespace
}  // namespace tollik::host

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<wchar_t*> pointers(argv, argv + argc);
    std::vector<std::wstring> args(pointers.begin(), pointers.end());
    ::LocalFree(argv);
    std::vector<wchar_t*> view;
    for (std::wstring& arg : args) view.push_back(arg.data());
    try {
        return tollik::host::Run(tollik::host::ReadOptions(argc, view.data()));
    } catch (const std::invalid_argument& usage) {
        std::fprintf(stderr, "Pellam (stand-in): %s\nusage: Pellam.exe --text FILE [--path DOCUMENT-PATH] "
                             "[--ctrl] [--report FILE] [--quiet] [--answer-runner]\n", usage.what());
        return 2;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "Pellam (stand-in): %s\n", failure.what());
        return 1;
    }
}
