// The stand-in runner, built as Tollik.exe, for tests that must see the raw command line. It does not compile anything: it
// reads its command line the way the plug-in writes it and reports the four
// fields, and what it finds at the script path, to its console and to
// "TollikRunnerReport.txt" beside itself. Exit code 0 when it could read
// the line, 2 when it could not, 3 when the report cannot be written.

#include <windows.h>

#include <string>
#include <vector>

#include "RunnerTexts.h"
#include "command/RunnerCommandLine.h"
#include "util/Utf8Text.h"

namespace {

constexpr wchar_t kReportName[] = L"TollikRunnerReport.txt";

std::string Utf8(std::u16string_view text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, length, out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring OwnFolder() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            const std::wstring full(path.data(), n);
            return full.substr(0, full.find_last_of(L'\\') + 1);
        }
        path.resize(path.size() * 2);
    }
}

// The script as the runner would meet it: its size, or why it cannot be read.
std::string DescribeScript(const std::u16string& path) {
    const HANDLE file = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "unreadable (error " + std::to_string(::GetLastError()) + ")";
    LARGE_INTEGER size{};
    const BOOL known = ::GetFileSizeEx(file, &size);
    ::CloseHandle(file);
    return known ? std::to_string(size.QuadPart) + " bytes" : "size unknown";
}

bool WriteAll(HANDLE out, const std::string& text) {
    DWORD written = 0;
    return ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

}  // namespace

int main() {
    const auto* line = reinterpret_cast<const char16_t*>(::GetCommandLineW());
    const tollik::runner::ParsedCommandLine parsed = tollik::runner::ParseRunnerCommandLine(line);

    std::string report = "command-line=" + Utf8(line) + "\n";
    if (parsed.ok) {
        const tollik::runner::RunnerFields& f = parsed.fields;
        report += "hsp-folder=" + Utf8(f.hspDirectory) + "\n" +
                  "script=" + Utf8(f.scriptPath) + "\n" +
                  "run-mode=" + std::to_string(f.runMode) + "\n" +
                  "debug-window=" + std::to_string(f.debugWindow) + "\n" +
                  "script-file=" + DescribeScript(f.scriptPath) + "\n";
    } else {
        const tollik::runner::RunnerTexts english{tollik::runner::Language::English};
        report += "error=" + tollik::ToUtf8(english.CommandLineProblemText(parsed.problem, parsed.token)) + "\n";
    }

    const HANDLE console = ::GetStdHandle(parsed.ok ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (console != nullptr && console != INVALID_HANDLE_VALUE) WriteAll(console, report);

    const std::wstring reportPath = OwnFolder() + kReportName;
    const HANDLE file = ::CreateFileW(reportPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool saved = file != INVALID_HANDLE_VALUE && WriteAll(file, report);
    if (file != INVALID_HANDLE_VALUE) ::CloseHandle(file);
    if (!parsed.ok) return 2;
    return saved ? 0 : 3;
}
