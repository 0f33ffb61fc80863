#pragma once
// Allocation faults belong to the code under test. The fake Windows stands
// for the system, whose calls never throw std::bad_alloc, so each of its
// calls pauses whatever counts or fails allocations while it runs.

namespace tollik::fake {

class AllocationFaultPause {
public:
    AllocationFaultPause();
    ~AllocationFaultPause();
    AllocationFaultPause(const AllocationFaultPause&) = delete;
    AllocationFaultPause& operator=(const AllocationFaultPause&) = delete;
};

// True while a fake call runs on this thread.
bool AllocationFaultsPaused();

}  // namespace tollik::fake
