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

void AppendCode(std::string& out, char32_t code) {
    switch (code) {
        case '&':
            out += "&amp;";
            return;
        case '<':
            out += "&lt;";
            return;
        case '>':
            out += "&gt;";
            return;
        case '"':
            out += "&quot;";
            return;
        case '\'':
            out += "&#39;";
            return;
        default:
            break;
    }
    const bool control =
        (code < 0x20 && code != '\t' && code != '\n' && code != '\r') || (code >= 0x7F && code < 0xA0);
    AppendUtf8(out, control ? kReplacementCharacter : code);
}

void AppendEscaped(std::string& out, std::string_view text) {
    std::u32string codes;
    DecodeUtf8(text, codes);
    for (char32_t code : codes) AppendCode(out, code);
}

void AppendCell(std::string& out, std::string_view text) {
    out += "<td>";
    AppendEscaped(out, text);
    out += "</td>";
}

// ISO 8601 in UTC, the local text as the program shows it in a tooltip.
void AppendTimeCell(std::string& out, const std::string& utc, const std::string& local) {
    out += "<td title=\"";
    AppendEscaped(out, local);
    out += "\">";
    AppendEscaped(out, utc);
    out += "</td>";
}

void AppendServices(std::string& out, const std::vector<std::string>& services) {
    out += "<td>";
    for (std::size_t i = 0; i < services.size(); ++i) {
        if (i > 0) out += "<br>";
        AppendEscaped(out, services[i]);
    }
    out += "</td>";
}

void AppendRow(std::string& out, const TDeviceReportRow& row) {
    out += "<tr>";
    for (const std::string* text : {&row.address, &row.vendor, &row.name, &row.type, &row.classDescription})
        AppendCell(out, *text);
    AppendTimeCell(out, row.firstSeenUtc, row.firstSeenLocal);
    AppendTimeCell(out, row.lastSeenUtc, row.lastSeenLocal);
    AppendCell(out, std::to_string(row.sightings));
    AppendCell(out, row.flags);
    AppendCell(out, row.location);
    AppendServices(out, row.services);
    out += "<td><details><summary>SDP</summary><pre>";
    AppendEscaped(out, row.sdpText);
    out += "</pre></details></td></tr>\n";
}

}  // namespace

std::string HtmlReport(const std::vector<TDeviceReportRow>& rows) {
    std::string out = kHead;
    out += "<p>" + std::to_string(rows.size()) + " devices</p>\n<table>\n<thead><tr>";
    for (const char* column : kColumns) out += std::string("<th>") + column + "</th>";
    out += "</tr></thead>\n<tbody>\n";
    for (const TDeviceReportRow& row : rows) AppendRow(out, row);
    out += "</tbody>\n</table>\n</body>\n</html>\n";
    return out;
}

}  // namespace qm
