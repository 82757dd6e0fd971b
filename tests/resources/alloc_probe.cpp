#include "alloc_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<std::size_t> g_largest{0};

void* Allocate(std::size_t n) {
    std::size_t cur = g_largest.load(std::memory_order_relaxed);
    while (n > cur && !g_largest.compare_exchange_weak(cur, n, std::memory_order_relaxed)) {
    }
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace kestrel_test {
void ResetLargestAllocation() { g_largest.store(0); }
std::size_t LargestAllocation() { return g_largest.load(); }
}  // namespace kestrel_test
