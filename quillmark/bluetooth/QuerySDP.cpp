#include "quillmark/bluetooth/QuerySDP.h"

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/Trace.h"

namespace qm {

namespace {

constexpr const char* kFunction = "QuerySDP";

[[noreturn]] void FetchFailed(int systemError) {
    throw TError::WithSystemError("Unable to fetch service information.", systemError);
}

void ClearRecords(TDeviceList& list, const std::string& address) {
    TDeviceListLock lock(list);
    if (TBTDevice* device = lock->FindDevice(address)) device->RawSDPRecords().clear();
}

void AppendRecord(TDeviceList& list, const std::string& address, std::string record) {
    TDeviceListLock lock(list);
    TBTDevice* device = lock->FindDevice(address);
    if (!device) throw TError("Unable to find device to record SDP results: " + address);
    device->RawSDPRecords().push_back(std::move(record));
    lock->NotifyChanged();
}

}  // namespace

void QuerySDP(bt::TBluetoothPlatform& platform, TSessionState& session, const std::string& address) {
    QM_TRACE_ENTER(kFunction);
    QM_TRACE(kFunction, 100, "SDP lookup");
    std::unique_ptr<bt::TServiceLookup> lookup;
    const bt::TLookupStatus begun = platform.BeginServiceLookup(address, lookup);
    if (begun.code == bt::TLookupCode::NothingFound) {
        QM_TRACE(kFunction, 50, "No services advertised by device");
        return;
    }
    if (begun.code != bt::TLookupCode::Ok) FetchFailed(begun.systemError);

    ClearRecords(session.DeviceList(), address);
    std::string record;
    for (;;) {
        const bt::TLookupStatus next = lookup->Next(record);
        if (next.code == bt::TLookupCode::EndOfResults) break;
        if (next.code != bt::TLookupCode::Ok) FetchFailed(next.systemError);
        if (!record.empty()) AppendRecord(session.DeviceList(), address, std::move(record));
    }
    QM_TRACE_EXIT(kFunction);
}

}  // namespace qm
