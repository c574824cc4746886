// One inquiry pass end to end: emulated radio, HCI and SDP protocol code, the device list, on a
// settable clock.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

#include "quillmark/base/Error.h"
#include "support/DiscoveryHarness.h"

namespace {

using qmtest::kStartTime;
using qmtest::TInventory;
using qmtest::TRecordedServices;

constexpr const char* kAlpha = "(00:00:00:00:00:0A)";
constexpr const char* kBeta = "(00:00:00:00:00:0B)";
constexpr const char* kQuiet = "(00:00:00:00:00:0C)";

constexpr const char* kScenario = R"({"sdpMtu": 24, "devices": [
  {"address": "00:00:00:00:00:0A", "name": "Alpha", "class": "0x5A020C", "format": "extended",
   "records": [{"classes": ["0x1101"], "rfcomm": 1, "name": "Serial Port"},
               {"hex": "35 0A 09 00 00 0A 00 01 00 01 09 00"}]},
  {"address": "00:00:00:00:00:0B", "name": "Beta", "class": "0x240404", "format": "rssi",
   "records": [{"classes": ["0x1108", "0x1203"], "rfcomm": 2, "name": "Headset"}]},
  {"address": "00:00:00:00:00:0C", "name": null, "class": "0x001F00", "misbehave": {"noRecords": true}}]})";

const std::vector<std::string> kMarker{"marker"};

class DiscoveryPass : public testing::Test {
protected:
    bool Pass() { return inventory.pass.Perform(services); }
    // Marks every device's records so that a later SDP query shows by replacing them.
    void MarkRecords() {
        for (const char* address : {kAlpha, kBeta, kQuiet})
            inventory.WithDevice(address, [](qm::TBTDevice& d) { d.RawSDPRecords() = kMarker; });
    }
    std::vector<std::string> Records(const char* address) {
        std::vector<std::string> records;
        inventory.WithDevice(address, [&](qm::TBTDevice& d) { records = d.RawSDPRecords(); });
        return records;
    }

    TInventory inventory{kScenario};
    TRecordedServices services;
};

TEST_F(DiscoveryPass, FirstPassRecordsAnnouncesAndQueriesEveryDevice) {
    inventory.session.SetCurrentLocation("Office");
    ASSERT_TRUE(Pass());

    EXPECT_EQ(services.log, (std::vector<std::string>{"Found new device: (00:00:00:00:00:0A)",
                                                      "Found new device: (00:00:00:00:00:0B)",
                                                      "Found new device: (00:00:00:00:00:0C)"}));
    EXPECT_EQ(services.newDevices, 3);
    ASSERT_TRUE(inventory.WithDevice(kAlpha, [](qm::TBTDevice& d) {
        EXPECT_EQ(d.Name(), "Alpha");
        EXPECT_EQ(d.MajorClass(), 2);
        EXPECT_EQ(d.MinorClass(), 3);
        EXPECT_EQ(d.Type(), qm::dtPhone);
        EXPECT_EQ(d.FirstSeen(), kStartTime);
        EXPECT_EQ(d.LastSeen(), kStartTime);
        EXPECT_EQ(d.SeenCount(), 1);
        EXPECT_EQ(d.Location(), "Office");
    }));
    EXPECT_EQ(Records(kAlpha), inventory.ScenarioRecords(0));
    EXPECT_EQ(Records(kBeta), inventory.ScenarioRecords(1));
    EXPECT_TRUE(Records(kQuiet).empty());
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) { EXPECT_EQ(d.Name(), "Unknown"); });
}

// The pass hands its sightings over once, at its end, each with the location, the radio's time,
// the signal of the formats that carry one and the extended inquiry response.
TEST_F(DiscoveryPass, PassHandsItsSightingsToTheSinkAsOneBatch) {
    inventory.session.SetCurrentLocation("Office");
    ASSERT_TRUE(Pass());
    ASSERT_EQ(inventory.sink.batches.size(), 1u);
    const auto& batch = inventory.sink.batches[0];
    ASSERT_EQ(batch.size(), 3u);
    EXPECT_EQ(batch[0].sighting.address, kAlpha);
    EXPECT_EQ(batch[0].location, "Office");
    EXPECT_EQ(batch[0].sighting.receivedMs, std::int64_t{kStartTime} * 1000);
    EXPECT_TRUE(batch[0].sighting.rssi);
    EXPECT_FALSE(batch[0].sighting.eir.empty());
    EXPECT_EQ(batch[0].sighting.classOfDevice, std::optional<std::uint32_t>(0x5A020C));
    EXPECT_TRUE(batch[1].sighting.rssi);
    EXPECT_TRUE(batch[1].sighting.eir.empty());
    EXPECT_FALSE(batch[2].sighting.rssi);
    inventory.WithDevice(kBeta, [&](qm::TBTDevice& d) { EXPECT_EQ(d.Signal(), batch[1].sighting.rssi); });
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) { EXPECT_FALSE(d.Signal()); });
}

struct TGapCase {
    std::int32_t gap;
    bool sdpAgain;
};

class DiscoveryPassGap : public DiscoveryPass, public testing::WithParamInterface<TGapCase> {};

TEST_P(DiscoveryPassGap, SdpOnlyAfterMoreThan300Seconds) {
    ASSERT_TRUE(Pass());
    MarkRecords();
    services.log.clear();
    inventory.clock.Advance(GetParam().gap);
    ASSERT_TRUE(Pass());

    EXPECT_TRUE(services.log.empty());
    EXPECT_EQ(services.newDevices, 3);
    inventory.WithDevice(kAlpha, [&](qm::TBTDevice& d) {
        EXPECT_EQ(d.SeenCount(), 2);
        EXPECT_EQ(d.FirstSeen(), kStartTime);
        EXPECT_EQ(d.LastSeen(), kStartTime + GetParam().gap);
    });
    EXPECT_EQ(Records(kAlpha), GetParam().sdpAgain ? inventory.ScenarioRecords(0) : kMarker);
    // A device that offers no record keeps the ones it had.
    EXPECT_EQ(Records(kQuiet), kMarker);
}

