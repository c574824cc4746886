#pragma once
// The inventory as a report: one row per device with the texts every report format shows, in the
// order of the device list. The formats themselves are in ReportFormat.h.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/core/SessionState.h"
#include "quillmark/core/VendorRegistry.h"

namespace qm {

struct TDeviceReportRow {
    std::string address;
    std::string vendor;  // empty when the registry names no maker
    std::string name;
    std::string type;              // the type identifier, "dtPhone"
    std::string classDescription;  // "Smart Phone"
    std::string firstSeenUtc;      // ISO 8601, empty for 0
    std::string firstSeenLocal;    // as the program shows it, empty for 0
    std::string lastSeenUtc;
    std::string lastSeenLocal;
    std::int32_t sightings = 0;
    std::string flags;  // "Paired, SDP"
    std::string location;
    std::vector<std::string> services;  // one name per SDP record
    std::string sdpText;                // the listing of every SDP record, or why it cannot be read
};

// The rows of every device. The devices are copied under the device list's lock and the texts made
// after it is released. Texts are as stored: they may be invalid UTF-8 or hold any character, and
// each format makes them safe.
std::vector<TDeviceReportRow> CollectDeviceReport(TSessionState& session, const TVendorRegistry& vendors);

// The bytes of all texts of the rows, from which the formats size their output.
std::size_t ReportTextBytes(const std::vector<TDeviceReportRow>& rows);

}  // namespace qm
