#include "quillmark/core/DeviceSighting.h"

#include <limits>

namespace qm {

namespace {

// A session file may hold any 32-bit count, so the count stops at its maximum instead of overflowing.
std::int32_t CountedOnce(std::int32_t seenCount) {
    return seenCount == std::numeric_limits<std::int32_t>::max() ? seenCount : seenCount + 1;
}

}  // namespace

TSightingOutcome RecordSighting(TDeviceList& list, const TSighting& sighting, const std::string& location,
                                const IClock& clock) {
    TSightingOutcome outcome{list.FindDevice(sighting.address)};
    TBTDevice*& device = outcome.device;
    if (!device) {
        device = &list.Add();
        device->SetAddress(sighting.address);
        device->SetFirstSeen(clock.Now());
        device->SetLastSeen(clock.Now());
        outcome.isNew = outcome.sdpDue = true;
    }
    if (!sighting.name.empty()) device->SetName(sighting.name);
    if (sighting.classOfDevice) {
        device->SetMajorClass(MajorClassOf(*sighting.classOfDevice));
        device->SetMinorClass(MinorClassOf(*sighting.classOfDevice));
    }
    if (static_cast<std::int64_t>(clock.Now()) - device->LastSeen() > kSdpRequeryAfterSeconds)
        outcome.sdpDue = true;
    device->SetLastSeen(clock.Now());
    device->SetSeenCount(CountedOnce(device->SeenCount()));
    device->SetLocation(location);
    if (sighting.rssi) device->SetSignal(sighting.rssi);
    return outcome;
}

}  // namespace qm
