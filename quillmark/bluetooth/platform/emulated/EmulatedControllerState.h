#pragma once
// The emulated controller's switchable state: powered, connectable, discoverable. One per radio,
// shared by all its connections and threads, with the kernel's couplings: discoverable needs
// connectable, and connectable off ends discoverable. It also counts the inquiries and LE scans
// under way, for a controller that cannot run both at once.

#include <mutex>

#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

struct TControllerFlags {
    bool powered = false;
    bool connectable = false;
    bool discoverable = false;
};

class TEmulatedControllerState {
public:
    explicit TEmulatedControllerState(const TControllerSettings& settings)
        : flags_{settings.powered, settings.connectable, settings.discoverable} {}

    TControllerFlags Flags() const;
    void SetPowered(bool on);
    void SetConnectable(bool on);
    // False, changing nothing, for discoverable on while not connectable.
    bool SetDiscoverable(bool on);

    // With exclusive, false (and nothing started) while the other activity is under way.
    bool TryStartInquiry(bool exclusive);
    void EndInquiry();
    bool TryStartLeScan(bool exclusive);
    void EndLeScan();

private:
    mutable std::mutex mutex_;
    TControllerFlags flags_;
    int inquiries_ = 0;
    int leScans_ = 0;
};

}  // namespace qm::bt::emu
