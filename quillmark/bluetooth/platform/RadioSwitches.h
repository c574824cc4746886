#pragma once
// The kernel's Bluetooth radio kill switches (rfkill): list them, block or unblock one, or all.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qm::bt {

struct TRadioSwitch {
    std::uint32_t id = 0;
    bool softBlocked = false;
    bool hardBlocked = false;
};

class TRadioSwitches {
public:
    virtual ~TRadioSwitches() = default;
    // The Bluetooth switches present now, in id order. 0, or a system error number.
    virtual int List(std::vector<TRadioSwitch>& switches) = 0;
    // Blocks or unblocks one switch. 0, or a system error number (ENODEV when it is gone).
    virtual int SetBlocked(std::uint32_t id, bool blocked) = 0;
    // Blocks or unblocks every Bluetooth switch. 0, or a system error number.
    virtual int SetAllBlocked(bool blocked) = 0;
    // The switch of controller hciN. 0 and id set, ENOENT when it has none, or an error number.
    virtual int SwitchOfController(std::uint16_t index, std::uint32_t& id) = 0;
};

// /dev/rfkill and /sys/class/bluetooth/hciN/rfkill*; the paths can be replaced for tests.
std::unique_ptr<TRadioSwitches> MakeLinuxRadioSwitches(const std::string& device = "/dev/rfkill",
                                                       const std::string& sysfsRoot = "/sys");

}  // namespace qm::bt
