#pragma once
// Seams of ExecuteCommand for the library's own tests: how long the caller waits for the command
// to end, and which shell runs it (a shell that does not exist makes the start fail).

#include <chrono>

namespace zema {

// Replaces the wait of 15 s (a negative value restores it).
void SetCommandWait(std::chrono::milliseconds wait);

// Replaces /bin/sh (nullptr restores it). The text must outlive its use.
void SetCommandShell(const char* shellPath);

}  // namespace zema
