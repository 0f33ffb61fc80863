#pragma once
// An installed editor on the fake Windows, ready for the run command.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "FakeWindows.h"
#include "HSPCmp/RunCommand.h"
#include "LibraryState.h"
#include "PluginApi/CommandBoundary.h"

namespace tollik::testing {

inline const std::u16string kEditorFolder = u"C:\\Program Files\\Pellam\\";
inline const std::u16string kSettings = kEditorFolder + u"Plugins\\Tollik\\Tollik.ini";
inline const std::u16string kRunner = kEditorFolder + u"Plugins\\Tollik.exe";

// An installed editor keeping its settings beside its executable, with the
// runner in place and a saved document open.
struct InstalledEditor {
    InstalledEditor() {
        windows.files.AddFile(windows.executablePath, "MZ");
        windows.files.AddFile(kEditorFolder + u"Pellam.ini");
        windows.files.AddFile(kRunner, "MZ");
        windows.files.AddFolder(u"C:\\work");
        windows.host.text = u"mes \"ok\"";
        windows.host.path = u"C:\\work\\game.hsp";
    }

    void Settings(std::string_view bytes) { windows.files.AddFile(kSettings, bytes); }

    void OnCommand() {
        RunAtBoundary(windows, windows.hostWindow,
                      [&] { ExecuteRunCommand(windows, library, windows.hostWindow); });
    }

    std::vector<std::u16string> ParametersGiven() const {
        std::vector<std::u16string> given;
        for (const fake::ShellExecution& e : windows.shellExecutions) given.push_back(e.parameters);
        return given;
    }

    std::ptrdiff_t FirstCall(std::string_view name) const {
        return std::find(windows.calls.begin(), windows.calls.end(), name) - windows.calls.begin();
    }

    fake::FakeWindows windows;
    LibraryState library = InitializeLibrary(windows, nullptr);
};

}  // namespace tollik::testing
