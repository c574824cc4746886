#include "quillmark/core/DeviceReport.h"

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceFields.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/TimeText.h"

namespace qm {

namespace {

std::string SdpTextOf(const TDeviceFields& device) {
    try {
        return DeviceSDPText(device.rawSDPRecords, device.rawSDPStream);
    } catch (const TError& error) {
        return error.Message();
    }
}

TDeviceReportRow RowOf(TDeviceFields& device, const TVendorRegistry& vendors) {
    const char* type = DeviceTypeIdentifier(device.type);
    const bool hasSdp = !device.rawSDPRecords.empty() || !device.rawSDPStream.empty();
    TDeviceReportRow row;
    row.vendor = vendors.VendorOf(device.address);
    row.address = std::move(device.address);
    row.name = std::move(device.name);
    row.type = type ? type : "?";
    row.classDescription = DeviceClassName(device.majorClass, device.minorClass);
    row.firstSeenUtc = FormatIsoTime(device.firstSeen);
    row.firstSeenLocal = FormatTime(device.firstSeen);
    row.lastSeenUtc = FormatIsoTime(device.lastSeen);
    row.lastSeenLocal = FormatTime(device.lastSeen);
    row.sightings = device.seenCount;
    row.flags = DeviceFlagsText(device.flags, hasSdp);
    row.location = std::move(device.location);
    row.services = DeviceServiceNames(device.rawSDPRecords, device.rawSDPStream);
    row.sdpText = SdpTextOf(device);
    return row;
}

}  // namespace

// Only copying the devices holds the device list's lock; the texts are made after it is released.
std::vector<TDeviceReportRow> CollectDeviceReport(TSessionState& session, const TVendorRegistry& vendors) {
    std::vector<TDeviceFields> devices;
    {
        TDeviceListLock lock(session.DeviceList());
        CopyDeviceFields(*lock, devices);
    }
    std::vector<TDeviceReportRow> rows;
    rows.reserve(devices.size());
    for (TDeviceFields& device : devices) rows.push_back(RowOf(device, vendors));
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
