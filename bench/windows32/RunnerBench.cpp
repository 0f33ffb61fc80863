// The runner's benchmark under Wine: what the user waits for, from the
// runner's start to the start of the program's process, against a baseline
// program that does only what cannot be left out (load the compiler,
// compile, ask for the runtime, create its process).
//
// The runtime is this program itself under the name hsp3.exe. It takes the
// time as it starts, hands it back through a named shared record and ends,
// so the runs do not pile up. The runner stays a little after that (it holds
// the script's folder until the runtime has read obj); how long is shown
// apart, since the program does not start any later for it.
//
//   runner_bench.exe RUNNER HSP-FOLDER [RUNS]        prints the tables
//   runner_bench.exe --baseline HSP-FOLDER SCRIPT    the baseline itself

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Export = BOOL(WINAPI*)(int, int, int, int);

// What the stand-in runtime hands back: when it started, and which process
// it is, so that the next run waits for it to end.
struct RuntimeStart {
    LONGLONG counter;
    DWORD process;
};
constexpr wchar_t kRecordName[] = L"Local\\TollikRunnerBenchRecord";
constexpr wchar_t kStartedName[] = L"Local\\TollikRunnerBenchStarted";
constexpr DWORD kWaitMilliseconds = 120000;

LONGLONG Now() {
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(LONGLONG ticks) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

// Started as the runtime: the time first, then the record, then the signal.
int ActAsRuntime() {
    const LONGLONG started = Now();
    const HANDLE record = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, kRecordName);
    const HANDLE signal = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, kStartedName);
    if (record == nullptr || signal == nullptr) return 1;  // not started by the benchmark
    if (void* view = ::MapViewOfFile(record, FILE_MAP_WRITE, 0, 0, sizeof(RuntimeStart))) {
        *static_cast<RuntimeStart*>(view) = {started, ::GetCurrentProcessId()};
        ::UnmapViewOfFile(view);
        ::SetEvent(signal);
    }
    ::CloseHandle(signal);
    ::CloseHandle(record);
    return 0;
}

