// The report's rows as collected from a session: every text a format shows, from the records.

#include "quillmark/core/DeviceReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <nlohmann/json.hpp>
#include <string>

#include "quillmark/base/Error.h"
#include "quillmark/core/ReportFormat.h"
#include "quillmark/core/ReportHistory.h"

#include "testsupport/ScopedTempDir.h"

namespace {

using testsupport::ScopedTempDir;

// A service record with attribute 0x0100, the service name.
std::string Record(const std::string& name) {
    const std::string body = std::string("\x09\x01\x00\x25", 4) + static_cast<char>(name.size()) + name;
    return std::string("\x35", 1) + static_cast<char>(body.size()) + body;
}

class DeviceReport : public ::testing::Test {
protected:
    void SetUp() override {
        ::setenv("TZ", "UTC-1", 1);
        ::tzset();
        state_.SetCurrentLocation("Office");
    }
    qm::TBTDevice& AddDevice(const std::string& address) {
        qm::TBTDevice& device = state_.DeviceList().Add();
        device.SetAddress(address);
        return device;
    }
    ScopedTempDir dir_;
    const qm::TVendorRegistry vendors_{
        dir_.write("oui.csv", "MA-L,001122,\"Maker, Inc.\",Street\r\n").string()};
    qm::TSettableClock clock_{1700000000};
    qm::TSessionState state_{clock_};
};

TEST_F(DeviceReport, RowHoldsEveryShownText) {
    qm::TBTDevice& device = AddDevice("(00:11:22:AA:BB:CC)");
    device.SetName("Bob's phone");
    device.SetMajorClass(2);
    device.SetMinorClass(3);
    device.SetLastSeen(1700000300);
    device.SetSeenCount(4);
    device.SetFlags(qm::kFlagPaired);
    device.SetLocation("Office");
    device.RawSDPRecords() = {Record("Serial Port"), Record("OBEX")};

    const auto rows = qm::CollectDeviceReport(state_, vendors_);
    ASSERT_EQ(rows.size(), 1u);
    const qm::TDeviceReportRow& row = rows[0];
    EXPECT_EQ(row.address, "(00:11:22:AA:BB:CC)");
    EXPECT_EQ(row.vendor, "Maker, Inc.");
    EXPECT_EQ(row.name, "Bob's phone");
    EXPECT_EQ(row.type, "dtPhone");
    EXPECT_EQ(row.classDescription, "Smart Phone");
    EXPECT_EQ(row.firstSeenUtc, "2023-11-14T22:13:20Z");
    EXPECT_EQ(row.firstSeenLocal, "11/14/23 at 23:13:20");
    EXPECT_EQ(row.lastSeenUtc, "2023-11-14T22:18:20Z");
    EXPECT_EQ(row.lastSeenLocal, "11/14/23 at 23:18:20");
    EXPECT_EQ(row.sightings, 4);
    EXPECT_EQ(row.flags, "Paired, SDP");
    EXPECT_EQ(row.location, "Office");
    EXPECT_EQ(row.services, (std::vector<std::string>{"Serial Port", "OBEX"}));
    EXPECT_NE(row.sdpText.find("Serial Port"), std::string::npos) << row.sdpText;
    EXPECT_NE(row.sdpText.find("OBEX"), std::string::npos) << row.sdpText;
}

TEST_F(DeviceReport, DevicesWithoutRecordsWithUnreadableOnesOrTheOlderStreamInListOrder) {
    AddDevice("(02:11:22:AA:BB:CC)");
    AddDevice("(00:11:22:AA:BB:CD)").RawSDPRecords() = {std::string("\x35\x7F\x09", 3)};
    AddDevice("not an address");
    AddDevice("(00:11:22:AA:BB:CE)").SetRawSDPStream(Record("Headset"));

    const auto rows = qm::CollectDeviceReport(state_, vendors_);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].vendor, "(random)");
    EXPECT_EQ(rows[0].name, "Unknown");
    EXPECT_EQ(rows[0].lastSeenUtc, "");
    EXPECT_EQ(rows[0].lastSeenLocal, "");
    EXPECT_TRUE(rows[0].services.empty());
    EXPECT_EQ(rows[0].sdpText, "No SDP information available.");
    EXPECT_EQ(rows[0].flags, "");
    EXPECT_EQ(rows[1].vendor, "Maker, Inc.");
    EXPECT_EQ(rows[1].flags, "SDP");
    EXPECT_EQ(rows[1].services.size(), 1u);
    EXPECT_EQ(rows[1].sdpText.rfind("Unable to enumerate SDP attributes.", 0), 0u) << rows[1].sdpText;
    EXPECT_EQ(rows[2].vendor, "");
    EXPECT_EQ(rows[3].flags, "SDP");
    EXPECT_EQ(rows[3].services, std::vector<std::string>{"Headset"});
    EXPECT_NE(rows[3].sdpText.find("Headset"), std::string::npos) << rows[3].sdpText;
}

