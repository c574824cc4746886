#pragma once
// The machine's controllers for kernels without the management channel: the kernel's list of HCI
// devices, HCI reads on each powered one, and powering one up or down. A controller that is not
// powered answers no HCI command, so only its index and state are known. Connectable and
// discoverable cannot be switched this way (EOPNOTSUPP).

#include <cstdint>
#include <memory>
#include <vector>

#include "quillmark/bluetooth/platform/LocalRadios.h"

namespace qm::bt {

struct THciDevice {
    std::uint16_t index = 0;
    bool up = false;
};

// The kernel's HCI device list and power switch (ioctls on an HCI socket).
class THciDevices {
public:
    virtual ~THciDevices() = default;
    // 0, or a system error number.
    virtual int List(std::vector<THciDevice>& devices) = 0;
    virtual int SetUp(std::uint16_t index, bool up) = 0;
};

std::unique_ptr<TLocalRadios> MakeHciRadios(TSocketFactory& sockets, std::unique_ptr<THciDevices> devices,
                                            int replyTimeoutMs);

}  // namespace qm::bt
