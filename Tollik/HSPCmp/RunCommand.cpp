#include "HSPCmp/RunCommand.h"

#include <string>

#include "HSPCmp/DocumentCapture.h"

namespace tollik {

void ExecuteRunCommand(os::SystemApi& api, const LibraryState& library, os::WindowHandle host) {
    (void)library;  // the script writer will need the ANSI code page
    // The document is read as the command will read it; saving the script
    // and starting the runner are the steps that follow these two.
    const std::u16string text = CaptureDocumentText(api, host);
    const std::u16string documentPath = QueryDocumentPath(api, host);
    (void)text;
    (void)documentPath;
}

}  // namespace tollik
