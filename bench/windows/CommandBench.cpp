// The whole command on the real DLL under Wine, timed against a baseline
// that makes only the calls the command cannot do without for the same text:
// the capture's messages into a zeroed buffer, the sizing and the converting
// WideCharToMultiByte, the file's creation, one WriteFile per 128 bytes, and
// the close.
//
// Installed as Pellam.exe beside Plugins\Tollik.dll and a portable marker,
// so the plug-in finds its settings as it would in an editor. The runner's
// start is left out: the plug-in's ShellExecuteW is redirected to a stub.
// Also measured: the most memory the plug-in holds at once during a command,
// through its imports of malloc, calloc, realloc, free, VirtualAlloc and
// VirtualFree.
//
// Plug-in, baseline and lookups run in rounds, the plug-in first and the
// other two's order turned round every other round; each round gives its
// own ratios, and the table shows their medians with the fastest and
// slowest beside them.
//
//   Pellam.exe [--sizes 1K,1M,16M,64M] [--text ascii|japanese|hsp3utf] [--runs N]

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
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

// ---- the plug-in's memory, seen through its imports -------------------------

struct MemoryUse {
    long long live = 0;
    long long peak = 0;
    std::map<void*, long long> pages;  // what VirtualAlloc gave, by address
};
MemoryUse g_memory;  // one thread; read between commands only

