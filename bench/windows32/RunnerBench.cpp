// The runner's benchmark under Wine: from the runner's start to the start of
// the runtime's process, against a baseline program that does only what
// cannot be left out (load the compiler, compile, ask for the runtime,
// create its process). Both are timed the same way, from CreateProcessW to
// the program's exit, which comes right after the runtime's process exists.
// The runtime is this program itself under the name hsp3.exe, which ends at
// once, so the runs do not pile up.
//
//   runner_bench.exe RUNNER HSP-FOLDER [REPEAT]      prints the table
//   runner_bench.exe --baseline HSP-FOLDER SCRIPT    the baseline itself

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Export = BOOL(WINAPI*)(int, int, int, int);

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

// Milliseconds from the start of `line` to its exit; negative when it failed.
double Time(std::wstring line, const std::wstring& folder) {
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ::QueryPerformanceCounter(&start);
    if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                          &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::QueryPerformanceCounter(&end);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (code != 0) return -1;
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
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

int Table(const std::wstring& runner, const std::wstring& hspSource, int repeat) {
    // An HSP folder whose hsp3.exe is this program, which ends at once.
    const std::wstring root = L"C:\\tollik-bench\\", hsp = root + L"hsp\\", work = root + L"work\\";
    ::CreateDirectoryW(root.c_str(), nullptr);
    ::CreateDirectoryW(hsp.c_str(), nullptr);
    ::CreateDirectoryW(work.c_str(), nullptr);
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

    std::printf("%-14s %12s %12s %10s %8s %s\n", "script", "runner ms", "baseline ms", "added ms", "ratio",
                "goal (<= max(10%, 30 ms))");
    bool allMet = true;
    for (const int lines : {100, 20000}) {
        const std::wstring script = work + L"hsptmp";
        WriteScript(script, lines);
        std::vector<double> runs, baselines;
        for (int i = 0; i < repeat + 1; ++i) {
            const double r = Time(L"\"" + runner + L"\" \"" + hsp + L"\" \"" + script + L"\" 1 0", work);
            // The folder without its backslash: before a quote it would escape it.
            const double b = Time(L"\"" + std::wstring(self) + L"\" --baseline \"" + hsp.substr(0, hsp.size() - 1) +
                                      L"\" \"" + script + L"\"",
                                  work);
            if (r < 0 || b < 0) {
                std::printf("a run failed (runner %.1f, baseline %.1f)\n", r, b);
                return 1;
            }
            if (i == 0) continue;  // the first pair warms the file cache
            runs.push_back(r);
            baselines.push_back(b);
        }
        const double runner_ms = Median(runs), baseline_ms = Median(baselines);
        const double added = runner_ms - baseline_ms;
        const bool met = added <= std::max(0.10 * baseline_ms, 30.0);
        allMet = allMet && met;
        std::printf("%6d lines   %12.1f %12.1f %10.1f %8.2f %s\n", lines, runner_ms, baseline_ms, added,
                    runner_ms / baseline_ms, met ? "met" : "MISSED");
    }
    std::printf("medians of %d runs each, runner and baseline alternating\n", repeat);
    return allMet ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring self = argc > 0 ? argv[0] : L"";
    // Started as the runtime: end at once.
    if (self.size() >= 8 && ::lstrcmpiW(self.substr(self.size() - 8).c_str(), L"hsp3.exe") == 0) return 0;
    if (argc == 4 && std::wstring(argv[1]) == L"--baseline") return Baseline(std::wstring(argv[2]) + L"\\", argv[3]);
    if (argc < 3 || argv[1][0] == L'-') {
        std::fprintf(stderr, "usage: runner_bench.exe RUNNER HSP-FOLDER [REPEAT]\n");
        return 2;
    }
    std::wstring hsp = argv[2];
    if (hsp.back() != L'\\') hsp += L'\\';
    return Table(argv[1], hsp, argc > 3 ? std::max(1, _wtoi(argv[3])) : 10);
}
