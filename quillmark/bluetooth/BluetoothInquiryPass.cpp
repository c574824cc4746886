#include "quillmark/bluetooth/BluetoothInquiryPass.h"

#include "quillmark/base/Error.h"
#include "quillmark/bluetooth/QuerySDP.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SightingRecorder.h"
#include "quillmark/core/Trace.h"

namespace qm {

namespace {

constexpr const char* kFunction = "BTPerformDiscovery";

// The record update of one result, under the list's lock.
TSightingOutcome UpdateRecord(TSessionState& session, TSightingRecorder& recorder, const TSighting& sighting) {
    TDeviceListLock lock(session.DeviceList());
    const TSightingOutcome outcome = recorder.Record(*lock, sighting, session.Location(), session.Clock());
    lock->NotifyChanged();
    return outcome;
}

}  // namespace

bool BTPerformDiscovery(bt::TBluetoothPlatform& platform, TSessionState& session, IDiscoveryServices& thread,
                        ISightingSink* sink) {
    QM_TRACE(kFunction, 100, "Start scan");
    std::unique_ptr<bt::TInquiryLookup> lookup;
    const bt::TLookupStatus begun = platform.BeginInquiry(lookup);
    if (begun.code == bt::TLookupCode::NothingFound) {
        QM_TRACE(kFunction, 100, "No devices found ");
        return true;
    }
    if (begun.code != bt::TLookupCode::Ok)
        throw TError::WithSystemError("Unable to start device lookup.", begun.systemError);

    TSightingRecorder recorder(sink);
    TSighting sighting;
    while (!thread.IsTerminated()) {
        const bt::TLookupStatus next = lookup->Next(sighting);
        if (next.code == bt::TLookupCode::EndOfResults) break;
        if (next.code != bt::TLookupCode::Ok)
            throw TError::WithSystemError("Unable to read device information.", next.systemError);
        const std::string& address = sighting.address;
        QM_TRACE(kFunction, 100, "   Saw device %s", address.c_str());
        const TSightingOutcome outcome = UpdateRecord(session, recorder, sighting);
        if (outcome.isNew) {
            thread.ThreadLog("Found new device: " + address);
            thread.NewDeviceFound();
        }
        if (outcome.sdpDue) QuerySDP(platform, session, address);
    }
    recorder.HandOver();
    return true;
}

}  // namespace qm
