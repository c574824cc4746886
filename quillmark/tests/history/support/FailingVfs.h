#pragma once
// An SQLite VFS for tests, registered as "qm-failing": it passes everything to the default VFS
// and, on demand, fails writes with SQLITE_FULL or refuses to open files.

#include <atomic>

namespace qmtest {

inline constexpr const char* kFailingVfsName = "qm-failing";

struct TFailingVfsControl {
    std::atomic<bool> failWrites{false};
    std::atomic<bool> refuseOpen{false};
};

// Registers the VFS once (not as the default) and returns its switches.
TFailingVfsControl& FailingVfs();

}  // namespace qmtest
