// The report's rows as collected from a session: every text a format shows, from the records.

#include "quillmark/core/DeviceReport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

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

}  // namespace
