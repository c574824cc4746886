// The HTML report: one self-contained page (inline style, no script, no outside reference) with a
// table of the devices and each device's SDP listing in a collapsible block. Every text is
// escaped and made valid UTF-8; control characters other than tab and line breaks become U+FFFD.

#include <string>

#include "quillmark/core/ReportFormat.h"
#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

constexpr const char* kHead =
    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
    "<title>Quillmark inventory</title>\n<style>\n"
    "body{font-family:sans-serif;margin:1.5em;color:#222}\n"
    "table{border-collapse:collapse;width:100%}\n"
    "th,td{border:1px solid #ccc;padding:.3em .5em;text-align:left;vertical-align:top}\n"
    "th{background:#eef;white-space:nowrap;cursor:pointer}\n"
    "th::after{content:\" \\2195\";color:#889}\n"
    "tbody tr:nth-child(even){background:#f8f8fb}\n"
    "pre{margin:.3em 0;white-space:pre-wrap;font-size:90%}\n"
    "</style>\n</head>\n<body>\n<h1>Quillmark inventory</h1>\n";
constexpr const char* kColumns[] = {"Address",   "Vendor",    "Name",  "Type",     "Class",    "First seen",
                                    "Last seen", "Sightings", "Flags", "Location", "Services", "SDP"};
constexpr const char* kHistoryColumns[] = {"RSSI (dBm)", "Minutes present"};

// The cells' tags and the SDP block of one row.
constexpr std::size_t kMarkupBytesPerRow = 320;

const char* EntityOf(char32_t code) {
    switch (code) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '"':
            return "&quot;";
        case '\'':
            return "&#39;";
        default:
            return nullptr;
    }
}

bool IsHiddenControl(char32_t code) {
    return (code < 0x20 && code != '\t' && code != '\n' && code != '\r') || (code >= 0x7F && code < 0xA0);
}

// Writes the page; keeps one buffer of code points for all texts.
class THtmlWriter {
public:
    THtmlWriter(std::string& out, const TReportHistory* history) : FOut(out), FHistory(history) {}

    void Row(const TDeviceReportRow& row) {
        FOut += "<tr>";
        for (const std::string* text :
             {&row.address, &row.vendor, &row.name, &row.type, &row.classDescription})
            Cell(*text);
        TimeCell(row.firstSeenUtc, row.firstSeenLocal);
        TimeCell(row.lastSeenUtc, row.lastSeenLocal);
        Cell(std::to_string(row.sightings));
        Cell(row.flags);
        Cell(row.location);
        Services(row.services);
        FOut += "<td><details><summary>SDP</summary><pre>";
        Escaped(row.sdpText);
        FOut += "</pre></details></td>";
        if (FHistory) History(HistoryFactsOf(*FHistory, row.address));
        FOut += "</tr>\n";
    }

private:
    void Escaped(std::string_view text) {
        FCodes.clear();
        DecodeUtf8(text, FCodes);
        for (char32_t code : FCodes) {
            if (const char* entity = EntityOf(code))
                FOut += entity;
            else
                AppendUtf8(FOut, IsHiddenControl(code) ? kReplacementCharacter : code);
        }
    }

    void Cell(std::string_view text) {
        FOut += "<td>";
        Escaped(text);
        FOut += "</td>";
    }

    // ISO 8601 in UTC, the local text as the program shows it in a tooltip.
    void TimeCell(const std::string& utc, const std::string& local) {
        FOut += "<td title=\"";
        Escaped(local);
        FOut += "\">";
        Escaped(utc);
        FOut += "</td>";
    }

    void Services(const std::vector<std::string>& services) {
        FOut += "<td>";
        for (std::size_t i = 0; i < services.size(); ++i) {
            if (i > 0) FOut += "<br>";
            Escaped(services[i]);
        }
        FOut += "</td>";
    }

    void History(const TDeviceHistoryFacts& facts) {
        Cell(facts.rssi ? std::to_string(*facts.rssi) : std::string());
        Cell(std::to_string(facts.minutesPresent));
    }

    std::string& FOut;
    const TReportHistory* FHistory;
    std::u32string FCodes;
};

}  // namespace

std::string HtmlReport(const std::vector<TDeviceReportRow>& rows, const TReportHistory* history) {
    std::string out;
    out.reserve(ReportTextBytes(rows) * 11 / 10 + rows.size() * kMarkupBytesPerRow);
    out += kHead;
    out += "<p>" + std::to_string(rows.size()) + " devices</p>\n<table>\n<thead><tr>";
    for (const char* column : kColumns) out += std::string("<th>") + column + "</th>";
    if (history)
        for (const char* column : kHistoryColumns) out += std::string("<th>") + column + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    THtmlWriter writer(out, history);
    for (const TDeviceReportRow& row : rows) writer.Row(row);
    out += "</tbody>\n</table>\n</body>\n</html>\n";
    return out;
}

}  // namespace qm
