#pragma once
// The platform's lookups built on our HCI and SDP protocol code over connections from a socket
// factory: the kernel's sockets on Linux, the emulated radio elsewhere.

#include "quillmark/bluetooth/platform/BluetoothPlatform.h"
#include "quillmark/bluetooth/platform/ProtocolLimits.h"
#include "quillmark/bluetooth/platform/RadioTurns.h"
#include "quillmark/bluetooth/platform/SocketFactory.h"
#include "quillmark/core/Clock.h"

namespace qm::bt {

class TProtocolPlatform : public TBluetoothPlatform {
public:
    // The clock stamps the inquiry's results with the time they arrived. With turns (which
    // outlive the platform) the inquiry takes its turn with the radio's LE scan.
    explicit TProtocolPlatform(TSocketFactory& sockets, const TProtocolLimits& limits = {},
                               const IClock& clock = SystemClock(), TRadioTurns* turns = nullptr)
        : sockets_(sockets), limits_(limits), clock_(clock), turns_(turns) {}

    // The inquiry runs to its completion here; the results are then read one by one, and a device
    // whose result carried no name is asked for it when its result is read. An inquiry the
    // controller refuses as busy (Command Disallowed) while the LE scan shares the radio is tried
    // once more after the scan has paused.
    TLookupStatus BeginInquiry(std::unique_ptr<TInquiryLookup>& lookup) override;
    // The whole SDP query runs here; the records are then read one by one.
    TLookupStatus BeginServiceLookup(const std::string& addressText,
                                     std::unique_ptr<TServiceLookup>& lookup) override;

private:
    TSocketFactory& sockets_;
    TProtocolLimits limits_;
    const IClock& clock_;
    TRadioTurns* turns_;
};

}  // namespace qm::bt
