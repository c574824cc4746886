#pragma once
// Seams of the watchdog for the library's own tests: a fresh watchdog state between tests, and a
// replacement for reading another thread's instruction address. The clock is the time base's
// (see timebase_internal.h).

#include <sys/types.h>

#include <cstdint>

namespace zema {

// Forgets every registered thread and returns every contract to the pool.
void ResetWatchdog();

// Reads a thread's instruction address from its kernel thread id.
using InstructionAddressReader = std::uint64_t (*)(pid_t tid);

// Replaces the /proc reader (nullptr restores it).
void SetInstructionAddressReader(InstructionAddressReader reader);

}  // namespace zema
