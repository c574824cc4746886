// The JSON report: a top-level array with one object per device, keys as the README lists them,
// always valid UTF-8 (a byte that does not begin a valid sequence becomes U+FFFD).

#include <nlohmann/json.hpp>

#include "quillmark/core/ReportFormat.h"

namespace qm {

namespace {

// The keys, quotes and separators of one device.
constexpr std::size_t kKeyBytesPerDevice = 256;

nlohmann::ordered_json DeviceObject(const TDeviceReportRow& row, const TReportHistory* history) {
    nlohmann::ordered_json object = {
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
    if (history) {
        const TDeviceHistoryFacts& facts = HistoryFactsOf(*history, row.address);
        object["rssi"] = facts.rssi ? nlohmann::ordered_json(*facts.rssi) : nlohmann::ordered_json(nullptr);
        object["minutes_present"] = facts.minutesPresent;
    }
    return object;
}

}  // namespace

// One device per line. Each is made and written on its own, so the texts are never all held a
// second time; the output is reserved for about the size of its texts.
std::string JsonReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history) {
    std::string out = "[";
    out.reserve(ReportTextBytes(rows) * 11 / 10 + rows.size() * kKeyBytesPerDevice);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        out += i == 0 ? "\n" : ",\n";
        out += DeviceObject(rows[i], history)
                   .dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    }
    out += rows.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace qm
