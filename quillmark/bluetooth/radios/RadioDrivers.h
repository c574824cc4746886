#pragma once
// Switching the drivers of every present Bluetooth device on or off through the device installer.
// Failures are raised as TError; devices before the failing one stay switched.

#include <cstdint>

#include "quillmark/bluetooth/radios/DeviceInstaller.h"

namespace qm::bt {

void SetRadioDriversEnabled(TDeviceInstaller& installer, bool on);

// Applies one state change (kStateEnable or kStateDisable) in one scope to one device of the set.
void ChangeDeviceState(TDeviceInstaller& installer, std::uint32_t device, std::uint32_t state,
                       std::uint32_t scope);

}  // namespace qm::bt
