// The three report formats over rows made by hand: their layout, and what each makes of hostile
// texts from strangers.

#include "quillmark/core/ReportFormat.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>
#include <vector>

namespace {

using qm::TDeviceReportRow;
using ::testing::HasSubstr;
using ::testing::Not;

TDeviceReportRow PhoneRow() {
    TDeviceReportRow row;
    row.address = "(00:11:22:AA:BB:CC)";
    row.vendor = "Maker, Inc.";
    row.name = "Bob's phone";
    row.type = "dtPhone";
    row.classDescription = "Smart Phone";
    row.firstSeenUtc = "2023-11-14T22:13:20Z";
    row.firstSeenLocal = "11/14/23 at 22:13:20";
    row.lastSeenUtc = "2023-11-14T22:18:20Z";
    row.lastSeenLocal = "11/14/23 at 22:18:20";
    row.sightings = 2;
    row.flags = "Paired, SDP";
    row.location = "Office";
    row.services = {"Serial Port", "OBEX"};
    row.sdpText = "Service Name: Serial Port\n";
    return row;
}

// A device without SDP records, as the report collects it.
TDeviceReportRow QuietRow() {
    TDeviceReportRow row;
    row.address = "(00:11:22:AA:BB:CD)";
    row.name = "Unknown";
    row.type = "dtOther";
    row.classDescription = "Miscellaneous";
    row.firstSeenUtc = "2023-11-14T22:13:20Z";
    row.firstSeenLocal = "11/14/23 at 22:13:20";
    row.sdpText = "No SDP information available.";
    return row;
}

TEST(CsvReport, HeaderThenOneQuotedRecordPerDeviceWithCrLf) {
    EXPECT_EQ(
        qm::CsvReport({PhoneRow(), QuietRow()}),
        "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,sightings,"
        "flags,location,services\r\n"
        "\"(00:11:22:AA:BB:CC)\",\"Maker, Inc.\",\"Bob's phone\",\"dtPhone\",\"Smart Phone\","
        "\"2023-11-14T22:13:20Z\",\"11/14/23 at 22:13:20\",\"2023-11-14T22:18:20Z\",\"11/14/23 at 22:18:20\","
        "\"2\",\"Paired, SDP\",\"Office\",\"Serial Port; OBEX\"\r\n"
        "\"(00:11:22:AA:BB:CD)\",\"\",\"Unknown\",\"dtOther\",\"Miscellaneous\",\"2023-11-14T22:13:20Z\","
        "\"11/14/23 at 22:13:20\",\"\",\"\",\"0\",\"\",\"\",\"\"\r\n");
}

TEST(JsonReport, OneObjectPerDeviceWithTheDocumentedKeys) {
    const auto devices = nlohmann::ordered_json::parse(qm::JsonReport({PhoneRow(), QuietRow()}));
    ASSERT_TRUE(devices.is_array());
    ASSERT_EQ(devices.size(), 2u);
    std::vector<std::string> keys;
    for (const auto& item : devices[0].items()) keys.push_back(item.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"address", "vendor", "name", "type", "class", "first_seen",
                                              "first_seen_local", "last_seen", "last_seen_local", "sightings",
                                              "flags", "location", "services", "sdp"}));
    EXPECT_EQ(devices[0]["vendor"], "Maker, Inc.");
    EXPECT_EQ(devices[0]["sightings"], 2);
    EXPECT_EQ(devices[0]["services"], nlohmann::json::array({"Serial Port", "OBEX"}));
    EXPECT_EQ(devices[0]["sdp"], "Service Name: Serial Port\n");
    EXPECT_EQ(devices[1]["services"], nlohmann::json::array());
    EXPECT_EQ(devices[1]["last_seen"], "");
    EXPECT_EQ(devices[1]["sdp"], "No SDP information available.");
}

TEST(HtmlReport, SelfContainedPageWithOneRowAndSdpBlockPerDevice) {
    const std::string page = qm::HtmlReport({PhoneRow(), QuietRow()});
    EXPECT_THAT(page, HasSubstr("<!DOCTYPE html>"));
    EXPECT_THAT(page, HasSubstr("<meta charset=\"utf-8\">"));
    EXPECT_THAT(page, HasSubstr("<style>"));
    for (const char* outside : {"<script", "src=", "href=", "url(", "@import", "<link"})
        EXPECT_THAT(page, Not(HasSubstr(outside))) << outside;
    EXPECT_THAT(page, HasSubstr("<td>Bob&#39;s phone</td>"));
    EXPECT_THAT(page, HasSubstr("<td title=\"11/14/23 at 22:13:20\">2023-11-14T22:13:20Z</td>"));
    EXPECT_THAT(page, HasSubstr("<td>Serial Port<br>OBEX</td>"));
    EXPECT_THAT(page,
                HasSubstr("<details><summary>SDP</summary><pre>Service Name: Serial Port\n</pre></details>"));
    EXPECT_THAT(page, HasSubstr("<pre>No SDP information available.</pre>"));
    std::size_t rows = 0;
    for (std::size_t at = page.find("<tr><td>"); at != std::string::npos; at = page.find("<tr><td>", at + 1))
        ++rows;
    EXPECT_EQ(rows, 2u);
}

TEST(Reports, EmptyInventory) {
    EXPECT_EQ(
        qm::CsvReport({}),
        "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,sightings,"
        "flags,location,services\r\n");
    EXPECT_EQ(nlohmann::json::parse(qm::JsonReport({})), nlohmann::json::array());
    const std::string page = qm::HtmlReport({});
    EXPECT_THAT(page, HasSubstr("<tbody>\n</tbody>"));
    EXPECT_THAT(page, HasSubstr("</html>"));
}

