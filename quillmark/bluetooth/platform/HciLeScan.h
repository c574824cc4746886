#pragma once
// LE scanning over a controller's raw HCI socket as a sighting stream. Start sets the LE event
// mask to the three advertising reports, reads the LE features and scans actively and
// continuously (window = interval) without duplicate filtering, with the extended commands on a
// controller that has them and the legacy ones otherwise. Every report becomes a sighting stamped
// by the clock; the fragments of an extended report are joined first (LeFragmentJoiner.h). With
// turns, the scan pauses while the radio's inquiry runs once the controller has refused the two
// at once (RadioTurns.h). Stop disables scanning with the command family that enabled it.
//
// Outcomes: EPERM or EACCES when sending a command (the kernel's filter without CAP_NET_RAW) is
// NotPermitted; a controller that answers an LE command with Unknown Command is Unsupported.

#include <chrono>
#include <cstdint>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/LeFragmentJoiner.h"
#include "quillmark/bluetooth/platform/ProtocolLimits.h"
#include "quillmark/bluetooth/platform/RadioTurns.h"
#include "quillmark/bluetooth/platform/SocketFactory.h"
#include "quillmark/core/Clock.h"
#include "quillmark/core/SightingStream.h"

namespace qm::bt {

class THciLeScan : public ISightingStream {
public:
    // turns may be null (no inquiry shares the radio); sockets, clock and turns outlive the stream.
    THciLeScan(TSocketFactory& sockets, const IClock& clock, TRadioTurns* turns = nullptr,
               const TProtocolLimits& limits = {})
        : sockets_(sockets), clock_(clock), turns_(turns), limits_(limits) {}
    ~THciLeScan() override;

    TStreamStatus Start() override;
    TStreamStatus Read(std::vector<TSighting>& sightings, int timeoutMs) override;
    void Stop() override;

    // How long Read waits on the socket at a time while taking turns, so that a pause is prompt.
    static constexpr int kTurnSliceMs = 50;
    // How long a controller's refusal to scan holds off the next attempt.
    static constexpr int kRefusalBackoffMs = 1000;

private:
    using TClock = std::chrono::steady_clock;

    // Sends the command and waits for its Command Complete or Command Status; status holds the
    // HCI status, complete (when given) the Command Complete.
    TStreamStatus Command(const std::vector<std::uint8_t>& packet, std::uint16_t opcode, std::uint8_t& status,
                          THciCommandComplete* complete = nullptr);
    TStreamStatus Configure();
    TStreamStatus Enable(bool on, std::uint8_t& status);
    TStreamStatus TakeTurn();
    TStreamStatus Resume();
    void Take(THciEvent& event);

    TSocketFactory& sockets_;
    const IClock& clock_;
    TRadioTurns* turns_;
    TProtocolLimits limits_;
    TUniqueFd fd_;
    bool extended_ = false;
    bool scanning_ = false;
    TClock::time_point retryAt_{};
    TLeFragmentJoiner joiner_;
    std::vector<TSighting> arrived_;
};

}  // namespace qm::bt
