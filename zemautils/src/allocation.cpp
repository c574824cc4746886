#include "allocation.h"

#include <atomic>
#include <cstdlib>

namespace zema {
namespace {

void* SystemAllocate(std::size_t size) {
    return std::malloc(size);
}

std::atomic<Allocator> g_allocator{&SystemAllocate};

}  // namespace

void* Allocate(std::size_t size) noexcept {
    return g_allocator.load(std::memory_order_relaxed)(size);
}

void SetAllocator(Allocator allocator) {
    g_allocator.store(allocator ? allocator : &SystemAllocate, std::memory_order_relaxed);
}

}  // namespace zema
