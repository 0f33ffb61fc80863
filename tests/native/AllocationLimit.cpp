#include "AllocationLimit.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

#include "AllocationFaults.h"

namespace {

std::atomic<std::size_t> g_largestAllowed{std::numeric_limits<std::size_t>::max()};
// The fault sweep runs on one thread; counting is off while `g_counting` is false.
std::atomic<bool> g_counting{false};
std::atomic<std::size_t> g_counted{0};
std::atomic<std::size_t> g_failing{0};

void* Allocate(std::size_t bytes) {
    if (!tollik::fake::AllocationFaultsPaused()) {
        if (bytes > g_largestAllowed.load(std::memory_order_relaxed)) throw std::bad_alloc();
        if (g_counting.load(std::memory_order_relaxed)) {
            const std::size_t number = ++g_counted;
            if (number == g_failing.load(std::memory_order_relaxed)) throw std::bad_alloc();
        }
    }
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
// The non-throwing forms too (std::stable_sort's buffer comes from them), so
// that every block is released by the allocator that made it.
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return Allocate(bytes);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t bytes, const std::nothrow_t& tag) noexcept {
    return operator new(bytes, tag);
}
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace tollik::testing {

AllocationLimit::AllocationLimit(std::size_t largestBytes)
    : previous_(g_largestAllowed.exchange(largestBytes)) {}

AllocationLimit::~AllocationLimit() { g_largestAllowed.store(previous_); }

AllocationFault::AllocationFault(std::size_t failing) {
    g_counted = 0;
    g_failing = failing;
    g_counting = true;
}

AllocationFault::~AllocationFault() {
    g_counting = false;
    g_failing = 0;
}

std::size_t AllocationFault::Count() const { return g_counted.load(); }

}  // namespace tollik::testing
