#pragma once
// Reading the active document out of the host editor, through its selection,
// without disturbing what the user sees.

#include <cstddef>
#include <string>
#include <string_view>

#include "os/Handles.h"
#include "os/SystemApi.h"

namespace tollik {

// The document's text, in pages the system handed out cleared to zero (a
// large text is never written twice, once with zeros and once by the
// host); no pages for an empty text.
struct CapturedText {
    os::unique_virtual_memory pages;
    std::size_t length = 0;  // in UTF-16 units

    char16_t* data() const noexcept { return static_cast<char16_t*>(pages.get()); }
    std::u16string_view view() const noexcept { return {data(), length}; }
};

// The whole text of the host's active document. Selects everything with
// painting held, reads the selection, and puts anchor, caret and scroll
// position back; painting is resumed on every path. Throws std::bad_alloc
// when the system has no memory for the text.
CapturedText CaptureDocumentText(os::SystemApi& api, os::WindowHandle host);

// The active document's full path; empty when it has never been saved.
std::u16string QueryDocumentPath(os::SystemApi& api, os::WindowHandle host);

}  // namespace tollik
