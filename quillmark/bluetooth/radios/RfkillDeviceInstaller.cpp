#include "quillmark/bluetooth/radios/RfkillDeviceInstaller.h"

#include <cerrno>

namespace qm::bt {

bool TRfkillDeviceInstaller::GetClassDevs(std::uint32_t& error) {
    std::vector<TRadioSwitch> switches;
    if (const int failure = FSwitches.List(switches); failure != 0) {
        error = static_cast<std::uint32_t>(failure);
        return false;
    }
    FSet.clear();
    for (const TRadioSwitch& radioSwitch : switches) FSet.push_back(TDevice{radioSwitch, {}, false});
    return true;
}

bool TRfkillDeviceInstaller::InSet(std::uint32_t device, std::uint32_t& error) const {
    if (device < FSet.size()) return true;
    error = EINVAL;
    return false;
}

bool TRfkillDeviceInstaller::EnumDeviceInfo(std::uint32_t index, std::uint32_t& error) {
    if (index < FSet.size()) return true;
    error = kNoMoreItems;
    return false;
}

bool TRfkillDeviceInstaller::SetClassInstallParams(std::uint32_t device, const TPropertyChangeParams& params,
                                                   std::size_t size, std::uint32_t& error) {
    if (!InSet(device, error)) return false;
    const bool known = params.stateChange == kStateEnable || params.stateChange == kStateDisable;
    if (size != sizeof params || params.installFunction != kPropertyChangeRequest || !known) {
        error = EINVAL;
        return false;
    }
    FSet[device].change = params;
    FSet[device].changeSet = true;
    return true;
}

int TRfkillDeviceInstaller::Apply(const TDevice& device) {
    const bool block = device.change.stateChange == kStateDisable;
    if (device.change.scope == kScopeGlobal) return FSwitches.SetAllBlocked(block);
    return FSwitches.SetBlocked(device.radioSwitch.id, block);
}

bool TRfkillDeviceInstaller::CallClassInstaller(std::uint32_t function, std::uint32_t device,
                                                std::uint32_t& error) {
    if (!InSet(device, error)) return false;
    if (function != kPropertyChangeRequest || !FSet[device].changeSet) {
        error = EINVAL;
        return false;
    }
    const int failure = Apply(FSet[device]);
    error = static_cast<std::uint32_t>(failure);
    return failure == 0;
}

// The install parameters of a switch are its present state: reading them fails when it is gone.
bool TRfkillDeviceInstaller::GetDeviceInstallParams(std::uint32_t device, std::uint32_t& error) {
    if (!InSet(device, error)) return false;
    std::vector<TRadioSwitch> switches;
    if (const int failure = FSwitches.List(switches); failure != 0) {
        error = static_cast<std::uint32_t>(failure);
        return false;
    }
    for (const TRadioSwitch& present : switches)
        if (present.id == FSet[device].radioSwitch.id) return true;
    error = ENODEV;
    return false;
}

void TRfkillDeviceInstaller::DestroyDeviceInfoList() { FSet.clear(); }

}  // namespace qm::bt
