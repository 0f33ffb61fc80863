#pragma once
// The platform-free body of the PluginProc export.

#include <cstddef>

#include "os/SystemApi.h"

namespace tollik {

// Answers a host query for the plug-in's name or version: the answer's length
// in UTF-16 units (no terminator), copied into `buffer` by lstrcpynW's rule
// with `count` as its capacity when `buffer` is not null. Unknown codes give 0
// and leave the buffer alone.
os::LResult AnswerPluginQuery(os::SystemApi& api, os::ModuleHandle self, std::uint32_t code,
                              std::size_t count, char16_t* buffer) noexcept;

}  // namespace tollik
