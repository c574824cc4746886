#pragma once
// The inquiry procedure over a controller's HCI socket: HCI_Inquiry with the general inquiry
// access code, the results of all three formats until Inquiry Complete, and Remote Name Requests.

#include <optional>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/ProtocolLimits.h"
#include "quillmark/core/Clock.h"

namespace qm::bt {

class THciInquiry {
public:
    // The clock stamps each result with the time its event arrived.
    THciInquiry(int fd, const TProtocolLimits& limits, const IClock& clock = SystemClock())
        : fd_(fd), limits_(limits), clock_(clock) {}

    // Runs one inquiry of the default length; fills entries with the distinct devices in order of
    // their first result, each with what its latest result told. Returns 0 or the system error
    // number of the failure.
    int Run(std::vector<THciInquiryEntry>& entries);

    // The device's name by a Remote Name Request (raw bytes); none when it cannot be had in time.
    std::optional<std::string> RemoteName(const THciInquiryEntry& entry);

private:
    // Reads events until handle returns a result for one of them: that result, or the system error
    // number of the failed read (ETIMEDOUT once timeoutMs has passed).
    template <typename Handler>
    int AwaitEvent(int timeoutMs, Handler handle);
    int WaitCommandStatus(std::uint16_t opcode);
    int CollectResults(std::vector<THciInquiryEntry>& entries);
    void Merge(std::vector<THciInquiryEntry>& entries, THciInquiryEntry entry);
    void Send(const std::vector<std::uint8_t>& packet);

    int fd_;
    TProtocolLimits limits_;
    const IClock& clock_;
};

}  // namespace qm::bt
