#include "quillmark/core/DeviceReport.h"

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/TimeText.h"

namespace qm {

namespace {

std::string SdpTextOf(const TBTDevice& device) {
    try {
        return device.SDPText();
    } catch (const TError& error) {
        return error.Message();
    }
}

TDeviceReportRow RowOf(TBTDevice& device, const TVendorRegistry& vendors) {
    const char* type = DeviceTypeIdentifier(device.Type());
    TDeviceReportRow row;
    row.address = device.Address();
    row.vendor = vendors.VendorOf(device.Address());
    row.name = device.Name();
    row.type = type ? type : "?";
    row.classDescription = DeviceClassName(device.MajorClass(), device.MinorClass());
    row.firstSeenUtc = FormatIsoTime(device.FirstSeen());
    row.firstSeenLocal = FormatTime(device.FirstSeen());
    row.lastSeenUtc = FormatIsoTime(device.LastSeen());
    row.lastSeenLocal = FormatTime(device.LastSeen());
    row.sightings = device.SeenCount();
    row.flags = device.FlagsText();
    row.location = device.Location();
    row.services = device.Services();
    row.sdpText = SdpTextOf(device);
    return row;
}

}  // namespace

std::vector<TDeviceReportRow> CollectDeviceReport(TSessionState& session, const TVendorRegistry& vendors) {
    TDeviceListLock lock(session.DeviceList());
    std::vector<TDeviceReportRow> rows;
    rows.reserve(static_cast<std::size_t>(lock->Count()));
    for (int i = 0; i < lock->Count(); ++i) rows.push_back(RowOf(lock->Items(i), vendors));
    return rows;
}

std::size_t ReportTextBytes(const std::vector<TDeviceReportRow>& rows) {
    std::size_t bytes = 0;
    for (const TDeviceReportRow& row : rows) {
        for (const std::string* text :
             {&row.address, &row.vendor, &row.name, &row.type, &row.classDescription, &row.firstSeenUtc,
              &row.firstSeenLocal, &row.lastSeenUtc, &row.lastSeenLocal, &row.flags, &row.location,
              &row.sdpText})
            bytes += text->size();
        for (const std::string& service : row.services) bytes += service.size();
    }
    return bytes;
}

}  // namespace qm
