#pragma once
// Control over the test program's allocations, which it routes through its
// own global operator new. Only the code under test is affected: calls into
// the fake Windows pause both controls.

#include <cstddef>

namespace tollik::testing {

// While it lives, any single allocation larger than its limit throws
// std::bad_alloc, as it would on a machine without that much memory.
class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largestBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    std::size_t previous_;
};

// While it lives, allocations are counted from 1, and the one numbered
// `failing` throws std::bad_alloc (0: none does).
class AllocationFault {
public:
    explicit AllocationFault(std::size_t failing);
    ~AllocationFault();
    AllocationFault(const AllocationFault&) = delete;
    AllocationFault& operator=(const AllocationFault&) = delete;

    std::size_t Count() const;  // allocations attempted so far
};

}  // namespace tollik::testing
