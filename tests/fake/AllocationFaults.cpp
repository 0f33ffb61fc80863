#include "AllocationFaults.h"

namespace tollik::fake {
namespace {

thread_local int t_pauseDepth = 0;

}  // namespace

AllocationFaultPause::AllocationFaultPause() {
    ++t_pauseDepth;
}

AllocationFaultPause::~AllocationFaultPause() {
    --t_pauseDepth;
}

bool AllocationFaultsPaused() {
    return t_pauseDepth > 0;
}

}  // namespace tollik::fake