void Count(long long change) {
    g_memory.live += change;
    g_memory.peak = std::max(g_memory.peak, g_memory.live);
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
LPVOID WINAPI CountedVirtualAlloc(LPVOID address, SIZE_T bytes, DWORD type, DWORD protect) {
    void* p = ::VirtualAlloc(address, bytes, type, protect);
    if (p != nullptr) {
        g_memory.pages[p] = static_cast<long long>(bytes);
        Count(static_cast<long long>(bytes));
    }
    return p;
}
BOOL WINAPI CountedVirtualFree(LPVOID address, SIZE_T bytes, DWORD type) {
    if (const auto held = g_memory.pages.find(address); held != g_memory.pages.end()) {
        Count(-held->second);
        g_memory.pages.erase(held);
    }
    return ::VirtualFree(address, bytes, type);
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

struct Pages {
    void* address;
    explicit Pages(size_t bytes)
        : address(::VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {
        if (address == nullptr) throw std::runtime_error("baseline: no memory for the text");
    }
    ~Pages() { ::VirtualFree(address, 0, MEM_RELEASE); }
    Pages(const Pages&) = delete;
    Pages& operator=(const Pages&) = delete;
};

// What any command must do for this text: capture it into a buffer cleared
// to zero (units the host leaves unwritten must read as NUL), convert it,
// write it. The zeroed buffer is the cheapest there is: fresh pages. A
// script for HSP's UTF-8 runtime that the code page cannot hold must be
// written as UTF-8 after a byte-order mark.
void Baseline(HWND window, const std::wstring& scriptPath, UINT codePage) {
    HostPosition anchor{}, caret{}, scroll{};
    Send(window, MSG_ENABLE_REDRAW, 0, nullptr);
    Send(window, MSG_QUERY_ANCHOR, kPositionKindLogical, &anchor);
    Send(window, MSG_QUERY_CARET, kPositionKindLogical, &caret);
    Send(window, MSG_QUERY_SCROLL, 0, &scroll);
    Send(window, MSG_RUN_HOST_COMMAND, CMD_SELECT_ALL, nullptr);
    const auto count = static_cast<int>(::SendMessageW(window, MSG_QUERY_SELECTION_TEXT, 0, 0));
    const int length = std::max(count - 1, 0);
    const Pages pages((static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    const auto* text = static_cast<const wchar_t*>(pages.address);
    Send(window, MSG_QUERY_SELECTION_TEXT, static_cast<WPARAM>(length), pages.address);
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
    const size_t mark = codePage == CP_UTF8 ? 3 : 0;
    const int needed =
        ::WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    const auto bytes = std::make_unique_for_overwrite<char[]>(mark + static_cast<size_t>(needed) + 2);
    std::memcpy(bytes.get(), "\xEF\xBB\xBF", mark);
    ::WideCharToMultiByte(codePage, 0, text, length, bytes.get() + mark, needed, nullptr, nullptr);
    bytes[mark + static_cast<size_t>(needed)] = '\r';
    bytes[mark + static_cast<size_t>(needed) + 1] = '\n';
    const size_t total = mark + static_cast<size_t>(needed) + 2;
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

// ---- the texts ----------------------------------------------------------------

// A document of a kind: its first line, then one line over and over, cut
// at the size asked.
struct TextKind {
    std::string_view option;  // the name --text takes
    const char* title;
    std::u16string_view head;
    std::u16string_view line;
    UINT codePage = CP_ACP;  // what the script must be written in
};
constexpr TextKind kTextKinds[] = {
    {"ascii", "ASCII", u"", u"\tmes \"hello, world\"\r\n"},
    {"japanese", "Japanese", u"", u"\tmes \"こんにちは、世界。ｶﾅ\"\r\n"},
    {"hsp3utf", "For HSP's UTF-8 runtime, an emoji in every line (written as UTF-8)",
     u"#include \"hsp3utf.as\"\r\n", u"\tmes \"こんにちは、世界。\U0001F600\"\r\n", CP_UTF8},
};

std::u16string Document(size_t units, const TextKind& kind) {
    std::u16string text;
    text.reserve(units + kind.head.size() + kind.line.size());
    text += kind.head;
    while (text.size() < units) text += kind.line;
    text.resize(units);
    return text;
}

// ---- measuring --------------------------------------------------------------

constexpr size_t kKi = size_t{1} << 10, kMi = size_t{1} << 20;
constexpr double kGoal = 1.10;

// Rounds per size: enough that two invocations agree within 3% on the
// judged ratios while other work shares the machine; about 25 s at 16 Mi
// units.
int RoundsFor(size_t units) {
    if (units < kMi) return 51;
    if (units < 16 * kMi) return 201;
    if (units < 64 * kMi) return 61;
    return 21;
}

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

struct Spread {
    double median, fastest, slowest;
};

Spread Of(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

std::string Cell(const Spread& s, const char* format) {
    char text[96];
    const std::string pattern = std::string(format) + " [" + format + ".." + format + "]";
    std::snprintf(text, sizeof text, pattern.c_str(), s.median, s.fastest, s.slowest);
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
    if (unit == 'K' || unit == 'k') value *= kKi;
    if (unit == 'M' || unit == 'm') value *= kMi;
    return value;
}

std::string SizeName(size_t units) {
    return units >= kMi ? std::to_string(units / kMi) + " Mi" : std::to_string(units / kKi) + " Ki";
}

struct Options {
    std::vector<size_t> sizes = {kKi, kMi, 16 * kMi, 64 * kMi};
    std::vector<const TextKind*> kinds;
    int rounds = 0;  // 0: RoundsFor each size
};

Options Parse(const std::vector<std::string>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 == args.size()) throw std::runtime_error("no value for " + args[i]);
        const std::string& value = args[i + 1];
        if (args[i] == "--sizes") {
            options.sizes.clear();
            for (size_t start = 0; start < value.size();) {
                size_t end = value.find(',', start);
                if (end == std::string::npos) end = value.size();
                options.sizes.push_back(ParseSize(value.substr(start, end - start)));
                start = end + 1;
            }
        } else if (args[i] == "--runs") {
            options.rounds = std::max(1, std::stoi(value));
        } else if (args[i] == "--text") {
            const auto kind = std::find_if(std::begin(kTextKinds), std::end(kTextKinds),
                                           [&](const TextKind& k) { return k.option == value; });
            if (kind == std::end(kTextKinds)) throw std::runtime_error("no text kind named " + value);
            options.kinds.push_back(kind);
        } else {
            throw std::runtime_error("unknown option " + args[i]);
        }
    }
    if (options.kinds.empty())
        for (const TextKind& kind : kTextKinds) options.kinds.push_back(&kind);
    return options;
}

// The plug-in installed as a host loads it, with what it must not do
// (start the runner, show a box) caught and its memory counted.
class Bench {
public:
    Bench()
        : plugin_(host::ProgramFolder() + L"Plugins\\Tollik.dll"),
          launch_(plugin_.module(), "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(&NoLaunch)),
          box_(plugin_.module(), "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&CountedMessageBox)),
          library_(InitializeLibrary(api_, nullptr)) {
        const struct {
            const char* library;
            const char* function;
            void* counted;
        } memoryCalls[] = {
            {"msvcrt.dll", "malloc", reinterpret_cast<void*>(&CountedMalloc)},
            {"msvcrt.dll", "calloc", reinterpret_cast<void*>(&CountedCalloc)},
            {"msvcrt.dll", "realloc", reinterpret_cast<void*>(&CountedRealloc)},
            {"msvcrt.dll", "free", reinterpret_cast<void*>(&CountedFree)},
            {"kernel32.dll", "VirtualAlloc", reinterpret_cast<void*>(&CountedVirtualAlloc)},
            {"kernel32.dll", "VirtualFree", reinterpret_cast<void*>(&CountedVirtualFree)},
        };
        // A build that does not import one of them (an older one, measured to
        // compare) does not use it either.
        for (const auto& call : memoryCalls) {
            try {
                memory_.push_back(std::make_unique<ImportPatch>(plugin_.module(), call.library,
                                                                call.function, call.counted));
            } catch (const std::runtime_error&) {
            }
        }
        ::CreateDirectoryW(work_.c_str(), nullptr);
        window_.editor.path = reinterpret_cast<const char16_t*>((work_ + L"bench.hsp").c_str());
    }
    ~Bench() {
        ::DeleteFileW(pluginScript_.c_str());
        ::DeleteFileW(baselineScript_.c_str());
    }
    Bench(const Bench&) = delete;
    Bench& operator=(const Bench&) = delete;

    // One row of the table; false when a judged ratio missed its goal.
    bool Row(size_t units, const TextKind& kind, int roundsAsked) {
        window_.editor.text = Document(units, kind);
        const auto command = [&] {
            window_.editor.log.clear();
            plugin_.exports().OnCommand(window_.handle());
        };
        const auto baseline = [&] {
            window_.editor.log.clear();
            Baseline(window_.handle(), baselineScript_, kind.codePage);
        };
        const auto lookups = [&] { RequiredLookups(api_, library_); };
        command();  // warm: first calls load what the system loads once
        baseline();
        g_memory.peak = g_memory.live;
        const long long before = g_memory.live;
        command();
        const long long peakAdded = g_memory.peak - before;

        const int rounds = roundsAsked > 0 ? roundsAsked : RoundsFor(units);
        std::vector<double> pluginMs, baselineMs, lookupMs, ratios, ratiosWithLookups;
        for (int r = 0; r < rounds; ++r) {
            // A run right after one of its own kind is faster by several
            // per cent at 1 Mi units (what Wine and the system just did is
            // at hand): none follows its own kind, and each follows each of
            // the other two equally often.
            double p = Time(command), b = 0, l = 0;
            if (r % 2 == 0) {
                b = Time(baseline), l = Time(lookups);
            } else {
                l = Time(lookups), b = Time(baseline);
            }
            pluginMs.push_back(p * 1e3);
            baselineMs.push_back(b * 1e3);
            lookupMs.push_back(l * 1e3);
            ratios.push_back(p / b);
            ratiosWithLookups.push_back(p / (b + l));
        }

        if (g_messageBoxes != 0) throw std::runtime_error("the command showed a message box");
        const long long pluginBytes = FileSize(pluginScript_), baselineBytes = FileSize(baselineScript_);
        if (pluginBytes != baselineBytes || pluginBytes <= 0)
            throw std::runtime_error("the two scripts differ in size: " + std::to_string(pluginBytes) +
                                     " and " + std::to_string(baselineBytes));

        const Spread ratio = Of(ratios), withLookups = Of(ratiosWithLookups);
        // 1 Ki units time the lookups, not the text: shown, not judged.
        const bool judged = units >= kMi, bare = units >= 16 * kMi;
        const bool met = !judged || (withLookups.median <= kGoal && (!bare || ratio.median <= kGoal));
        std::printf("%-6s %5d %26s %26s %24s %22s %22s %-6s %6.2f\n", SizeName(units).c_str(), rounds,
                    Cell(Of(pluginMs), "%.4g").c_str(), Cell(Of(baselineMs), "%.4g").c_str(),
                    Cell(Of(lookupMs), "%.3g").c_str(), Cell(ratio, "%.3f").c_str(),
                    Cell(withLookups, "%.3f").c_str(), !judged ? "shown" : met ? "met" : "MISSED",
                    static_cast<double>(peakAdded) / static_cast<double>(units));
        return met;
    }

private:
    HostWindow window_;
    const Plugin plugin_;
    const ImportPatch launch_;
    const ImportPatch box_;
    std::vector<std::unique_ptr<ImportPatch>> memory_;
    os::Win32SystemApi api_;
    const LibraryState library_;
    const std::wstring work_ = host::ProgramFolder() + L"..\\work\\";
    const std::wstring pluginScript_ = work_ + L"hsptmp";
    const std::wstring baselineScript_ = work_ + L"hsptmp-baseline";
};

int Run(const std::vector<std::string>& args) {
    const Options options = Parse(args);
    Bench bench;
    bool allMet = true;
    for (const TextKind* kind : options.kinds) {
        std::printf("%s text, code page %u; ms and ratios: median [fastest..slowest] of the rounds\n",
                    kind->title, ::GetACP());
        std::printf("%-6s %5s %26s %26s %24s %22s %22s %-6s %6s\n", "units", "runs", "plug-in ms",
                    "baseline ms", "lookups ms", "ratio", "ratio to b.+look.", "goal", "B/unit");
        for (const size_t units : options.sizes) allMet = bench.Row(units, *kind, options.rounds) && allMet;
        std::printf("\n");
    }
    std::printf("goals: ratio to b.+look. <= %.2f from 1 Mi units, ratio <= %.2f from 16 Mi units\n", kGoal,
                kGoal);
    return allMet ? 0 : 1;
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
        return 2;
    }
}
