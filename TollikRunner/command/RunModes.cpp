#include "command/RunModes.h"

namespace tollik::runner {

const RunMode* FindRunMode(std::int32_t number) {
    for (const RunMode& mode : kRunModes)
        if (mode.number == number) return &mode;
    return nullptr;
}

}  // namespace tollik::runner
