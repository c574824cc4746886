#include "quillmark/bluetooth/BluetoothInquiryPass.h"

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/QuerySDP.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/Trace.h"

namespace qm {

namespace {

constexpr const char* kFunction = "BTPerformDiscovery";

// The record update of one result, under the list's lock.
TSightingOutcome UpdateRecord(TSessionState& session, const bt::TInquiryResult& result,
                              const std::string& address) {
    TSighting sighting;
    sighting.address = address;
    sighting.name = result.Name;
    sighting.classOfDevice = result.ClassOfDevice;
    TDeviceListLock lock(session.DeviceList());
    const TSightingOutcome outcome = RecordSighting(*lock, sighting, session.Location(), session.Clock());
    lock->NotifyChanged();
    return outcome;
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
        const TSightingOutcome sighting = UpdateRecord(session, result, address);
        if (sighting.isNew) {
            thread.ThreadLog("Found new device: " + address);
            thread.NewDeviceFound();
        }
        if (sighting.sdpDue) QuerySDP(platform, session, address);
    }
    return true;
}

}  // namespace qm
