#pragma once
// An emulated Bluetooth controller on one HCI connection: answers Inquiry with the results of the
// devices in range (each in its own result format), Remote Name Request, Inquiry Cancel and the
// local reads (address, name, version, class of device, scan enable), with the scenario's
// misbehaviours. The scan enable follows the radio's present connectable and discoverable state.
// It scans LE when asked (legacy commands, and the extended ones when the scenario's controller
// supports them) and then sends advertising reports on its own schedule.

#include <cstdint>
#include <functional>

#include "quillmark/bluetooth/platform/emulated/EmulatedControllerState.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedLeScanner.h"
#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

class TEmulatedController {
public:
    // elapsedSeconds: the time since the radio started, for the devices' presence.
    TEmulatedController(const TScenario& scenario, TEmulatedControllerState& state,
                        std::function<std::int64_t()> elapsedSeconds)
        : scenario_(scenario), state_(state), elapsedSeconds_(elapsedSeconds), scanner_(scenario, elapsedSeconds) {}

    // Serves commands, and advertising reports while scanning, until the other end closes the
    // connection.
    void Serve(int fd);

private:
    void Handle(int fd, std::uint16_t opcode, const std::uint8_t* parameters, std::size_t length);
    // The LE commands; false for an opcode that is none of them.
    bool HandleLe(int fd, std::uint16_t opcode, const std::uint8_t* parameters, std::size_t length);
    std::uint8_t EnableLeScan(bool enable, bool extended);
    void SendDueReports(int fd);
    void Inquiry(int fd);
    void RemoteName(int fd, const std::uint8_t* parameters, std::size_t length);
    const TEmulatedDevice* PresentDevice(const TBdAddr& address) const;

    const TScenario& scenario_;
    TEmulatedControllerState& state_;
    std::function<std::int64_t()> elapsedSeconds_;
    TEmulatedLeScanner scanner_;
    bool activeScan_ = false;
};

}  // namespace qm::bt::emu
