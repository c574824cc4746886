#pragma once
// Where the protocol code gets its connections: a raw HCI socket to the local controller and an
// L2CAP connection to a remote device's SDP server (PSM 1). Both are message sockets: one read
// returns one whole HCI event or SDP PDU. On failure the descriptor is invalid and error holds
// the system error number.

#include "quillmark/bluetooth/platform/BluetoothAddress.h"
#include "quillmark/bluetooth/platform/UniqueFd.h"

namespace qm::bt {

class TSocketFactory {
public:
    virtual ~TSocketFactory() = default;
    virtual TUniqueFd OpenController(int& error) = 0;
    virtual TUniqueFd ConnectSdp(const TBdAddr& address, int timeoutMs, int& error) = 0;
};

}  // namespace qm::bt