std::wstring Folder(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\') + 1); }

std::string Narrow(const std::wstring& text) {
    const int n = ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 1), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

int Baseline(const std::wstring& hsp, const std::wstring& script) {
    ::SetCurrentDirectoryW(Folder(script).c_str());
    const HMODULE compiler = ::LoadLibraryExW((hsp + L"hspcmp.dll").c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (compiler == nullptr) return 3;
    const auto call = [&](const char* name, const void* p1, const void* p2, int p3) {
        const auto f = reinterpret_cast<Export>(reinterpret_cast<void (*)()>(::GetProcAddress(compiler, name)));
        return f(static_cast<int>(reinterpret_cast<INT_PTR>(p1)), static_cast<int>(reinterpret_cast<INT_PTR>(p2)),
                 p3, 0);
    };
    const std::string name = "hsptmp", object = "obj", common = Narrow(hsp) + "common\\";
    call("_hsc_ini@16", nullptr, name.c_str(), 0);
    call("_hsc_refname@16", nullptr, name.c_str(), 0);
    call("_hsc_objname@16", nullptr, object.c_str(), 0);
    call("_hsc_compath@16", nullptr, common.c_str(), 0);
    if (call("_hsc_comp@16", reinterpret_cast<const void*>(1), nullptr, 0) != 0) return 1;
    char runtime[1024] = {};
    call("_hsc3_getruntime@16", runtime, object.c_str(), 0);
    std::wstring line = L"\"" + hsp + L"hsp3.exe\" obj";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW((hsp + L"hsp3.exe").c_str(), line.data(), nullptr, nullptr, FALSE, CREATE_NEW_CONSOLE,
                          nullptr, Folder(script).c_str(), &startup, &process))
        return 3;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    ::FreeLibrary(compiler);
    return 0;
}

// One run of a program that starts the runtime, in milliseconds.
struct Run {
    double toRuntime = 0;  // from the program's start to the runtime's
    double stays = 0;      // from the runtime's start to the program's exit
};

// Times programs that start the stand-in runtime, which hands its start
// back through the shared record and the event.
class Timer {
public:
    Timer()
        : record_(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(RuntimeStart),
                                       kRecordName)),
          started_(::CreateEventW(nullptr, FALSE, FALSE, kStartedName)),
          view_(record_ != nullptr ? static_cast<RuntimeStart*>(
                                         ::MapViewOfFile(record_, FILE_MAP_READ, 0, 0, sizeof(RuntimeStart)))
                                   : nullptr) {}
    ~Timer() {
        if (view_ != nullptr) ::UnmapViewOfFile(view_);
        if (started_ != nullptr) ::CloseHandle(started_);
        if (record_ != nullptr) ::CloseHandle(record_);
    }
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool ready() const { return view_ != nullptr && started_ != nullptr; }

    // Starts `line` and waits for it and for the runtime it starts; false
    // (with a line said) when either did not come to a good end.
    bool Time(std::wstring line, const std::wstring& folder, Run& run) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ::ResetEvent(started_);
        const LONGLONG start = Now();
        if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                              &process))
            return Said("could not be started");
        const bool ended = ::WaitForSingleObject(process.hProcess, kWaitMilliseconds) == WAIT_OBJECT_0;
        const LONGLONG exitedAt = Now();
        DWORD code = 1;
        ::GetExitCodeProcess(process.hProcess, &code);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        if (!ended) return Said("did not end");
        if (code != 0) return Said("ended with an error");
        if (::WaitForSingleObject(started_, kWaitMilliseconds) != WAIT_OBJECT_0) return Said("started no runtime");
        const RuntimeStart runtime = *view_;
        // The runtime ends at once; the next run starts when it has.
        if (const HANDLE ending = ::OpenProcess(SYNCHRONIZE, FALSE, runtime.process)) {
            ::WaitForSingleObject(ending, kWaitMilliseconds);
            ::CloseHandle(ending);
        }
        run.toRuntime = Milliseconds(runtime.counter - start);
        run.stays = Milliseconds(exitedAt - runtime.counter);
        return true;
    }

private:
    static bool Said(const char* what) {
        std::printf("a run failed: the program %s\n", what);
        return false;
    }

    HANDLE record_;
    HANDLE started_;
    RuntimeStart* view_;
};

struct Spread {
    double median, fastest, slowest;
};

Spread Of(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

std::string Shown(const Spread& s) {
    char text[64];
    std::snprintf(text, sizeof text, "%.1f [%.1f..%.1f]", s.median, s.fastest, s.slowest);
    return text;
}

void WriteScript(const std::wstring& path, int lines) {
    std::string text = "; benchmark script\r\n\tscreen 0, 320, 200\r\n\tx = 0\r\n";
    for (int i = 3; i < lines - 1; ++i) text += "\tx = x + " + std::to_string(i % 97) + " : mes \"line " + std::to_string(i) + "\"\r\n";
    text += "\tend\r\n";
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
}

// An HSP folder whose hsp3.exe is this program.
void MakeHspFolder(const std::wstring& hspSource, const std::wstring& hsp) {
    ::CreateDirectoryW(hsp.c_str(), nullptr);
    ::CreateDirectoryW((hsp + L"common").c_str(), nullptr);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    ::CopyFileW((hspSource + L"hspcmp.dll").c_str(), (hsp + L"hspcmp.dll").c_str(), FALSE);
    WIN32_FIND_DATAW entry;
    const HANDLE search = ::FindFirstFileW((hspSource + L"common\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                ::CopyFileW((hspSource + L"common\\" + entry.cFileName).c_str(),
                            (hsp + L"common\\" + entry.cFileName).c_str(), FALSE);
        } while (::FindNextFileW(search, &entry));
        ::FindClose(search);
    }
    ::CopyFileW(self, (hsp + L"hsp3.exe").c_str(), FALSE);
}

