#pragma once
// One inquiry pass over the platform's Bluetooth: every device in range is recorded in the session's
// device list; a new device is announced, and a new or long-silent device is asked for its SDP
// records. The pass's sightings go to the sink (the history store) as one batch at its end.

#include "quillmark/bluetooth/platform/BluetoothPlatform.h"
#include "quillmark/core/DeviceSighting.h"
#include "quillmark/core/InquiryPass.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/SightingSink.h"

namespace qm {

// Runs one pass on the discovery thread; true when it completed, also when no device answered.
// Throws TError: "Unable to start device lookup.\n\nError: " or "Unable to read device
// information.\n\nError: " with the system error text, or the error of an SDP query. The sink may
// be null; it also gets what a failed pass recorded before its error.
bool BTPerformDiscovery(bt::TBluetoothPlatform& platform, TSessionState& session, IDiscoveryServices& thread,
                        ISightingSink* sink = nullptr);

class TBluetoothInquiryPass : public IInquiryPass {
public:
    TBluetoothInquiryPass(bt::TBluetoothPlatform& platform, TSessionState& session, ISightingSink* sink = nullptr)
        : FPlatform(platform), FSession(session), FSink(sink) {}
    bool Perform(IDiscoveryServices& thread) override {
        return BTPerformDiscovery(FPlatform, FSession, thread, FSink);
    }

private:
    bt::TBluetoothPlatform& FPlatform;
    TSessionState& FSession;
    ISightingSink* FSink;
};

}  // namespace qm
