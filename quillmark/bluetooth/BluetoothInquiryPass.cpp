#include "quillmark/bluetooth/BluetoothInquiryPass.h"

#include <cstdint>
#include <limits>

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/QuerySDP.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/Trace.h"

namespace qm {

namespace {

constexpr const char* kFunction = "BTPerformDiscovery";

struct TSighting {
    bool isNew = false;
    bool sdpDue = false;
};

// A session file may hold any 32-bit count, so the count stops at its maximum instead of overflowing.
std::int32_t CountedOnce(std::int32_t seenCount) {
    return seenCount == std::numeric_limits<std::int32_t>::max() ? seenCount : seenCount + 1;
}

// The record update of one result, under the list's lock; the clock is read anew at each step.
TSighting UpdateRecord(TSessionState& session, const bt::TInquiryResult& result, const std::string& address) {
    TDeviceListLock lock(session.DeviceList());
    const IClock& clock = session.Clock();
    TSighting sighting;
    TBTDevice* device = lock->FindDevice(address);
    if (!device) {
        device = &lock->Add();
        device->SetAddress(address);
        device->SetLastSeen(clock.Now());
        sighting = {true, true};
    }
    if (!result.Name.empty()) device->SetName(result.Name);
    device->SetMajorClass(MajorClassOf(result.ClassOfDevice));
    device->SetMinorClass(MinorClassOf(result.ClassOfDevice));
    if (static_cast<std::int64_t>(clock.Now()) - device->LastSeen() > kSdpRequeryAfterSeconds)
        sighting.sdpDue = true;
    device->SetLastSeen(clock.Now());
    device->SetSeenCount(CountedOnce(device->SeenCount()));
    device->SetLocation(session.Location());
    lock->NotifyChanged();
    return sighting;
}

}  // namespace

bool BTPerformDiscovery(bt::TBluetoothPlatform& platform, TSessionState& session,
                        IDiscoveryServices& thread) {
    QM_TRACE(kFunction, 100, "Start scan");
    std::unique_ptr<bt::TInquiryLookup> lookup;
    const bt::TLookupStatus begun = platform.BeginInquiry(lookup);
    if (begun.code == bt::TLookupCode::NothingFound) {
        QM_TRACE(kFunction, 100, "No devices found ");
        return true;
    }
    if (begun.code != bt::TLookupCode::Ok)
        throw TError::WithSystemError("Unable to start device lookup.", begun.systemError);

    bt::TInquiryResult result;
    while (!thread.IsTerminated()) {
        const bt::TLookupStatus next = lookup->Next(result);
        if (next.code == bt::TLookupCode::EndOfResults) break;
        if (next.code != bt::TLookupCode::Ok)
            throw TError::WithSystemError("Unable to read device information.", next.systemError);
        const std::string address = bt::BTAddressToString(result.Address);
        QM_TRACE(kFunction, 100, "   Saw device %s", address.c_str());
        const TSighting sighting = UpdateRecord(session, result, address);
        if (sighting.isNew) {
            thread.ThreadLog("Found new device: " + address);
            thread.NewDeviceFound();
        }
        if (sighting.sdpDue) QuerySDP(platform, session, address);
    }
    return true;
}

}  // namespace qm
