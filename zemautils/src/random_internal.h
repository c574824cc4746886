#pragma once
// Seam of RandomGet32 for the library's own tests: the kernel's random source, so its failure can
// be simulated.

#include <sys/types.h>

#include <cstddef>

namespace zema {

// Fills buffer like getrandom(2): the number of bytes written, or -1 with errno set.
using RandomSource = ssize_t (*)(void* buffer, std::size_t length, unsigned int flags);

// Replaces getrandom (nullptr restores it).
void SetRandomSource(RandomSource source);

}  // namespace zema
