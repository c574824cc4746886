#pragma once
// Seams of the time base for the library's own tests: the raw 32-bit millisecond source and the
// sleep primitive can be replaced, so a wrap of the counter and timed loops run without waiting.
// Not exported from the shared library.

#include <cstdint>

namespace zema {

using RawMillisecondSource = std::uint32_t (*)();
using MillisecondSleeper = void (*)(std::uint64_t milliseconds);

// Replaces the raw source (nullptr restores CLOCK_MONOTONIC) and restarts the extended count
// from the new source's reading.
void SetRawMillisecondSource(RawMillisecondSource source);

// Replaces the sleep primitive (nullptr restores nanosleep).
void SetMillisecondSleeper(MillisecondSleeper sleeper);

}  // namespace zema
