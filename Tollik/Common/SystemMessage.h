#pragma once
// The system's own words for an error code.

#include <cstdint>
#include <string>

#include "os/SystemApi.h"

namespace tollik {

// FormatMessageW's text for `error`, without the line break and full stop
// its message table ends it with; empty when the system has none.
std::u16string SystemMessageText(os::SystemApi& api, std::uint32_t error);

}  // namespace tollik
