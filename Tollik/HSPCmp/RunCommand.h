#pragma once
// The plug-in's one command, "HSP コンパイル/実行": the body of OnCommand.
// It saves the active document as the script file "hsptmp" and starts the
// runner on it.

#include <string>
#include <string_view>

#include "HSPCmp/ScriptFileName.h"
#include "LibraryState.h"
#include "os/SystemApi.h"

namespace tollik {

// Beside the document, or in the long form of the temporary folder for a
// document that has never been saved.
std::u16string ScriptPathFor(os::SystemApi& api, std::u16string_view documentPath);

// Runs the command against the host window. The failures that end it (the
// settings folder, the settings file, the script file) leave it as Failure
// exceptions for the export boundary to show; nothing is started after one.
void ExecuteRunCommand(os::SystemApi& api, const LibraryState& library, os::WindowHandle host);

}  // namespace tollik
