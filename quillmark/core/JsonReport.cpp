// The JSON report: a top-level array with one object per device, keys as the README lists them,
// always valid UTF-8 (a byte that does not begin a valid sequence becomes U+FFFD).

#include <nlohmann/json.hpp>

#include "quillmark/core/ReportFormat.h"

namespace qm {

namespace {

nlohmann::ordered_json DeviceObject(const TDeviceReportRow& row) {
    return {
        {"address", row.address},
        {"vendor", row.vendor},
        {"name", row.name},
        {"type", row.type},
        {"class", row.classDescription},
        {"first_seen", row.firstSeenUtc},
        {"first_seen_local", row.firstSeenLocal},
        {"last_seen", row.lastSeenUtc},
        {"last_seen_local", row.lastSeenLocal},
        {"sightings", row.sightings},
        {"flags", row.flags},
        {"location", row.location},
        {"services", row.services},
        {"sdp", row.sdpText},
    };
}

}  // namespace

std::string JsonReport(const std::vector<TDeviceReportRow>& rows) {
    auto devices = nlohmann::ordered_json::array();
    for (const TDeviceReportRow& row : rows) devices.push_back(DeviceObject(row));
    return devices.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace qm
