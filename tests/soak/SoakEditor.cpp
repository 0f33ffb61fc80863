// The soak: one editor process, installed as "Pellam.exe" with the real
// plug-in and the real runner in Plugins\, invokes the command many times
// over, as a day of use would, and measures whether anything piles up.
//
//   Pellam.exe --count N [--warm-up W] [--check]
//
// The HSP toolchain is the folder TOLLIK_HSP_FOLDER names (with a final
// backslash); without one the soak exits 77 (skipped), saying why.
//
// Each invocation takes a document of its own kind (ASCII, Japanese, empty,
// 200 lines; one in 25 1 MiB), saved in work\ beside the editor's folder or
// untitled (alternately), with Ctrl held every other pair. The settings file
// is rewritten each time so that the runner always runs in mode 2 (compile
// only): Mode 2 without Ctrl, Mode 1 with it. Each runner is waited for and its report
// window closed with Enter. Checked every time: the script file holds the
// document's bytes exactly (in the ANSI code page, then CR LF), the runner
// ended with 0, the editor saw no
// message box. Measured before, after the warm-up and at every tenth: the
// editor's handles, USER and GDI objects, private bytes, and the entries of
// the temporary folder; at the end, runner and HSP processes still alive.
// --check: exit 1 when anything failed or any count grew past the limits
// after the warm-up.

#include <windows.h>
// After windows.h, which they build on.
#include <psapi.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "EditorReport.h"
#include "ImportPatch.h"
#include "MachineWaits.h"
#include "ProgramWait.h"
#include "StandInHost.h"
#include "TestFiles.h"
#include "command/RunnerCommandLine.h"

namespace tollik::host {
namespace {

// The runner and the program it starts: each start is slow where 32-bit code is emulated.
const DWORD kRunnerWaitMilliseconds = tollik::test::WaitForStartsHere(2) + 30000;
constexpr int kSkipped = 77;
// Growth after the warm-up that still counts as flat (noise).
constexpr long long kHandleLimit = 6;
constexpr long long kGuiObjectLimit = 6;
constexpr long long kPrivateBytesLimit = 4ll << 20;
constexpr long long kTempEntriesLimit = 0;

struct Sample {
    int invocation = 0;
    long long handles = 0;
    long long userObjects = 0;
    long long gdiObjects = 0;
    long long privateBytes = 0;
    long long tempEntries = 0;
};

// What one invocation did, filled by the replaced imports.
struct Invocation {
    int boxes = 0;
    int launches = 0;
    std::wstring parameters;
    WaitedProgram runner;
};
Invocation g_current;

int WINAPI CountMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) {
    ++g_current.boxes;
    return IDOK;
}

HINSTANCE WINAPI StartAndWait(HWND owner, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                              LPCWSTR directory, INT show) {
    ++g_current.launches;
    g_current.parameters = parameters ? parameters : L"";
    const ShellStart start =
        ShellExecuteAndWait(owner, operation, file, parameters, directory, show, kRunnerWaitMilliseconds, true);
    g_current.runner = start.waited;
    return start.result;
}

long long CountEntries(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    long long count = 0;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") ++count;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return count;
}

std::wstring TempFolder() {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
    return std::wstring(buffer, length);
}

// Open kernel handles, found by asking after every handle value: Wine's
// GetProcessHandleCount answers 0.
long long CountHandles() {
    DWORD counted = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &counted) && counted != 0) return counted;
    long long count = 0;
    DWORD flags = 0;
    for (std::uintptr_t value = 4; value < 0x10000; value += 4)
        if (::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    return count;
}

// Committed private memory, region by region: Wine's process counters
// leave PrivateUsage at 0.
long long CountPrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                               sizeof memory) &&
        memory.PrivateUsage != 0)
        return static_cast<long long>(memory.PrivateUsage);
    long long total = 0;
    MEMORY_BASIC_INFORMATION region{};
    for (const char* at = nullptr; ::VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            total += static_cast<long long>(region.RegionSize);
    }
    return total;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM counted) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == ::GetCurrentProcessId()) ++*reinterpret_cast<long long*>(counted);
    return TRUE;
}