INSTANTIATE_TEST_SUITE_P(Gaps, DiscoveryPassGap,
                         testing::Values(TGapCase{10, false}, TGapCase{300, false}, TGapCase{301, true}),
                         [](const auto& info) { return std::to_string(info.param.gap) + "s"; });

TEST_F(DiscoveryPass, LaterSightingKeepsKnownNameAndTakesCurrentLocation) {
    ASSERT_TRUE(Pass());
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) {
        d.SetName("Known");
        d.SetLocation("Lab");
    });
    inventory.session.SetCurrentLocation("Office");
    ASSERT_TRUE(Pass());
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) {
        EXPECT_EQ(d.Name(), "Known");
        EXPECT_EQ(d.Location(), "Office");
    });
}

// A session file may hold any 32-bit count; a sighting adds one until the count reaches its maximum.
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST_F(DiscoveryPass, SeenCountStopsAtItsMaximum) {
    ASSERT_TRUE(Pass());
    inventory.WithDevice(kAlpha, [](qm::TBTDevice& d) { d.SetSeenCount(kMax - 1); });
    inventory.WithDevice(kBeta, [](qm::TBTDevice& d) { d.SetSeenCount(kMax); });
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) { d.SetSeenCount(-1); });
    ASSERT_TRUE(Pass());
    inventory.WithDevice(kAlpha, [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), kMax); });
    inventory.WithDevice(kBeta, [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), kMax); });
    inventory.WithDevice(kQuiet, [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), 0); });
    ASSERT_TRUE(Pass());
    inventory.WithDevice(kAlpha, [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), kMax); });
}

TEST_F(DiscoveryPass, TerminationStopsBeforeTheNextResult) {
    services.terminateAfterChecks = 1;
    ASSERT_TRUE(Pass());
    EXPECT_EQ(services.log, std::vector<std::string>{"Found new device: (00:00:00:00:00:0A)"});
    EXPECT_EQ(inventory.session.DeviceList().Count(), 1);
}

TEST(DiscoveryPassEdges, NoDeviceInRangeLeavesTheListAlone) {
    TInventory inventory(R"({"devices": [{"address": "00:00:00:00:00:0A", "presence": {"from": 60}}]})");
    TRecordedServices services;
    EXPECT_TRUE(inventory.pass.Perform(services));
    EXPECT_EQ(inventory.session.DeviceList().Count(), 0);
    EXPECT_TRUE(services.log.empty());
}

TEST(DiscoveryPassEdges, SdpFailureEndsThePassAfterRecordingTheDevice) {
    TInventory inventory(R"({"devices": [
        {"address": "00:00:00:00:00:0A", "name": "Alpha", "misbehave": {"sdpError": 2}},
        {"address": "00:00:00:00:00:0B", "name": "Beta"}]})");
    TRecordedServices services;
    try {
        inventory.pass.Perform(services);
        FAIL() << "the pass did not fail";
    } catch (const qm::TError& error) {
        EXPECT_EQ(error.Message(), "Unable to fetch service information.\n\nError: Protocol error");
    }
    EXPECT_EQ(inventory.session.DeviceList().Count(), 1);
    inventory.WithDevice(kAlpha, [](qm::TBTDevice& d) { EXPECT_EQ(d.SeenCount(), 1); });
    // What the failed pass recorded still reaches the history.
    ASSERT_EQ(inventory.sink.batches.size(), 1u);
    ASSERT_EQ(inventory.sink.batches[0].size(), 1u);
    EXPECT_EQ(inventory.sink.batches[0][0].sighting.address, kAlpha);
    // The failed query is not repeated at the next sighting; the other device is recorded then.
    inventory.clock.Advance(10);
    EXPECT_TRUE(inventory.pass.Perform(services));
    EXPECT_EQ(inventory.session.DeviceList().Count(), 2);
}

TEST(DiscoveryPassEdges, InquiryFailuresCarryTheSystemText) {
    struct TCase {
        const char* controller;
        const char* message;
    };
    for (const TCase& c :
         {TCase{R"({"busy": true})", "Unable to start device lookup.\n\nError: Device or resource busy"},
          TCase{R"({"inquirySilent": true})",
                "Unable to start device lookup.\n\nError: Connection timed out"}}) {
        TInventory inventory(std::string(R"({"controller": )") + c.controller +
                             R"(, "devices": [{"address": "00:00:00:00:00:0A"}]})");
        TRecordedServices services;
        try {
            inventory.pass.Perform(services);
            ADD_FAILURE() << "no error for " << c.controller;
        } catch (const qm::TError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
    }
}

TEST(DiscoveryPassEdges, DeviceDeletedDuringTheQueryFailsTheQuery) {
    TInventory inventory(R"({"devices": [{"address": "00:00:00:00:00:0A", "records": [{"hex": "35 00"}]}]})");
    struct TDeletingServices : TRecordedServices {
        qm::TSessionState* session = nullptr;
        void NewDeviceFound() override {
            qm::TDeviceListLock lock(session->DeviceList());
            lock->Clear();
        }
    } services;
    services.session = &inventory.session;
    try {
        inventory.pass.Perform(services);
        FAIL() << "the pass did not fail";
    } catch (const qm::TError& error) {
        EXPECT_EQ(error.Message(), "Unable to find device to record SDP results: (00:00:00:00:00:0A)");
    }
}

}  // namespace
