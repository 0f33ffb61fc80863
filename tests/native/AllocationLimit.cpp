#include "AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {

std::atomic<std::size_t> g_largestAllowed{std::numeric_limits<std::size_t>::max()};

void* Allocate(std::size_t bytes) {
    if (bytes > g_largestAllowed.load(std::memory_order_relaxed)) throw std::bad_alloc();
    if (void* p = std::malloc(bytes == 0 ? 1 : bytes)) return p;
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t bytes) { return Allocate(bytes); }
void* operator new[](std::size_t bytes) { return Allocate(bytes); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace tollik::testing {

AllocationLimit::AllocationLimit(std::size_t largestBytes)
    : previous_(g_largestAllowed.exchange(largestBytes)) {}

AllocationLimit::~AllocationLimit() { g_largestAllowed.store(previous_); }

}  // namespace tollik::testing
