// The CSV report: RFC 4180 with every field in double quotes and CR LF after each record, cells as
// CsvCell.h writes them, so that device names and SDP strings from strangers stay text.

#include <string>

#include "quillmark/core/CsvCell.h"
#include "quillmark/core/ReportFormat.h"

namespace qm {

namespace {

constexpr const char* kHeader =
    "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,sightings,flags,"
    "location,services";
constexpr const char* kHistoryHeader = ",rssi,minutes_present";
constexpr std::string_view kServiceSeparator = "; ";

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += kServiceSeparator;
        text += item;
    }
    return text;
}

void AppendHistory(std::string& out, const TDeviceHistoryFacts& facts) {
    AppendCsvNumber(out, facts.rssi ? std::to_string(*facts.rssi) : std::string());
    AppendCsvNumber(out, std::to_string(facts.minutesPresent));
}

void AppendRow(std::string& out, const TDeviceReportRow& row, const TReportHistory* history) {
    AppendCsvText(out, row.address, true);
    for (const std::string* text :
         {&row.vendor, &row.name, &row.type, &row.classDescription, &row.firstSeenUtc, &row.firstSeenLocal,
          &row.lastSeenUtc, &row.lastSeenLocal})
        AppendCsvText(out, *text);
    AppendCsvText(out, std::to_string(row.sightings));
    AppendCsvText(out, row.flags);
    AppendCsvText(out, row.location);
    AppendCsvText(out, Joined(row.services));
    if (history) AppendHistory(out, HistoryFactsOf(*history, row.address));
    out += "\r\n";
}

}  // namespace

std::string CsvReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history) {
    std::string out = kHeader;
    if (history) out += kHistoryHeader;
    out += "\r\n";
    for (const TDeviceReportRow& row : rows) AppendRow(out, row, history);
    return out;
}

}  // namespace qm