// Runs per script: enough that two invocations agree on the small script,
// where process creation's noise is the whole difference; the large one's
// compile dominates and is steady.
struct ScriptSize {
    int lines;
    int runs;
};
constexpr ScriptSize kScripts[] = {{100, 61}, {20000, 11}};

int Table(const std::wstring& runner, const std::wstring& hspSource, int runsAsked) {
    const std::wstring root = L"C:\\tollik-bench\\", hsp = root + L"hsp\\", work = root + L"work\\";
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW(work.c_str(), nullptr);
    MakeHspFolder(hspSource, hsp);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    Timer timer;
    if (!timer.ready()) {
        std::printf("the runtime's record could not be made (error %lu)\n", ::GetLastError());
        return 1;
    }

    std::printf("from the start to the runtime's start, ms: median [fastest..slowest]\n");
    std::printf("%-12s %5s %22s %22s %22s %6s %s\n", "script", "runs", "runner", "baseline", "added", "ratio",
                "goal (<= max(10%, 30 ms))");
    std::string afterwards;
    bool allMet = true;
    for (const ScriptSize& size : kScripts) {
        const std::wstring script = work + L"hsptmp";
        WriteScript(script, size.lines);
        const int runs = runsAsked > 0 ? runsAsked : size.runs;
        std::vector<double> runner_ms, baseline_ms, added, ratios, runnerStays, baselineStays;
        for (int i = 0; i < runs + 1; ++i) {
            Run r, b;
            if (!timer.Time(L"\"" + runner + L"\" \"" + hsp + L"\" \"" + script + L"\" 1 0", work, r)) return 1;
            // The folder without its backslash: before a quote it would escape it.
            if (!timer.Time(L"\"" + std::wstring(self) + L"\" --baseline \"" + hsp.substr(0, hsp.size() - 1) +
                                L"\" \"" + script + L"\"",
                            work, b))
                return 1;
            if (i == 0) continue;  // the first pair warms the file cache
            runner_ms.push_back(r.toRuntime);
            baseline_ms.push_back(b.toRuntime);
            added.push_back(r.toRuntime - b.toRuntime);
            ratios.push_back(r.toRuntime / b.toRuntime);
            runnerStays.push_back(r.stays);
            baselineStays.push_back(b.stays);
        }
        const Spread runnerTime = Of(runner_ms), baselineTime = Of(baseline_ms), addedTime = Of(added);
        const bool met = addedTime.median <= std::max(0.10 * baselineTime.median, 30.0);
        allMet = allMet && met;
        std::printf("%6d lines %5d %22s %22s %22s %6.2f %s\n", size.lines, runs, Shown(runnerTime).c_str(),
                    Shown(baselineTime).c_str(), Shown(addedTime).c_str(), Of(ratios).median, met ? "met" : "MISSED");
        char line[160];
        std::snprintf(line, sizeof line, "%6d lines %22s %22s\n", size.lines, Shown(Of(runnerStays)).c_str(),
                      Shown(Of(baselineStays)).c_str());
        afterwards += line;
    }
    std::printf("runner and baseline alternating; added and ratio are medians of each pair's\n\n");
    std::printf("after the runtime's start, until the program's exit, ms\n%-12s %22s %22s\n", "script",
                "runner stays", "baseline stays");
    std::printf("%s", afterwards.c_str());
    return allMet ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring self = argc > 0 ? argv[0] : L"";
    if (self.size() >= 8 && ::lstrcmpiW(self.substr(self.size() - 8).c_str(), L"hsp3.exe") == 0)
        return ActAsRuntime();
    if (argc == 4 && std::wstring(argv[1]) == L"--baseline") return Baseline(std::wstring(argv[2]) + L"\\", argv[3]);
    if (argc < 3 || argv[1][0] == L'-') {
        std::fprintf(stderr, "usage: runner_bench.exe RUNNER HSP-FOLDER [RUNS]\n");
        return 2;
    }
    std::wstring hsp = argv[2];
    if (hsp.back() != L'\\') hsp += L'\\';
    return Table(argv[1], hsp, argc > 3 ? std::max(1, _wtoi(argv[3])) : 0);
}
