#pragma once
// The SDP client over an L2CAP connection to a device's SDP server: one
// ServiceSearchAttributeRequest for a 16-bit UUID over all attributes, repeated with the
// server's continuation state until the attribute lists are complete, within the limits.

#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/ProtocolLimits.h"

namespace qm::bt {

class TSdpClient {
public:
    TSdpClient(int fd, const TProtocolLimits& limits) : fd_(fd), limits_(limits) {}

    // Fills records with the raw attribute-list sequence of every matching record. Returns 0, or
    // the system error number: ETIMEDOUT (no answer in time), EPROTO (an error response),
    // EBADMSG (a malformed response), EMSGSIZE (the limits on size or rounds), or the error of
    // the connection.
    int Query(std::uint16_t uuid16, std::vector<std::string>& records);

private:
    int fd_;
    TProtocolLimits limits_;
    std::uint16_t transaction_ = 0;
};

}  // namespace qm::bt
