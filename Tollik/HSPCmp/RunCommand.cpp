#include "HSPCmp/RunCommand.h"

#include <string>

#include "HSPCmp/DocumentCapture.h"

namespace tollik {

// The library state carries the ANSI code page that the script writer needs.
void ExecuteRunCommand(os::SystemApi& api, const LibraryState& /*library*/,
                       os::WindowHandle host) {
    // The document is read as the command reads it. Saving it as the script
    // and starting the runner follow these two steps; until they are built,
    // the command ends here with the host's view as it found it.
    const std::u16string text = CaptureDocumentText(api, host);
    const std::u16string documentPath = QueryDocumentPath(api, host);
    static_cast<void>(text);
    static_cast<void>(documentPath);
}

}  // namespace tollik
