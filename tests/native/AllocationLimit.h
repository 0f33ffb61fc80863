#pragma once
// While an AllocationLimit lives, any single allocation larger than its limit
// throws std::bad_alloc, as it would on a machine without that much memory.
// The test program replaces the global operator new to make this possible.

#include <cstddef>

namespace tollik::testing {

class AllocationLimit {
public:
    explicit AllocationLimit(std::size_t largestBytes);
    ~AllocationLimit();
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    std::size_t previous_;
};

}  // namespace tollik::testing
