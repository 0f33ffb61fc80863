// tollik-check: explains what the plug-in would do in the editor installed
// in FOLDER (by default the folder this program stands in), and exits 1 when
// something stops the command from working. It writes nothing.
//
//   tollik-check [FOLDER] [--lang ja|en] [--packaged]

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Common/FileSystem.h"
#include "Common/PathText.h"
#include "InstallCheck.h"
#include "LibraryState.h"
#include "os/Win32SystemApi.h"

namespace {

using namespace tollik;

// The console shows UTF-8 while the checker writes; its own code page is
// given back afterwards.
class Utf8Console {
public:
    Utf8Console() : previous_(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
    ~Utf8Console() {
        if (previous_ != 0) ::SetConsoleOutputCP(previous_);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT previous_;
};

void Write(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

int Run(const std::vector<std::u16string>& args) {
    check::Language language = check::Language::Japanese;
    bool packaged = false;
    std::u16string folder;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == u"--lang" && i + 1 < args.size()) {
            const std::u16string& name = args[++i];
            if (name != u"ja" && name != u"en") {
                Write("tollik-check: --lang takes ja or en\n");
                return 2;
            }
            language = name == u"en" ? check::Language::English : check::Language::Japanese;
        } else if (args[i] == u"--packaged") {
            packaged = true;
        } else if (args[i] == u"--help" || args[i] == u"/?" ||
                   (!folder.empty() || args[i].starts_with(u"-"))) {
            Write(
                "usage: tollik-check [FOLDER] [--lang ja|en] [--packaged]\n"
                "  FOLDER      the editor's folder, where Pellam.exe is (default: this program's "
                "folder)\n"
                "  --lang en   English messages (default: Japanese)\n"
                "  --packaged  the editor is the Store version (settings in PellamUWP)\n");
            return args[i] == u"--help" || args[i] == u"/?" ? 0 : 2;
        } else {
            folder = args[i];
        }
    }
    os::Win32SystemApi api;
    if (folder.empty()) {
        folder = DirPart(HostExecutablePath(api));
    } else if (std::u16string full = ExpandPath(api, folder); !full.empty()) {
        folder = std::move(full);  // "." and other relative names, shown whole
    }
    const LibraryState library = InitializeLibrary(api, nullptr);
    const check::Report report = check::CheckInstallation(api, library.diskSpace, folder, packaged);
    Write(check::FormatReport(report, language));
    return report.Count(check::Severity::Problem) > 0 ? 1 : 0;
}

// Started from Explorer, the checker has a console of its own, which closes
// with it before anyone has read the report: then it waits for Enter. Not
// when the console is shared (a command prompt) or input is not a console.
void KeepAnOwnConsoleOpen() {
    DWORD processes[2] = {};
    DWORD mode = 0;
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (::GetConsoleProcessList(processes, 2) != 1 || input == INVALID_HANDLE_VALUE || input == nullptr ||
        !::GetConsoleMode(input, &mode))
        return;
    Write("\nEnter キーを押すと閉じます。 / Press Enter to close.\n");
    wchar_t line[16];
    DWORD read = 0;
    ::ReadConsoleW(input, line, 16, &read, nullptr);
}

}  // namespace

int main() {
    const Utf8Console console;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::u16string> args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(reinterpret_cast<const char16_t*>(arguments[i]));
    ::LocalFree(arguments);
    int code = 3;
    try {
        code = Run(args);
    } catch (const std::exception& e) {
        Write(std::string("tollik-check: ") + e.what() + "\n");
    } catch (...) {
        Write("tollik-check: unexpected failure\n");
    }
    try {
        KeepAnOwnConsoleOpen();
    } catch (...) {
        // Nothing is left to say: the report is out.
    }
    return code;
}
