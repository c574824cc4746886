#pragma once
// Where the library's own blocks of memory come from: malloc, unless the library's tests replace
// it to make allocations fail. Blocks go back with std::free, so a replacement must allocate
// compatibly. (The hash table has a seam of its own, SetHashTableAllocator.)

#include <cstddef>

namespace zema {

using Allocator = void* (*)(std::size_t size);

// A block of size bytes, or nullptr when memory is short.
void* Allocate(std::size_t size) noexcept;

// Replaces malloc (nullptr restores it).
void SetAllocator(Allocator allocator);

}  // namespace zema
