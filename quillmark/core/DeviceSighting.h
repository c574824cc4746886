#pragma once
// One sighting of a device, recorded in the device list the same way whether it comes from a live
// inquiry or from a capture read later: a new address gets a record first seen now; the sighting
// then sets the name (when it carries one), the class (when it carries one), last seen, the
// location and the signal (when it carries one), and counts the sighting.

#include <cstdint>
#include <optional>
#include <string>

#include "quillmark/core/Clock.h"
#include "quillmark/core/DeviceList.h"
#include "quillmark/core/Sighting.h"

namespace qm {

// A device silent for more than this many seconds is asked for its SDP records again.
inline constexpr std::int32_t kSdpRequeryAfterSeconds = 300;

struct TSightingOutcome {
    TBTDevice* device;  // valid while the caller holds the list's lock
    bool isNew = false;
    bool sdpDue = false;  // new, or silent for more than kSdpRequeryAfterSeconds
};

// The caller holds the list's lock. The clock is read anew at each step.
TSightingOutcome RecordSighting(TDeviceList& list, const TSighting& sighting, const std::string& location,
                                const IClock& clock);

}  // namespace qm