TEST(Reports, FormatsByName) {
    EXPECT_EQ(qm::ReportFormatNamed("csv"), qm::TReportFormat::Csv);
    EXPECT_EQ(qm::ReportFormatNamed("json"), qm::TReportFormat::Json);
    EXPECT_EQ(qm::ReportFormatNamed("html"), qm::TReportFormat::Html);
    for (const char* name : {"CSV", "xml", "", "htm"}) EXPECT_FALSE(qm::ReportFormatNamed(name)) << name;
    EXPECT_EQ(qm::RenderReport(qm::TReportFormat::Csv, {PhoneRow()}), qm::CsvReport({PhoneRow()}));
    EXPECT_EQ(qm::RenderReport(qm::TReportFormat::Json, {PhoneRow()}), qm::JsonReport({PhoneRow()}));
    EXPECT_EQ(qm::RenderReport(qm::TReportFormat::Html, {PhoneRow()}), qm::HtmlReport({PhoneRow()}));
}

// A device name from a stranger and what each format makes of it: the CSV cell as written
// (quotes included), the JSON string after parsing, the HTML text as written.
struct HostileCase {
    const char* label;
    std::string name;
    std::string csvCell;
    std::string jsonValue;
    std::string htmlText;
    friend std::ostream& operator<<(std::ostream& out, const HostileCase& c) { return out << c.label; }
};

const std::string kReplacement = "\xEF\xBF\xBD";

const HostileCase kHostileNames[] = {
    {"formula", "=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\"", "=HYPERLINK(\"http://x\")",
     "=HYPERLINK(&quot;http://x&quot;)"},
    {"plus", "+1+1", "\"'+1+1\"", "+1+1", "+1+1"},
    {"minus", "-2+3", "\"'-2+3\"", "-2+3", "-2+3"},
    {"at", "@SUM(A1)", "\"'@SUM(A1)\"", "@SUM(A1)", "@SUM(A1)"},
    {"tab", "\t=1", "\"'\t=1\"", "\t=1", "\t=1"},
    {"carriage_return", "\r=1", "\"'\r=1\"", "\r=1", "\r=1"},
    {"formula_later_in_text", "a=1", "\"a=1\"", "a=1", "a=1"},
    {"quotes_commas_line_break", "x\",\"y\r\nz", "\"x\"\",\"\"y\r\nz\"", "x\",\"y\r\nz",
     "x&quot;,&quot;y\r\nz"},
    {"markup", "<script>alert('x')</script>", "\"<script>alert('x')</script>\"",
     "<script>alert('x')</script>", "&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt;"},
    {"attribute_break_out", "\"><img src=x>&amp;", "\"\"\"><img src=x>&amp;\"", "\"><img src=x>&amp;",
     "&quot;&gt;&lt;img src=x&gt;&amp;amp;"},
    {"invalid_bytes", "\xFF=\xC0\x80", "\"" + kReplacement + "=" + kReplacement + kReplacement + "\"",
     kReplacement + "=" + kReplacement + kReplacement, kReplacement + "=" + kReplacement + kReplacement},
    {"control_characters", std::string("a\x01\x1b[2Jb\0c", 9), std::string("\"a\x01\x1b[2Jb\0c\"", 11),
     std::string("a\x01\x1b[2Jb\0c", 9), "a" + kReplacement + kReplacement + "[2Jb" + kReplacement + "c"},
};

class HostileName : public ::testing::TestWithParam<HostileCase> {
protected:
    static TDeviceReportRow Row() {
        TDeviceReportRow row = QuietRow();
        row.name = GetParam().name;
        return row;
    }
};

TEST_P(HostileName, CsvCellIsTextInItsQuotes) {
    EXPECT_THAT(qm::CsvReport({Row()}), HasSubstr("\"\"," + GetParam().csvCell + ",\"dtOther\","));
}

TEST_P(HostileName, JsonIsValidAndKeepsTheText) {
    const std::string report = qm::JsonReport({Row()});
    nlohmann::json devices;
    ASSERT_NO_THROW(devices = nlohmann::json::parse(report));
    EXPECT_EQ(devices.at(0).at("name"), GetParam().jsonValue);
}

TEST_P(HostileName, HtmlEscapesEverything) {
    const std::string page = qm::HtmlReport({Row()});
    EXPECT_THAT(page, HasSubstr("<td>" + GetParam().htmlText + "</td><td>dtOther</td>"));
    EXPECT_THAT(page, Not(HasSubstr("<script")));
    EXPECT_THAT(page, Not(HasSubstr("<img")));
}

INSTANTIATE_TEST_SUITE_P(Names, HostileName, ::testing::ValuesIn(kHostileNames),
                         [](const auto& info) { return std::string(info.param.label); });

// SDP strings come from strangers too: the HTML block cannot be closed from inside it, and JSON
// carries the listing as valid UTF-8.
TEST(Reports, HostileSdpTextStaysInsideItsBlock) {
    TDeviceReportRow row = QuietRow();
    row.sdpText = "Service Name: </pre></details><script>x</script>\xFE";
    row.services = {"=cmd|'/c calc'!A1"};
    const std::string page = qm::HtmlReport({row});
    EXPECT_THAT(page,
                HasSubstr("<pre>Service Name: &lt;/pre&gt;&lt;/details&gt;&lt;script&gt;x&lt;/script&gt;" +
                          kReplacement + "</pre></details>"));
    EXPECT_EQ(nlohmann::json::parse(qm::JsonReport({row})).at(0).at("sdp"),
              "Service Name: </pre></details><script>x</script>" + kReplacement);
    EXPECT_THAT(qm::CsvReport({row}), HasSubstr(",\"'=cmd|'/c calc'!A1\"\r\n"));
}

}  // namespace
