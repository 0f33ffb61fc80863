#pragma once
// What a host must have received from one capture of the document, checked
// the same way by the native tests and by the stand-in host under Wine.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "EditorModel.h"

namespace tollik::testing {

// Every way `log` differs from one capture of a text of `length` units,
// followed by the document path query when `withPathQuery`: wrong messages,
// wParams or lParams, records not handed back where they came from. Empty
// when the log is exactly right.
std::vector<std::string> CaptureLogMismatches(const std::vector<ReceivedMessage>& log,
                                              std::size_t length, bool withPathQuery);

// Every way `editor` differs from a view put back after one capture: its
// records handed back unaltered, anchor, caret and scroll where they were,
// painting held once and resumed once.
std::vector<std::string> RestoredViewMismatches(const EditorModel& editor, std::int64_t anchor,
                                                std::int64_t caret, std::int64_t scroll);

}  // namespace tollik::testing
