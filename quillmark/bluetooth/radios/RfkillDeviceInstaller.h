#pragma once
// The device installer on Linux: the present Bluetooth devices are the kernel's Bluetooth kill
// switches. Enabling unblocks and disabling blocks; the global scope acts on every Bluetooth
// switch at once (and on the kernel's default for switches yet to come), the current one on the
// device's own switch. Error numbers are the system's.

#include <vector>

#include "quillmark/bluetooth/platform/RadioSwitches.h"
#include "quillmark/bluetooth/radios/DeviceInstaller.h"

namespace qm::bt {

class TRfkillDeviceInstaller : public TDeviceInstaller {
public:
    explicit TRfkillDeviceInstaller(TRadioSwitches& switches) : FSwitches(switches) {}

    bool GetClassDevs(std::uint32_t& error) override;
    bool EnumDeviceInfo(std::uint32_t index, std::uint32_t& error) override;
    bool SetClassInstallParams(std::uint32_t device, const TPropertyChangeParams& params, std::size_t size,
                               std::uint32_t& error) override;
    bool CallClassInstaller(std::uint32_t function, std::uint32_t device, std::uint32_t& error) override;
    bool GetDeviceInstallParams(std::uint32_t device, std::uint32_t& error) override;
    void DestroyDeviceInfoList() override;

private:
    struct TDevice {
        TRadioSwitch radioSwitch;
        TPropertyChangeParams change;
        bool changeSet = false;
    };

    bool InSet(std::uint32_t device, std::uint32_t& error) const;
    int Apply(const TDevice& device);

    TRadioSwitches& FSwitches;
    std::vector<TDevice> FSet;
};

}  // namespace qm::bt
