#pragma once
// An SQLite VFS for tests, registered as "qm-failing": it passes everything to the default VFS
// and, on demand, fails writes with a given result code or refuses to open files.

#include <atomic>

namespace qmtest {

inline constexpr const char* kFailingVfsName = "qm-failing";

struct TFailingVfsControl {
    // While not SQLITE_OK (0), writes fail with this code (truncations and syncs with an I/O
    // error); with writeFailuresLeft >= 0, only that many writes fail, and then writing passes again.
    std::atomic<int> writeError{0};
    std::atomic<int> writeFailuresLeft{-1};
    std::atomic<bool> refuseOpen{false};
};

// Registers the VFS once (not as the default) and returns its switches.
TFailingVfsControl& FailingVfs();

}  // namespace qmtest
