// The whole command on the real DLL under Wine, timed against a baseline
// that makes only the calls the command cannot do without for the same text:
// the capture's messages, the sizing and the converting WideCharToMultiByte,
// the file's creation, one WriteFile per 128 bytes, and the close.
//
// Installed as Pellam.exe beside Plugins\Tollik.dll and a portable marker,
// so the plug-in finds its settings as it would in an editor. The runner's
// start is left out: the plug-in's ShellExecuteW is redirected to a stub.
// Also measured: the most heap the plug-in holds at once during a command,
// through its imports of malloc, calloc, realloc and free.
//
//   Pellam.exe [--sizes 1K,1M,16M,64M] [--repeat N] [--text ascii|japanese]

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Common/FileSystem.h"
#include "Common/HostSettingsFile.h"
#include "HSPCmp/RunnerLaunch.h"
#include "ImportPatch.h"
#include "LibraryState.h"
#include "PluginApi/HostMessages.h"
#include "StandInHost.h"
#include "os/Win32SystemApi.h"
#include "settings/RunSettings.h"

namespace tollik::bench {
namespace {

using host::HostWindow;
using host::ImportPatch;
using host::Plugin;

// ---- the plug-in's heap, seen through its imports -------------------------

struct HeapUse {
    long long live = 0;
    long long peak = 0;
};
HeapUse g_heap;  // one thread; read between commands only

void Count(long long change) {
    g_heap.live += change;
    g_heap.peak = std::max(g_heap.peak, g_heap.live);
}

void* __cdecl CountedMalloc(size_t bytes) {
    void* p = std::malloc(bytes);
    if (p != nullptr) Count(static_cast<long long>(_msize(p)));
    return p;
}
void* __cdecl CountedCalloc(size_t count, size_t bytes) {
    void* p = std::calloc(count, bytes);
    if (p != nullptr) Count(static_cast<long long>(_msize(p)));
    return p;
}
void* __cdecl CountedRealloc(void* old, size_t bytes) {
    const long long before = old != nullptr ? static_cast<long long>(_msize(old)) : 0;
    void* p = std::realloc(old, bytes);
    if (p != nullptr) Count(static_cast<long long>(_msize(p)) - before);
    return p;
}
void __cdecl CountedFree(void* p) {
    if (p != nullptr) Count(-static_cast<long long>(_msize(p)));
    std::free(p);
}

HINSTANCE WINAPI NoLaunch(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT) {
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

int g_messageBoxes = 0;
int WINAPI CountedMessageBox(HWND, LPCWSTR, LPCWSTR, UINT) {
    ++g_messageBoxes;
    return IDOK;
}

// ---- the baseline -----------------------------------------------------------

void Send(HWND window, UINT message, WPARAM wParam, void* record) {
    ::SendMessageW(window, message, wParam, reinterpret_cast<LPARAM>(record));
}

// What any command must do for this text: capture it, convert it, write it.
void Baseline(HWND window, const std::wstring& scriptPath) {
    HostPosition anchor{}, caret{}, scroll{};
    Send(window, MSG_ENABLE_REDRAW, 0, nullptr);
    Send(window, MSG_QUERY_ANCHOR, kPositionKindLogical, &anchor);
    Send(window, MSG_QUERY_CARET, kPositionKindLogical, &caret);
    Send(window, MSG_QUERY_SCROLL, 0, &scroll);
    Send(window, MSG_RUN_HOST_COMMAND, CMD_SELECT_ALL, nullptr);
    const auto count = static_cast<int>(::SendMessageW(window, MSG_QUERY_SELECTION_TEXT, 0, 0));
    const int length = std::max(count - 1, 0);
    const auto text = std::make_unique_for_overwrite<wchar_t[]>(static_cast<size_t>(length) + 1);
    Send(window, MSG_QUERY_SELECTION_TEXT, static_cast<WPARAM>(length), text.get());
    Send(window, MSG_PLACE_CARET, kPositionKindLogical, &anchor);
    Send(window, MSG_PLACE_CARET, kPlaceCaretExtend | kPositionKindLogical, &caret);
    Send(window, MSG_PLACE_SCROLL, 0, &scroll);
    Send(window, MSG_ENABLE_REDRAW, 1, nullptr);
    wchar_t path[kDocumentPathCapacity] = {};
    Send(window, MSG_QUERY_DOCUMENT_PATH, kDocumentPathFlags, path);

    HANDLE file = ::CreateFileW(scriptPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("baseline: cannot create the script");
    const int needed =
        ::WideCharToMultiByte(CP_ACP, 0, text.get(), length, nullptr, 0, nullptr, nullptr);
    const auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(needed) + 2);
    ::WideCharToMultiByte(CP_ACP, 0, text.get(), length, bytes.get(), needed, nullptr, nullptr);
    bytes[static_cast<size_t>(needed)] = '\r';
    bytes[static_cast<size_t>(needed) + 1] = '\n';
    const size_t total = static_cast<size_t>(needed) + 2;
    for (size_t at = 0; at < total; at += 128) {
        DWORD written = 0;
        ::WriteFile(file, bytes.get() + at, static_cast<DWORD>(std::min<size_t>(128, total - at)),
                    &written, nullptr);
    }
    ::CloseHandle(file);
}

// The lookups the command must make besides, by the plug-in's own code: the
// host settings file, the run settings with the HSP folder probe, the Ctrl
// key and the runner's folder. Their cost is the system's, not the text's.
void RequiredLookups(os::SystemApi& api, const LibraryState& library) {
    std::u16string hostSettings;
    if (!GetHostIniFileName(api, library.diskSpace, library.packaged, hostSettings))
        throw std::runtime_error("lookups: the host is not confirmed");
    const RunSettings settings = LoadRunSettings(api, library.diskSpace, hostSettings);
    if (IsControlHeld(api) && settings.RunMode == 0)
        throw std::runtime_error("lookups: unexpected");
    if (HostExecutablePath(api).empty()) throw std::runtime_error("lookups: no host path");
}

// ---- measuring --------------------------------------------------------------

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

template <class Run>
double Time(Run&& run) {
    const double start = Seconds();
    run();
    return Seconds() - start;
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

std::u16string Document(size_t units, bool japanese) {
    const std::u16string line =
        japanese ? u"\tmes \"こんにちは、世界。ｶﾅ\"\r\n" : u"\tmes \"hello, world\"\r\n";
    std::u16string text;
    text.reserve(units + line.size());
    while (text.size() < units) text += line;
    text.resize(units);
    return text;
}

long long FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

size_t ParseSize(const std::string& text) {
    size_t value = std::stoul(text);
    const char unit = text.empty() ? ' ' : text.back();
    if (unit == 'K' || unit == 'k') value <<= 10;
    if (unit == 'M' || unit == 'm') value <<= 20;
    return value;
}

std::string SizeName(size_t units) {
    return units >= (1u << 20) ? std::to_string(units >> 20) + " Mi"
                               : std::to_string(units >> 10) + " Ki";
}

int Run(const std::vector<std::string>& args) {
    std::vector<size_t> sizes = {1u << 10, 1u << 20, 16u << 20, 64u << 20};
    int repeat = 5;
    bool japanese = false;
    for (size_t i = 0; i + 1 < args.size(); i += 2) {
        if (args[i] == "--sizes") {
            sizes.clear();
            for (size_t start = 0; start < args[i + 1].size();) {
                size_t end = args[i + 1].find(',', start);
                if (end == std::string::npos) end = args[i + 1].size();
                sizes.push_back(ParseSize(args[i + 1].substr(start, end - start)));
                start = end + 1;
            }
        } else if (args[i] == "--repeat") {
            repeat = std::max(1, std::stoi(args[i + 1]));
        } else if (args[i] == "--text") {
            japanese = args[i + 1] == "japanese";
        } else {
            throw std::runtime_error("unknown option " + args[i]);
        }
    }

    HostWindow window;
    const Plugin plugin(host::ProgramFolder() + L"Plugins\\Tollik.dll");
    const ImportPatch launch(plugin.module(), "shell32.dll", "ShellExecuteW",
                             reinterpret_cast<void*>(&NoLaunch));
    const ImportPatch box(plugin.module(), "user32.dll", "MessageBoxW",
                          reinterpret_cast<void*>(&CountedMessageBox));
    const ImportPatch heap[] = {
        {plugin.module(), "msvcrt.dll", "malloc", reinterpret_cast<void*>(&CountedMalloc)},
        {plugin.module(), "msvcrt.dll", "calloc", reinterpret_cast<void*>(&CountedCalloc)},
        {plugin.module(), "msvcrt.dll", "realloc", reinterpret_cast<void*>(&CountedRealloc)},
        {plugin.module(), "msvcrt.dll", "free", reinterpret_cast<void*>(&CountedFree)},
    };

    const std::wstring work = host::ProgramFolder() + L"..\\work\\";
    ::CreateDirectoryW(work.c_str(), nullptr);
    window.editor.path = reinterpret_cast<const char16_t*>((work + L"bench.hsp").c_str());
    const std::wstring pluginScript = work + L"hsptmp";
    const std::wstring baselineScript = work + L"hsptmp-baseline";

    std::printf("code page %u, %s text, median of %d runs (31 up to 1 Mi units)\n", ::GetACP(),
                japanese ? "Japanese" : "ASCII", repeat);
    os::Win32SystemApi api;
    const LibraryState library = InitializeLibrary(api, nullptr);
    std::printf("%-8s %11s %12s %11s %8s %17s %14s %8s\n", "units", "plug-in ms", "baseline ms",
                "lookups ms", "ratio", "ratio to b.+look.", "peak heap B", "B/unit");
    for (const size_t units : sizes) {
        window.editor.text = Document(units, japanese);
        const auto command = [&] {
            window.editor.log.clear();
            plugin.exports().OnCommand(window.handle());
        };
        const auto baseline = [&] {
            window.editor.log.clear();
            Baseline(window.handle(), baselineScript);
        };
        command();  // warm: first calls load what the system loads once
        baseline();
        g_heap.peak = g_heap.live;
        const long long before = g_heap.live;
        command();
        const long long peakAdded = g_heap.peak - before;

        // Alternated, so that all three see the machine in the same state;
        // small documents get more runs, their times being the noisiest.
        const int runs = units <= (1u << 20) ? std::max(repeat, 31) : repeat;
        std::vector<double> pluginTimes, baselineTimes, lookupTimes;
        for (int r = 0; r < runs; ++r) {
            pluginTimes.push_back(Time(command));
            baselineTimes.push_back(Time(baseline));
            lookupTimes.push_back(Time([&] { RequiredLookups(api, library); }));
        }
        const double pluginTime = Median(pluginTimes), baselineTime = Median(baselineTimes),
                     lookups = Median(lookupTimes);

        if (g_messageBoxes != 0) throw std::runtime_error("the command showed a message box");
        const long long pluginBytes = FileSize(pluginScript),
                        baselineBytes = FileSize(baselineScript);
        if (pluginBytes != baselineBytes || pluginBytes <= 0)
            throw std::runtime_error(
                "the two scripts differ in size: " + std::to_string(pluginBytes) + " and " +
                std::to_string(baselineBytes));
        std::printf("%-8s %11.3f %12.3f %11.3f %8.3f %17.3f %14lld %8.2f\n",
                    SizeName(units).c_str(), pluginTime * 1e3, baselineTime * 1e3, lookups * 1e3,
                    pluginTime / baselineTime, pluginTime / (baselineTime + lookups), peakAdded,
                    static_cast<double>(peakAdded) / static_cast<double>(units));
    }
    ::DeleteFileW(pluginScript.c_str());
    ::DeleteFileW(baselineScript.c_str());
    return 0;
}

}  // namespace
}  // namespace tollik::bench

int main() {
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) args.push_back(tollik::host::ToUtf8(arguments[i]));
    ::LocalFree(arguments);
    try {
        return tollik::bench::Run(args);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "benchmark: %s\n", e.what());
        return 1;
    }
}
