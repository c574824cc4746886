#pragma once
// The kernel's management channel as the emulated radio plays it, for its one controller (index
// 0): Read Controller Index List, Read Controller Information, and Set Powered, Set Connectable and
// Set Discoverable with the kernel's answers: Command Complete with the current settings after a
// New Settings event, Command Status for a refusal.

#include <cstdint>
#include <span>

#include "quillmark/bluetooth/platform/ManagementPackets.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedControllerState.h"
#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

class TEmulatedManagement {
public:
    TEmulatedManagement(const TControllerSettings& settings, TEmulatedControllerState& state)
        : settings_(settings), state_(state) {}

    // Serves commands until the other end closes the connection.
    void Serve(int fd);

private:
    void Handle(int fd, const TMgmtPacket& command);
    // The status of a Set command, its flags changed when the status is success.
    std::uint8_t Set(const TMgmtPacket& command);
    std::uint8_t SetDiscoverable(std::span<const std::uint8_t> parameters);
    std::uint32_t CurrentSettings() const;
    std::vector<std::uint8_t> ControllerInfo() const;

    const TControllerSettings& settings_;
    TEmulatedControllerState& state_;
};

}  // namespace qm::bt::emu
