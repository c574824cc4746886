#pragma once
// Connections over the kernel's Bluetooth sockets: a raw HCI socket on the first powered adapter,
// filtered to the events the inquiry reads, L2CAP connections to PSM 1, the management channel
// and raw HCI sockets on a chosen controller.

#include "quillmark/bluetooth/platform/SocketFactory.h"
#include "quillmark/bluetooth/platform/linux/KernelBluetoothAbi.h"

namespace qm::bt {

class TLinuxSocketFactory : public TSocketFactory {
public:
    // EAFNOSUPPORT without Bluetooth in the kernel, ENODEV without a powered adapter.
    TUniqueFd OpenController(int& error) override;
    // Without CAP_NET_RAW the kernel lets the LE commands fail with EPERM and no LE Meta event pass.
    TUniqueFd OpenLeController(int& error) override;
    TUniqueFd ConnectSdp(const TBdAddr& address, int timeoutMs, int& error) override;
    // Some kernels refuse the bind of an unprivileged process with EPERM.
    TUniqueFd OpenManagement(int& error) override;
    TUniqueFd OpenControllerAt(std::uint16_t index, int& error) override;
};

// The filter of the controller socket: HCI events of the kinds the inquiry procedure reads.
kernel::THciFilter InquiryEventFilter();
// The filter of the LE scanning socket: the command replies and LE Meta events.
kernel::THciFilter LeScanEventFilter();
// The filter of a controller socket that reads local information: the command replies only.
kernel::THciFilter CommandEventFilter();

}  // namespace qm::bt
