#pragma once
// The kernel's HCI device list and power switch through ioctls on an HCI socket. Powering up or
// down needs CAP_NET_ADMIN (EPERM otherwise); a blocked radio does not power up (ERFKILL).

#include <memory>

#include "quillmark/bluetooth/platform/HciRadios.h"

namespace qm::bt {

std::unique_ptr<THciDevices> MakeLinuxHciDevices();

}  // namespace qm::bt
