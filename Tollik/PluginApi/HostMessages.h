#pragma once
// The messages the plug-in sends to the host editor's window, and the record
// the host fills in answer. Numbers are the host's own and absolute.

#include <cstddef>
#include <cstdint>

namespace tollik {

// Painting: wParam 0 holds it, 1 resumes it.
inline constexpr std::uint32_t MSG_ENABLE_REDRAW = 0x0823;
// Positions: the host fills the HostPosition that lParam points at.
inline constexpr std::uint32_t MSG_QUERY_ANCHOR = 0x0815;
inline constexpr std::uint32_t MSG_QUERY_CARET = 0x0816;
inline constexpr std::uint32_t MSG_QUERY_SCROLL = 0x0807;
// Runs the host command whose id is wParam.
inline constexpr std::uint32_t MSG_RUN_HOST_COMMAND = 0x0812;
// (0, 0) answers the selection's length plus one; (capacity, buffer) copies it.
inline constexpr std::uint32_t MSG_QUERY_SELECTION_TEXT = 0x0803;
// Moves the caret to a HostPosition; the high word of wParam extends the selection.
inline constexpr std::uint32_t MSG_PLACE_CARET = 0x080F;
inline constexpr std::uint32_t MSG_PLACE_SCROLL = 0x0810;
// Writes the active document's full path into a buffer of kDocumentPathCapacity units.
inline constexpr std::uint32_t MSG_QUERY_DOCUMENT_PATH = 0x0826;

inline constexpr std::uint32_t CMD_SELECT_ALL = 2105;

// Host-defined selectors that go with the messages above.
inline constexpr std::uint32_t kPositionKindLogical = 1;
inline constexpr std::uint32_t kPlaceCaretExtend = 0x10000;  // high word 1
inline constexpr std::uint32_t kDocumentPathFlags = 256;
inline constexpr std::size_t kDocumentPathCapacity = 261;

// A position as the host reports it. The plug-in never looks inside; it only
// hands the bytes back to the host that wrote them.
struct HostPosition {
    std::byte raw[8];
};
static_assert(sizeof(HostPosition) == 8);

}  // namespace tollik
