#pragma once
// Reading the active document out of the host editor, through its selection,
// without disturbing what the user sees.

#include <string>

#include "os/SystemApi.h"

namespace tollik {

// The whole text of the host's active document. Selects everything with
// painting held, reads the selection, and puts anchor, caret and scroll
// position back; painting is resumed on every path.
std::u16string CaptureDocumentText(os::SystemApi& api, os::WindowHandle host);

// The active document's full path; empty when it has never been saved.
std::u16string QueryDocumentPath(os::SystemApi& api, os::WindowHandle host);

}  // namespace tollik
