// The main job in miniature: a stand-in editor loads Tollik.dll as the host
// does, shows what the plug-in says about itself, opens a script as its
// active document and invokes the command once, then prints what happened.
//
//   tollik_demo_host SCRIPT [DOCUMENT-PATH]
//
// SCRIPT is read as UTF-8; DOCUMENT-PATH is the path the editor reports for
// the document (default: untitled). Exits non-zero when the plug-in did not
// behave as a host expects.

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

#include "PluginApi/HostMessages.h"
#include "StandInHost.h"

namespace tollik::host {
namespace {

void Print(const std::wstring& text) {
    const std::string bytes = ToUtf8(text);
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
                &written, nullptr);
}

std::wstring MessageName(std::uint32_t message) {
    static const std::map<std::uint32_t, std::wstring> names = {
        {MSG_ENABLE_REDRAW, L"MSG_ENABLE_REDRAW"},
        {MSG_QUERY_ANCHOR, L"MSG_QUERY_ANCHOR"},
        {MSG_QUERY_CARET, L"MSG_QUERY_CARET"},
        {MSG_QUERY_SCROLL, L"MSG_QUERY_SCROLL"},
        {MSG_RUN_HOST_COMMAND, L"MSG_RUN_HOST_COMMAND"},
        {MSG_QUERY_SELECTION_TEXT, L"MSG_QUERY_SELECTION_TEXT"},
        {MSG_PLACE_CARET, L"MSG_PLACE_CARET"},
        {MSG_PLACE_SCROLL, L"MSG_PLACE_SCROLL"},
        {MSG_QUERY_DOCUMENT_PATH, L"MSG_QUERY_DOCUMENT_PATH"},
    };
    const auto found = names.find(message);
    return found != names.end() ? found->second : L"message " + std::to_wstring(message);
}

std::string ReadFileBytes(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot open " + ToUtf8(path));
    std::string bytes;
    char chunk[65536];
    DWORD got = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
    ::CloseHandle(file);
    return bytes;
}

int Run(int argc, wchar_t** argv) {
    if (argc < 2) {
        Print(L"usage: tollik_demo_host SCRIPT [DOCUMENT-PATH]\n");
        return 2;
    }
    const std::wstring dllPath = ProgramFolder() + L"Tollik.dll";
    const Plugin plugin(dllPath);
    const PluginExports& e = plugin.exports();
    BOOL checked = TRUE;
    const BOOL enabled = e.QueryStatus(nullptr, &checked);

    std::wostringstream out;
    out << L"Loaded " << dllPath << L"\n"
        << L"  menu text   (id " << e.GetMenuTextID() << L"): " << plugin.LoadText(e.GetMenuTextID()) << L"\n"
        << L"  status text (id " << e.GetStatusMessageID() << L"): " << plugin.LoadText(e.GetStatusMessageID()) << L"\n"
        << L"  icons: " << e.GetIconID() << L" (light), " << e.GetIconDarkID() << L" (dark)\n"
        << L"  name: " << plugin.Query(0x0902) << L", version: " << plugin.Query(0x0903) << L"\n"
        << L"  enabled: " << (enabled ? L"yes" : L"no") << L", checked: " << (checked ? L"yes" : L"no") << L"\n";

    std::string bytes = ReadFileBytes(argv[1]);
    if (bytes.rfind("\xEF\xBB\xBF", 0) == 0) bytes.erase(0, 3);
    const std::wstring script = FromUtf8(bytes);

    HostWindow host;
    testing::EditorModel& editor = host.editor;
    editor.text.assign(script.begin(), script.end());
    if (argc > 2) editor.path.assign(argv[2], argv[2] + ::lstrlenW(argv[2]));
    editor.anchor = editor.caret = 0;  // caret at the top, nothing selected

    out << L"\nInvoking the command on " << argv[1] << L" (" << script.size() << L" UTF-16 units, "
        << (editor.path.empty() ? L"untitled" : L"saved") << L")\n";
    e.OnCommand(host.handle());

    out << L"  the host received:\n";
    for (const testing::ReceivedMessage& m : editor.log) {
        out << L"    " << MessageName(m.message) << L"  wParam=" << m.wParam
            << (m.lParam != 0 ? L"  lParam=buffer" : L"  lParam=0") << L"\n";
    }
    const std::wstring captured(editor.lastServedText.begin(), editor.lastServedText.end());
    const bool whole = captured == script;
    const bool restored = editor.anchor == 0 && editor.caret == 0 && editor.foreignRecords == 0;
    out << L"  painting resumed: " << (!editor.paintingHeld ? L"yes" : L"NO")
        << L"; caret and selection restored: " << (restored ? L"yes" : L"NO") << L"\n"
        << L"  document path given: "
        << (editor.path.empty() ? std::wstring(L"(untitled)")
                                : std::wstring(editor.path.begin(), editor.path.end()))
        << L"\n"
        << (whole ? L"captured the whole document: " : L"captured a PART of the document: ")
        << captured.size() << L" UTF-16 units\n"
        << L"----- captured text -----\n" << captured << L"\n-------------------------\n";
    Print(out.str());
    return whole && restored && !editor.paintingHeld ? 0 : 1;
}

}  // namespace
}  // namespace tollik::host

int main() {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    try {
        const int status = tollik::host::Run(argc, argv);
        ::LocalFree(argv);
        return status;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "tollik_demo_host: %s\n", failure.what());
        return 1;
    }
}
