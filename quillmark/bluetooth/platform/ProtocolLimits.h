#pragma once
// Bounds on every wait for a remote party and on what it may send, so that a silent, slow or
// hostile device delays a pass by seconds but never hangs it or exhausts memory.

#include <cstddef>

namespace qm::bt {

struct TProtocolLimits {
    int commandStatusMs = 2000;            // a command's Command Status / Command Complete
    int inquiryCompleteMs = 16000;         // default inquiry length (10.24 s) plus a margin
    int remoteNameMs = 10000;              // one Remote Name Request
    int sdpConnectMs = 10000;              // L2CAP connect to PSM 1
    int sdpResponseMs = 5000;              // each SDP response PDU
    int sdpTotalMs = 30000;                // one whole SDP query, all continuation rounds
    std::size_t sdpMaxBytes = 1 << 20;     // reassembled attribute lists
    int sdpMaxRounds = 1024;               // continuation rounds
    std::size_t maxInquiryResults = 4096;  // distinct devices kept from one inquiry
};

}  // namespace qm::bt
