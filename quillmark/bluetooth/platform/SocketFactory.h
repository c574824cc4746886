#pragma once
// Where the protocol code gets its connections: a raw HCI socket to the local controller, an
// L2CAP connection to a remote device's SDP server (PSM 1), and the kernel's management channel
// with raw HCI sockets on a chosen controller for reading the machine's own radios. All are message
// sockets: one read returns one whole HCI event, SDP PDU or management event. On failure the
// descriptor is invalid and error holds the system error number.

#include <cerrno>
#include <cstdint>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"
#include "quillmark/bluetooth/platform/UniqueFd.h"

namespace qm::bt {

class TSocketFactory {
public:
    virtual ~TSocketFactory() = default;
    virtual TUniqueFd OpenController(int& error) = 0;
    // A raw HCI socket like OpenController's for LE scanning: passing Command Status, Command
    // Complete and LE Meta events. By default the controller socket itself.
    virtual TUniqueFd OpenLeController(int& error) { return OpenController(error); }
    virtual TUniqueFd ConnectSdp(const TBdAddr& address, int timeoutMs, int& error) = 0;

    // The management channel of all controllers. A factory without one fails with EAFNOSUPPORT,
    // as a kernel without Bluetooth does.
    virtual TUniqueFd OpenManagement(int& error) {
        error = EAFNOSUPPORT;
        return TUniqueFd();
    }
    // A raw HCI socket on controller hciN, powered or not, passing Command Status and Command
    // Complete events.
    virtual TUniqueFd OpenControllerAt(std::uint16_t /*index*/, int& error) {
        error = EAFNOSUPPORT;
        return TUniqueFd();
    }
};

}  // namespace qm::bt
