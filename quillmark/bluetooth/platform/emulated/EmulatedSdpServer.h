#pragma once
// An emulated device's SDP server on one L2CAP connection: answers ServiceSearchAttributeRequest
// with the device's records, a few bytes per response (the scenario's MTU) with continuation
// states, and plays the device's SDP misbehaviours.

#include <cstddef>

#include "quillmark/bluetooth/platform/emulated/Scenario.h"

namespace qm::bt::emu {

// Serves requests until the other end closes the connection.
void ServeSdp(int fd, const TEmulatedDevice& device, std::size_t mtu);

}  // namespace qm::bt::emu
