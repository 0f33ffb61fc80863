#pragma once
// The plug-in's one command, "HSP コンパイル/実行": the body of OnCommand.

#include "LibraryState.h"
#include "os/SystemApi.h"

namespace tollik {

// Runs the command against the host window. Failures leave it as Failure
// exceptions for the export boundary to show.
void ExecuteRunCommand(os::SystemApi& api, const LibraryState& library, os::WindowHandle host);

}  // namespace tollik
