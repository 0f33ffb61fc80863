#include "MachineWaits.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace tollik::test {

unsigned WaitForStarts(unsigned starts, unsigned startMilliseconds) {
    // Half as long again as the starts themselves, and a minute for the work.
    constexpr std::uint64_t kWork = 60000;
    constexpr std::uint64_t kLongest = 0xFFFFFFFEu;  // INFINITE is one more
    const std::uint64_t scaled = std::uint64_t{starts} * startMilliseconds * 3 / 2 + kWork;
    return static_cast<unsigned>(std::clamp<std::uint64_t>(scaled, kShortestWaitMilliseconds, kLongest));
}

unsigned StartMillisecondsFrom(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    std::uint64_t value = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9') return 0;
        value = value * 10 + static_cast<unsigned>(*c - '0');
        if (value > 0xFFFFFFFFu) return 0;
    }
    return static_cast<unsigned>(value);
}

unsigned WaitForStartsHere(unsigned starts) {
    return WaitForStarts(starts, StartMillisecondsFrom(std::getenv("TOLLIK_X86_32_START_MS")));
}

}  // namespace tollik::test
