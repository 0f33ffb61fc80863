#include "PluginApi/PluginQuery.h"

#include <algorithm>
#include <climits>

#include "PluginApi/PluginInfo.h"

namespace tollik {

os::LResult AnswerPluginQuery(os::SystemApi& api, os::ModuleHandle self, std::uint32_t code,
                              std::size_t count, char16_t* buffer) noexcept {
    std::uint32_t id = 0;
    if (code == PLUGIN_QUERY_NAME) {
        id = IDS_PLUGIN_NAME;
    } else if (code == PLUGIN_QUERY_VERSION) {
        id = IDS_PLUGIN_VERSION;
    } else {
        return 0;
    }
    // Loaded afresh on every call: the exports keep no state.
    char16_t answer[kPluginQueryBufferUnits] = {};
    const int length = api.LoadStringW(self, id, answer, kPluginQueryBufferUnits);
    if (buffer != nullptr) {
        // The host's count is pointer-sized, lstrcpynW's is an int. Any
        // capacity beyond INT_MAX holds the whole answer anyway, so clamping
        // keeps the rule without letting a huge count wrap to a small one.
        const int capacity = static_cast<int>(std::min<std::size_t>(count, INT_MAX));
        api.lstrcpynW(buffer, answer, capacity);
    }
    return std::max(length, 0);
}

}  // namespace tollik
