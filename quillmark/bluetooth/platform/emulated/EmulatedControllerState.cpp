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

bool TEmulatedControllerState::TryStartInquiry(bool exclusive) {
    std::lock_guard lock(mutex_);
    if (exclusive && leScans_ > 0) return false;
    ++inquiries_;
    return true;
}

void TEmulatedControllerState::EndInquiry() {
    std::lock_guard lock(mutex_);
    --inquiries_;
}

bool TEmulatedControllerState::TryStartLeScan(bool exclusive) {
    std::lock_guard lock(mutex_);
    if (exclusive && inquiries_ > 0) return false;
    ++leScans_;
    return true;
}

void TEmulatedControllerState::EndLeScan() {
    std::lock_guard lock(mutex_);
    --leScans_;
}

}  // namespace qm::bt::emu
