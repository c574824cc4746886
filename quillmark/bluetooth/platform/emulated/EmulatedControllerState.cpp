#include "quillmark/bluetooth/platform/emulated/EmulatedControllerState.h"

namespace qm::bt::emu {

TControllerFlags TEmulatedControllerState::Flags() const {
    std::lock_guard lock(mutex_);
    return flags_;
}

void TEmulatedControllerState::SetPowered(bool on) {
    std::lock_guard lock(mutex_);
    flags_.powered = on;
}

void TEmulatedControllerState::SetConnectable(bool on) {
    std::lock_guard lock(mutex_);
    flags_.connectable = on;
    if (!on) flags_.discoverable = false;
}

bool TEmulatedControllerState::SetDiscoverable(bool on) {
    std::lock_guard lock(mutex_);
    if (on && !flags_.connectable) return false;
    flags_.discoverable = on;
    return true;
}

}  // namespace qm::bt::emu
