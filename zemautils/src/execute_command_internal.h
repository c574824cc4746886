#pragma once
// Seams of ExecuteCommand for the library's own tests: how long the caller waits for the command
// to end, which shell runs it (a shell that does not exist makes the start fail), and how the
// reaper watches commands.

#include <chrono>

namespace zema {

// Replaces the wait of 15 s (a negative value restores it).
void SetCommandWait(std::chrono::milliseconds wait);

// Replaces /bin/sh (nullptr restores it). The text must outlive its use.
void SetCommandShell(const char* shellPath);

// Whether the reaper watches commands started from now on through process descriptors (true, the
// default) or, as it does when the process has no descriptor to spare, by looking every 50 ms.
void SetCommandProcessDescriptors(bool use);

}  // namespace zema
