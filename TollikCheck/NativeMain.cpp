// tollik-check, native: the settings-file check on any file, run through the
// same code as on Windows over the fake Windows (whose file reading, strict
// UTF-8 and case rules are checked against the real system).
//
//   tollik-check --ini PATH [--lang ja|en]

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <string>

#include "FakeWindows.h"
#include "InstallCheck.h"
#include "LibraryState.h"

namespace {

using namespace tollik;

std::u16string FromUtf8(os::SystemApi& api, const std::string& text) {
    const auto length = static_cast<int>(text.size());
    const int needed = api.MultiByteToWideChar(os::kCpUtf8, 0, text.data(), length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(needed > 0 ? needed : 0), u'\0');
    if (needed > 0)
        api.MultiByteToWideChar(os::kCpUtf8, 0, text.data(), length, wide.data(), needed);
    return wide;
}

int Run(int argc, char** argv) {
    std::string path;
    check::Language language = check::Language::Japanese;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--ini" && i + 1 < argc) {
            path = argv[++i];
        } else if (arg == "--lang" && i + 1 < argc &&
                   (std::string(argv[i + 1]) == "en" || std::string(argv[i + 1]) == "ja")) {
            language = std::string(argv[++i]) == "en" ? check::Language::English
                                                      : check::Language::Japanese;
        } else {
            path.clear();
            break;
        }
    }
    if (path.empty()) {
        std::fputs("usage: tollik-check --ini PATH [--lang ja|en]\n", stderr);
        return 2;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "tollik-check: cannot read %s\n", path.c_str());
        return 2;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());

    fake::FakeWindows windows;
    const std::u16string inside = PluginSettingsPath(u"C:\\Pellam\\Pellam.ini");
    windows.files.AddFile(inside, bytes);
    const LibraryState library = InitializeLibrary(windows, nullptr);
    check::Report report;
    check::CheckSettingsFile(windows, inside, FromUtf8(windows, path),
                             ProbeHspDirectory(windows, library.diskSpace), report);
    const std::string text = check::FormatReport(report, language);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return report.Count(check::Severity::Problem) > 0 ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::exception& e) {  // a Failure too: its message in UTF-8
        std::fprintf(stderr, "tollik-check: %s\n", e.what());
    }
    return 3;
}
