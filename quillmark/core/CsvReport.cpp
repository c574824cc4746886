// The CSV report: RFC 4180 with every field in double quotes and CR LF after each record, UTF-8
// with invalid bytes replaced. A cell that a spreadsheet would take for a formula (one that starts
// with "=", "+", "-", "@", a tab or a carriage return) gets a leading single quote, so that device
// names and SDP strings from strangers stay text.

#include <string>

#include "quillmark/core/ReportFormat.h"
#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

constexpr const char* kHeader =
    "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,sightings,flags,"
    "location,services";
constexpr std::string_view kFormulaStarts = "=+-@\t\r";
constexpr std::string_view kServiceSeparator = "; ";

void AppendCell(std::string& out, std::string_view text, bool first = false) {
    const std::string cell = ValidUtf8(text);
    if (!first) out += ',';
    out += '"';
    if (!cell.empty() && kFormulaStarts.find(cell.front()) != std::string_view::npos) out += '\'';
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string Joined(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items) {
        if (!text.empty()) text += kServiceSeparator;
        text += item;
    }
    return text;
}

void AppendRow(std::string& out, const TDeviceReportRow& row) {
    AppendCell(out, row.address, true);
    for (const std::string* text :
         {&row.vendor, &row.name, &row.type, &row.classDescription, &row.firstSeenUtc, &row.firstSeenLocal,
          &row.lastSeenUtc, &row.lastSeenLocal})
        AppendCell(out, *text);
    AppendCell(out, std::to_string(row.sightings));
    AppendCell(out, row.flags);
    AppendCell(out, row.location);
    AppendCell(out, Joined(row.services));
    out += "\r\n";
}

}  // namespace

std::string CsvReport(const std::vector<TDeviceReportRow>& rows) {
    std::string out = kHeader;
    out += "\r\n";
    for (const TDeviceReportRow& row : rows) AppendRow(out, row);
    return out;
}

}  // namespace qm
