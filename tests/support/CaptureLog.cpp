#include "CaptureLog.h"

#include <cstdint>

#include "PluginApi/HostMessages.h"

namespace tollik::testing {
namespace {

enum class Pointer { Null, Anchor, Caret, Scroll, TextBuffer, PathBuffer };

struct Expected {
    std::uint32_t message;
    std::uintptr_t wParam;
    Pointer lParam;
};

}  // namespace

std::vector<std::string> CaptureLogMismatches(const std::vector<ReceivedMessage>& log,
                                              std::size_t length, bool withPathQuery) {
    std::vector<Expected> expected = {
        {MSG_ENABLE_REDRAW, 0, Pointer::Null},
        {MSG_QUERY_ANCHOR, 1, Pointer::Anchor},
        {MSG_QUERY_CARET, 1, Pointer::Caret},
        {MSG_QUERY_SCROLL, 0, Pointer::Scroll},
        {MSG_RUN_HOST_COMMAND, CMD_SELECT_ALL, Pointer::Null},
        {MSG_QUERY_SELECTION_TEXT, 0, Pointer::Null},
        {MSG_QUERY_SELECTION_TEXT, length, length > 0 ? Pointer::TextBuffer : Pointer::Null},
        {MSG_PLACE_CARET, 1, Pointer::Anchor},
        {MSG_PLACE_CARET, 65537, Pointer::Caret},
        {MSG_PLACE_SCROLL, 0, Pointer::Scroll},
        {MSG_ENABLE_REDRAW, 1, Pointer::Null},
    };
    if (withPathQuery) expected.push_back({MSG_QUERY_DOCUMENT_PATH, 256, Pointer::PathBuffer});

    std::vector<std::string> mismatches;
    if (log.size() != expected.size()) {
        mismatches.push_back("received " + std::to_string(log.size()) + " messages, expected " +
                             std::to_string(expected.size()));
        return mismatches;
    }
    // The address each record was first seen at; it must come back the same.
    std::intptr_t seen[6] = {};
    for (std::size_t i = 0; i < log.size(); ++i) {
        const ReceivedMessage& got = log[i];
        const Expected& want = expected[i];
        const std::string at = "message " + std::to_string(i) + ": ";
        if (got.message != want.message) {
            mismatches.push_back(at + "number " + std::to_string(got.message) + ", expected " +
                                 std::to_string(want.message));
        }
        if (got.wParam != want.wParam) {
            mismatches.push_back(at + "wParam " + std::to_string(got.wParam) + ", expected " +
                                 std::to_string(want.wParam));
        }
        if (want.lParam == Pointer::Null) {
            if (got.lParam != 0) mismatches.push_back(at + "lParam should be 0");
            continue;
        }
        if (got.lParam == 0) {
            mismatches.push_back(at + "lParam should point at a buffer");
            continue;
        }
        std::intptr_t& first = seen[static_cast<int>(want.lParam)];
        if (first == 0) {
            for (const std::intptr_t other : seen) {
                if (other == got.lParam) mismatches.push_back(at + "two records share one address");
            }
            first = got.lParam;
        } else if (first != got.lParam) {
            mismatches.push_back(at + "a different record came back than the host filled");
        }
    }
    return mismatches;
}

std::vector<std::string> RestoredViewMismatches(const EditorModel& editor, std::int64_t anchor,
                                                std::int64_t caret, std::int64_t scroll) {
    std::vector<std::string> mismatches;
    const auto check = [&](bool holds, const std::string& what) {
        if (!holds) mismatches.push_back(what);
    };
    check(editor.foreignRecords == 0, "a position came back altered or swapped");
    check(editor.anchor == anchor, "anchor at " + std::to_string(editor.anchor) + ", expected " +
                                       std::to_string(anchor));
    check(editor.caret == caret, "caret at " + std::to_string(editor.caret) + ", expected " +
                                     std::to_string(caret));
    check(editor.scroll == scroll, "scroll at " + std::to_string(editor.scroll) + ", expected " +
                                       std::to_string(scroll));
    check(!editor.paintingHeld, "painting left held");
    check(editor.paintingHolds == 1 && editor.paintingResumes == 1,
          "painting held " + std::to_string(editor.paintingHolds) + " times, resumed " +
              std::to_string(editor.paintingResumes));
    return mismatches;
}

}  // namespace tollik::testing