// USER objects: GetGuiResources where the system counts them, else this
// process's windows (Wine answers 0 for both kinds; GDI objects it cannot
// tell at all).
long long CountUserObjects() {
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
    if (reported != 0) return reported;
    long long windows = 0;
    ::EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND message = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); message != nullptr;
         message = ::FindWindowExW(HWND_MESSAGE, message, nullptr, nullptr))
        CountWindow(message, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

Sample Measure(int invocation) {
    Sample sample;
    sample.invocation = invocation;
    sample.handles = CountHandles();
    sample.userObjects = CountUserObjects();
    sample.gdiObjects = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    sample.privateBytes = CountPrivateBytes();
    sample.tempEntries = CountEntries(TempFolder());
    return sample;
}

// Processes of these names still alive: runners or HSP runtimes left behind.
int CountLeftBehind() {
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
        const std::wstring name = entry.szExeFile;
        if (name == L"Tollik.exe" || name == L"hsp3.exe" || name == L"hsp3cl.exe") ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}

// The documents, by kind: what users type, and the extremes.
std::wstring Document(int invocation) {
    // Mid-way between the samples (every tenth), so that none is taken while
    // the editor still holds one.
    if (invocation % 25 == 12) {  // 1 MiB of UTF-16 text: comments, then one line that runs
        const std::wstring line = L"; " + std::wstring(60, L'x') + L"\r\n";
        std::wstring text;
        text.reserve((1u << 20) + line.size());
        while (text.size() + line.size() < (1u << 20)) text += line;
        return text + L"mes \"big\"\r\n";
    }
    switch (invocation % 4) {
        case 0:
            return L"mes \"hello\"\r\nmes 1+2\r\n";
        case 1:
            return L"; 日本語のコメント\r\nmes \"こんにちは、世界\"\r\nmes \"ｶﾀｶﾅ・漢字・①\"\r\n";
        case 2:
            return L"";
        default: {
            std::wstring text;
            for (int line = 0; line < 200; ++line) text += L"a = " + std::to_wstring(line) + L"\r\nmes a\r\n";
            return text;
        }
    }
}

std::string Ansi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

void Print(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

std::string Row(const Sample& s) {
    char line[160];
    std::snprintf(line, sizeof line, "%10d %8lld %6lld %6lld %12lld %6lld\n", s.invocation, s.handles,
                  s.userObjects, s.gdiObjects, s.privateBytes / 1024, s.tempEntries);
    return line;
}

struct Options {
    int count = 100;
    int warmUp = -1;  // default: a tenth, at least 30 (past the first 1 MiB document)
    bool check = false;
};

Options ReadOptions(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--count" && i + 1 < argc) options.count = std::stoi(argv[++i]);
        else if (arg == L"--warm-up" && i + 1 < argc) options.warmUp = std::stoi(argv[++i]);
        else if (arg == L"--check") options.check = true;
        else throw std::invalid_argument("unknown or incomplete option: " + ToUtf8(arg));
    }
    if (options.count < 1) throw std::invalid_argument("--count must be at least 1");
    if (options.warmUp < 0) options.warmUp = std::max(30, options.count / 10);
    options.warmUp = std::min(options.warmUp, options.count);
    return options;
}

int Run(const Options& options) {
    const std::wstring editorFolder = ProgramFolder();
    const std::wstring workFolder = editorFolder + L"..\\work\\";
    const std::wstring settingsFile = editorFolder + L"Plugins\\Tollik\\Tollik.ini";
    wchar_t hsp[MAX_PATH] = {};
    const DWORD hspLength = ::GetEnvironmentVariableW(L"TOLLIK_HSP_FOLDER", hsp, MAX_PATH);
    if (hspLength == 0 || hspLength >= MAX_PATH ||
        ::GetFileAttributesW((std::wstring(hsp) + L"hspcmp.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
        Print("soak skipped: TOLLIK_HSP_FOLDER does not name a folder with hspcmp.dll "
              "(scripts/build-hsp.sh builds it from ../shared/third_party/openhsp)\n");
        return kSkipped;
    }
    const std::string settingsText = "[Tollik]\r\nHSPDirName=" + ToUtf8(hsp) + "\r\nDebugWindow=0\r\n";
    MakeFolders(workFolder);
    MakeFolders(editorFolder + L"Plugins\\Tollik");

    const Plugin plugin(editorFolder + L"Plugins\\Tollik.dll");
    const ImportPatch boxes(plugin.module(), "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&CountMessageBox));
    const ImportPatch starts(plugin.module(), "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&StartAndWait));
    HostWindow host;

    std::vector<Sample> samples{Measure(0)};
    std::map<std::wstring, int> exits;
    int exact = 0, answered = 0, boxesSeen = 0, failures = 0;
    const DWORD started = ::GetTickCount();
    Print("invocation  handles   USER    GDI  private KiB   temp\n" + Row(samples.back()));
    for (int i = 0; i < options.count; ++i) {
        const bool control = (i / 2) % 2 == 1;
        const bool saved = i % 2 == 0;
        // Mode 2 either way: Ctrl turns Mode 1 into 2.
        Write(settingsFile, settingsText + "Mode=" + (control ? "1" : "2") + "\r\n");
        const std::wstring document = Document(i);
        host.editor.text.assign(document.begin(), document.end());
        const std::wstring path = saved ? workFolder + L"soak.hsp" : L"";
        host.editor.path.assign(path.begin(), path.end());
        host.editor.anchor = host.editor.caret = 0;
        HoldControl(control);

        g_current = Invocation{};
        plugin.exports().OnCommand(host.handle());

        boxesSeen += g_current.boxes;
        const std::wstring exit =
            g_current.launches != 1 ? L"not started" : g_current.runner.ended ? std::to_wstring(g_current.runner.exitCode)
                                                                               : L"still running";
        ++exits[exit];
        answered += static_cast<int>(g_current.runner.windows.size());
        const runner::ParsedCommandLine parsed = runner::ParseRunnerCommandLine(
            u"runner " + std::u16string(g_current.parameters.begin(), g_current.parameters.end()));
        std::string written;
        const bool same = parsed.ok && ReadBytes(std::wstring(parsed.fields.scriptPath.begin(),
                                                              parsed.fields.scriptPath.end()), written) &&
                          written == (document.empty() ? "" : Ansi(document) + "\r\n");
        exact += same ? 1 : 0;
        if (!same || exit != L"0" || g_current.boxes != 0) {
            ++failures;
            if (failures <= 5)
                Print("invocation " + std::to_string(i + 1) + ": runner " + ToUtf8(exit) +
                      (same ? "" : ", script not byte-exact") +
                      (g_current.boxes ? ", a message box" : "") + "\n");
        }
        const int done = i + 1;
        if (done == options.warmUp || done % std::max(1, options.count / 10) == 0 || done == options.count) {
            samples.push_back(Measure(done));
            Print(Row(samples.back()));
        }
    }
    HoldControl(false);
    const double seconds = (::GetTickCount() - started) / 1000.0;
    ::Sleep(500);  // a runner that outlived its wait would show up now
    const int leftBehind = CountLeftBehind();

    const Sample* warm = nullptr;
    for (const Sample& s : samples)
        if (s.invocation == options.warmUp) warm = &s;
    Sample growth;  // the largest rise over the warm-up sample
    for (const Sample& s : samples) {
        if (s.invocation < options.warmUp) continue;
        growth.handles = std::max(growth.handles, s.handles - warm->handles);
        growth.userObjects = std::max(growth.userObjects, s.userObjects - warm->userObjects);
        growth.gdiObjects = std::max(growth.gdiObjects, s.gdiObjects - warm->gdiObjects);
        growth.privateBytes = std::max(growth.privateBytes, s.privateBytes - warm->privateBytes);
        growth.tempEntries = std::max(growth.tempEntries, s.tempEntries - warm->tempEntries);
    }
    std::string exitList;
    for (const auto& [code, n] : exits) {
        exitList += ' ';
        exitList += ToUtf8(code);
        exitList += " x";
        exitList += std::to_string(n);
    }
    char summary[640];
    std::snprintf(summary, sizeof summary,
                  "%d invocations in %.1f s (%.0f ms each); warm-up %d\n"
                  "runner exits:%s; report windows answered: %d; message boxes: %d\n"
                  "scripts byte-exact: %d/%d; runner or HSP processes left: %d\n"
                  "growth after warm-up: handles %+lld, USER %+lld, GDI %+lld, private %+lld KiB, "
                  "temp entries %+lld\n",
                  options.count, seconds, 1000.0 * seconds / options.count, options.warmUp, exitList.c_str(),
                  answered, boxesSeen, exact, options.count, leftBehind, growth.handles, growth.userObjects,
                  growth.gdiObjects, growth.privateBytes / 1024, growth.tempEntries);
    Print(summary);
    const bool flat = growth.handles <= kHandleLimit && growth.userObjects <= kGuiObjectLimit &&
                      growth.gdiObjects <= kGuiObjectLimit && growth.privateBytes <= kPrivateBytesLimit &&
                      growth.tempEntries <= kTempEntriesLimit;
    const bool sound = failures == 0 && leftBehind == 0 && answered == options.count;
    Print(std::string("verdict: ") + (flat ? "flat" : "GROWING") + ", " + (sound ? "every run sound" : "FAILURES") +
          "\n");
    return options.check && !(flat && sound) ? 1 : 0;
}

}  // namespace
}  // namespace tollik::host

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    std::vector<std::wstring> args(argv, argv + argc);
    ::LocalFree(argv);
    std::vector<wchar_t*> view;
    for (std::wstring& arg : args) view.push_back(arg.data());
    try {
        return tollik::host::Run(tollik::host::ReadOptions(argc, view.data()));
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "soak: %s\nusage: Pellam.exe --count N [--warm-up W] [--check]\n", failure.what());
        return 2;
    }
}
