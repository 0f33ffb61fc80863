#include "HSPCmp/DocumentCapture.h"

#include <array>
#include <cstdint>
#include <new>

#include "PluginApi/HostMessages.h"
#include "util/ScopeExit.h"
#include "util/TerminatedText.h"

namespace tollik {
namespace {

os::LParam Address(void* record) { return reinterpret_cast<os::LParam>(record); }

// The text length the host announces: its count less one. The count is a
// signed 32-bit value in the low half of the result; subtracting in 64 bits
// keeps the smallest count from wrapping round to the largest length.
std::size_t AnnouncedLength(os::LResult answer) {
    const auto count = static_cast<std::int32_t>(static_cast<std::uint32_t>(answer));
    const std::int64_t length = std::int64_t{count} - 1;
    return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// Room for `length` units and the NUL the host may add after them, cleared
// to zero, so units the host leaves unwritten read as NUL. Committed pages
// come zeroed from the system: no pass over the text before the host's own.
CapturedText ZeroedText(os::SystemApi& api, std::size_t length) {
    if (length == 0) return {};
    void* pages = api.VirtualAlloc((length + 1) * sizeof(char16_t),
                                   os::kMemCommit | os::kMemReserve, os::kPageReadWrite);
    if (pages == nullptr) throw std::bad_alloc();
    return {os::unique_virtual_memory(api, pages), length};
}

}  // namespace

CapturedText CaptureDocumentText(os::SystemApi& api, os::WindowHandle host) {
    api.SendMessageW(host, MSG_ENABLE_REDRAW, 0, 0);
    const ScopeExit resumePainting([&] { api.SendMessageW(host, MSG_ENABLE_REDRAW, 1, 0); });

    HostPosition anchor{};
    HostPosition caret{};
    HostPosition scroll{};
    api.SendMessageW(host, MSG_QUERY_ANCHOR, kPositionKindLogical, Address(&anchor));
    api.SendMessageW(host, MSG_QUERY_CARET, kPositionKindLogical, Address(&caret));
    api.SendMessageW(host, MSG_QUERY_SCROLL, 0, Address(&scroll));
    const auto restore = [&] {
        api.SendMessageW(host, MSG_PLACE_CARET, kPositionKindLogical, Address(&anchor));
        api.SendMessageW(host, MSG_PLACE_CARET, kPlaceCaretExtend | kPositionKindLogical,
                         Address(&caret));
        api.SendMessageW(host, MSG_PLACE_SCROLL, 0, Address(&scroll));
    };
    api.SendMessageW(host, MSG_RUN_HOST_COMMAND, CMD_SELECT_ALL, 0);
    // A capture that fails (no memory for the text) must not leave the whole
    // document selected: the user's next key would replace all of it.
    bool restored = false;
    const ScopeExit restoreOnFailure([&] {
        if (!restored) restore();
    });

    const std::size_t length =
        AnnouncedLength(api.SendMessageW(host, MSG_QUERY_SELECTION_TEXT, 0, 0));
    CapturedText text = ZeroedText(api, length);
    // The capacity passed is the room really given: a count of 0 or below
    // yields no buffer, and then no capacity either.
    api.SendMessageW(host, MSG_QUERY_SELECTION_TEXT, static_cast<std::uint32_t>(length),
                     Address(text.data()));

    restored = true;
    restore();
    return text;
}

std::u16string QueryDocumentPath(os::SystemApi& api, os::WindowHandle host) {
    std::array<char16_t, kDocumentPathCapacity> buffer{};
    api.SendMessageW(host, MSG_QUERY_DOCUMENT_PATH, kDocumentPathFlags, Address(buffer.data()));
    // A host that fills all the room without a terminator still gives 261 units.
    return std::u16string(UpToTerminator({buffer.data(), buffer.size()}));
}

}  // namespace tollik