// A history that knows two devices; Latest counts its calls.
class TTwoDeviceHistory : public qm::IHistoryReader {
public:
    std::vector<qm::THistoryMinute> Minutes(const std::string&, std::int64_t, std::int64_t) override {
        return {};
    }
    std::vector<qm::THistoryDeviceSummary> Summary() override {
        if (fail) throw qm::TError("The history store could not prepare a query.");
        return {{"(00:11:22:AA:BB:CC)", 0, 60000, 2, {"Office"}}, {"(00:11:22:AA:BB:CE)", 0, 0, 7, {}}};
    }
    std::optional<qm::THistoryLatest> Latest(const std::string& address) override {
        latestCalls.push_back(address);
        if (address == "(00:11:22:AA:BB:CC)") return qm::THistoryLatest{60000, std::int8_t{-67}, ""};
        if (address == "(00:11:22:AA:BB:CD)") return qm::THistoryLatest{60000, std::nullopt, ""};
        return std::nullopt;
    }
    bool fail = false;
    std::vector<std::string> latestCalls;
};

// Each address of the rows once: its signal and minutes as the history has them, none otherwise;
// a device in the history but not in the rows is left out.
TEST_F(DeviceReport, HistoryFactsOfTheRowsDevices) {
    for (const char* address :
         {"(00:11:22:AA:BB:CC)", "(00:11:22:AA:BB:CD)", "(00:11:22:AA:BB:CC)", "(02:00:00:00:00:01)"})
        AddDevice(address);
    const auto rows = qm::CollectDeviceReport(state_, vendors_);
    TTwoDeviceHistory reader;
    const qm::TReportHistory history = qm::ReadReportHistory(reader, rows);
    EXPECT_EQ(reader.latestCalls, (std::vector<std::string>{"(00:11:22:AA:BB:CC)", "(00:11:22:AA:BB:CD)",
                                                            "(02:00:00:00:00:01)"}));
    EXPECT_EQ(history.size(), 3u);
    EXPECT_EQ(qm::HistoryFactsOf(history, "(00:11:22:AA:BB:CC)").rssi, -67);
    EXPECT_EQ(qm::HistoryFactsOf(history, "(00:11:22:AA:BB:CC)").minutesPresent, 2);
    EXPECT_EQ(qm::HistoryFactsOf(history, "(00:11:22:AA:BB:CD)").rssi, std::nullopt);
    EXPECT_EQ(qm::HistoryFactsOf(history, "(00:11:22:AA:BB:CD)").minutesPresent, 0);
    EXPECT_EQ(qm::HistoryFactsOf(history, "(00:11:22:AA:BB:CE)").minutesPresent, 0);

    reader.fail = true;
    EXPECT_THROW(qm::ReadReportHistory(reader, rows), qm::TError);
}

// Given the history, every format ends each row with the signal and the minutes; a negative
// signal is a number in CSV, not a text that needs guarding against formulas.
TEST_F(DeviceReport, FormatsEndEachRowWithTheHistoryFacts) {
    AddDevice("(00:11:22:AA:BB:CC)");
    AddDevice("(00:11:22:AA:BB:CD)");
    const auto rows = qm::CollectDeviceReport(state_, vendors_);
    const qm::TReportHistory history{{"(00:11:22:AA:BB:CC)", {-67, 2}}};

    const std::string csv = qm::CsvReport(rows, &history);
    EXPECT_THAT(csv,
                ::testing::StartsWith(
                    "address,vendor,name,type,class,first_seen,first_seen_local,last_seen,last_seen_local,"
                    "sightings,flags,location,services,rssi,minutes_present\r\n"));
    EXPECT_THAT(csv, ::testing::HasSubstr(",\"\",\"-67\",\"2\"\r\n"));
    EXPECT_THAT(csv, ::testing::EndsWith(",\"\",\"\",\"0\"\r\n"));

    const auto devices = nlohmann::ordered_json::parse(qm::JsonReport(rows, &history));
    ASSERT_EQ(devices.size(), 2u);
    EXPECT_EQ(devices[0].back(), 2);
    EXPECT_EQ(devices[0].at("rssi"), -67);
    EXPECT_EQ(std::prev(devices[1].end()).key(), "minutes_present");
    EXPECT_TRUE(devices[1].at("rssi").is_null());

    const std::string page = qm::HtmlReport(rows, &history);
    EXPECT_THAT(page, ::testing::HasSubstr("<th>SDP</th><th>RSSI (dBm)</th><th>Minutes present</th></tr>"));
    EXPECT_THAT(page, ::testing::HasSubstr("</details></td><td>-67</td><td>2</td></tr>"));
    EXPECT_THAT(page, ::testing::HasSubstr("</details></td><td></td><td>0</td></tr>"));
}

// Without the history, the reports are what they were before it: no column, no key.
TEST_F(DeviceReport, FormatsWithoutHistoryHaveNoHistoryColumns) {
    AddDevice("(00:11:22:AA:BB:CC)");
    const auto rows = qm::CollectDeviceReport(state_, vendors_);
    for (qm::TReportFormat format :
         {qm::TReportFormat::Csv, qm::TReportFormat::Json, qm::TReportFormat::Html}) {
        const std::string report = qm::RenderReport(format, rows);
        for (const char* history : {"rssi", "RSSI", "minutes_present", "Minutes present"})
            EXPECT_THAT(report, ::testing::Not(::testing::HasSubstr(history)));
    }
}

}  // namespace
