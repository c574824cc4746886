#pragma once
// Where another thread of this process is executing, as far as Linux tells it cheaply.

#include <sys/types.h>

#include <cstdint>

namespace zema {

// The instruction address of the thread with kernel id tid, read from /proc/self/task/<tid>/syscall,
// which the kernel fills for a thread that is blocked; 0 while the thread runs, after it ended, or
// where the file is not available.
std::uint64_t ReadThreadInstructionAddress(pid_t tid);

// The instruction address in the text of that file: its last field, when the text describes a
// blocked thread ("<syscall> <6 arguments> <sp> <pc>" or "-1 <sp> <pc>"); 0 otherwise.
std::uint64_t InstructionAddressFromSyscallText(const char* text);

}  // namespace zema
