// The emulated controller's LE scanning, packet by packet: the commands it answers, the reports it
// sends on its own while it scans, and a controller that cannot scan during an inquiry.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "quillmark/bluetooth/platform/emulated/EmulatedRadio.h"
#include "quillmark/bluetooth/platform/emulated/ScenarioJson.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using qm::bt::HciCommand;

using qm::bt::hci::kLeReadLocalSupportedFeatures;
using qm::bt::hci::kLeSetExtendedScanEnable;
using qm::bt::hci::kLeSetExtendedScanParameters;
using qm::bt::hci::kLeSetScanEnable;
using qm::bt::hci::kLeSetScanParameters;

class TController {
public:
    explicit TController(const char* scenario) : radio_(qm::bt::emu::ParseScenario(scenario)) {
        int error = 0;
        fd_ = radio_.OpenController(error);
    }
    // The command's Command Complete return parameters (status first), or its Command Status.
    Bytes Command(std::uint16_t opcode, const Bytes& parameters = {}) {
        qm::bt::SendPacket(fd_.Get(), HciCommand(opcode, parameters));
        Bytes packet;
        while (qm::bt::ReceivePacket(fd_.Get(), qm::bt::DeadlineIn(1000), packet).Ok()) {
            if (packet.size() >= 6 && packet[1] == 0x0E && packet[4] + (packet[5] << 8) == opcode)
                return Bytes(packet.begin() + 6, packet.end());
            if (packet.size() >= 7 && packet[1] == 0x0F && packet[5] + (packet[6] << 8) == opcode)
                return Bytes{packet[3]};
        }
        return {};
    }
    // The LE Meta events that arrive within the time.
    std::vector<Bytes> Reports(int milliseconds) {
        std::vector<Bytes> reports;
        Bytes packet;
        const auto deadline = qm::bt::DeadlineIn(milliseconds);
        while (qm::bt::ReceivePacket(fd_.Get(), deadline, packet).Ok())
            if (packet.size() > 3 && packet[1] == 0x3E) reports.push_back(packet);
        return reports;
    }
    qm::bt::emu::TEmulatedRadio& Radio() { return radio_; }

private:
    qm::bt::emu::TEmulatedRadio radio_;
    qm::bt::TUniqueFd fd_;
};

constexpr const char* kTwoAdvertisers = R"({"devices": [
    {"address": "00:11:22:00:00:01", "classic": false, "signal": -60,
     "le": {"intervalMs": 100, "advertising": {"flags": 6}, "scanResponse": {"name": "Tag"}}},
    {"address": "00:11:22:00:00:02", "classic": false, "signal": -70,
     "le": {"addressType": "random-static", "eventType": "non-connectable", "intervalMs": 200,
            "advertising": {"hex": "02 01 06"}, "scanResponse": {"name": "Never"}}}]})";

// Legacy active scanning: each advertiser about once per interval, the first with its scan
// response, the non-connectable one without; the report bytes as the HCI lays them out. (The
// bounds leave room for a loaded machine: missed advertising events are skipped, not bunched.)
TEST(EmulatedLeScan, LegacyActiveScanReportsEachAdvertiserOnItsSchedule) {
    TController controller(kTwoAdvertisers);
    EXPECT_EQ(controller.Command(kLeSetScanParameters, {0x01, 0x10, 0x00, 0x10, 0x00, 0x00, 0x00}), Bytes{0x00});
    EXPECT_EQ(controller.Command(kLeSetScanEnable, {0x01, 0x00}), Bytes{0x00});
    const auto reports = controller.Reports(1000);
    int first = 0, responses = 0, second = 0;
    for (const Bytes& r : reports) {
        ASSERT_EQ(r[3], 0x02) << "legacy scanning sends only LE Advertising Reports";
        ASSERT_EQ(r[4], 1);
        ASSERT_EQ(r.size(), 3u + r[2]);
        const std::uint8_t eventType = r[5], addressType = r[6], dataLength = r[13];
        ASSERT_EQ(r.size(), 15u + dataLength);
        const auto rssi = static_cast<std::int8_t>(r.back());
        if (r[12] == 0x00 && r[7] == 0x01) {
            EXPECT_EQ(addressType, 0);
            EXPECT_EQ(rssi, -60);
            eventType == 0x04 ? ++responses : ++first;
            const Bytes data(r.begin() + 14, r.end() - 1);
            const Bytes expected = eventType == 0x04 ? Bytes{0x04, 0x09, 'T', 'a', 'g'} : Bytes{0x02, 0x01, 0x06};
            EXPECT_EQ(data, expected);
        } else {
            EXPECT_EQ(addressType, 1);
            EXPECT_EQ(r[12] & 0xC0, 0xC0) << "a static random address";
            EXPECT_EQ(eventType, 0x03);
            EXPECT_EQ(rssi, -70);
            ++second;
        }
    }
    EXPECT_GE(first, 5);
    EXPECT_LE(first, 11);
    EXPECT_EQ(responses, first);
    EXPECT_GE(second, 2);
    EXPECT_LE(second, 6);
    EXPECT_EQ(controller.Command(kLeSetScanEnable, {0x00, 0x00}), Bytes{0x00});
    EXPECT_LE(controller.Reports(300).size(), 2u) << "reports end once scanning is off";
}

TEST(EmulatedLeScan, PassiveScanHearsNoScanResponses) {
    TController controller(kTwoAdvertisers);
    controller.Command(kLeSetScanParameters, {0x00, 0x10, 0x00, 0x10, 0x00, 0x00, 0x00});
    controller.Command(kLeSetScanEnable, {0x01, 0x00});
    const auto reports = controller.Reports(400);
    ASSERT_FALSE(reports.empty());
    for (const Bytes& r : reports) EXPECT_NE(r[5], 0x04);
}

// Extended scanning needs a controller that lists the feature; it hears extended advertisers too,
// and 251 bytes of data arrive in two fragments, the first marked incomplete.
TEST(EmulatedLeScan, ExtendedScanReportsFragmentsAndLegacyPdus) {
    std::string data;
    for (int i = 0; i < 247; ++i) data += "AB ";
    const std::string scenario = std::string(R"({"controller": {"leExtended": true}, "devices": [
        {"address": "00:11:22:00:00:01", "classic": false, "le": {"intervalMs": 100, "advertising": {"flags": 6}}},
        {"address": "00:11:22:00:00:02", "classic": false,
         "le": {"extended": true, "eventType": "non-connectable", "intervalMs": 100,
                "advertising": {"manufacturer": {"company": 1, "hex": ")") + data + R"("}}}}]})";
    TController controller(scenario.c_str());
    const Bytes features = controller.Command(kLeReadLocalSupportedFeatures);
    ASSERT_EQ(features.size(), 9u);
    EXPECT_EQ(features[2] & 0x10, 0x10);
    EXPECT_EQ(controller.Command(kLeSetExtendedScanParameters, {0x00, 0x00, 0x01, 0x01, 0x10, 0x00, 0x10, 0x00}),
              Bytes{0x00});
    EXPECT_EQ(controller.Command(kLeSetExtendedScanEnable, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00}), Bytes{0x00});
    std::set<std::uint16_t> types;
    std::size_t extendedBytes = 0;
    for (const Bytes& r : controller.Reports(250)) {
        ASSERT_EQ(r[3], 0x0D);
        ASSERT_EQ(r.size(), 3u + r[2]);
        ASSERT_EQ(r.size(), 29u + r[28]);
        const std::uint16_t type = static_cast<std::uint16_t>(r[5] | r[6] << 8);
        types.insert(type);
        if (r[8] == 0x02) extendedBytes += r[28];
    }
    EXPECT_TRUE(types.contains(0x13)) << "ADV_IND as a legacy PDU";
    EXPECT_TRUE(types.contains(0x20)) << "an incomplete fragment of the extended advertisement";
    EXPECT_TRUE(types.contains(0x00)) << "its complete last fragment";
    EXPECT_GE(extendedBytes, 251u);
    EXPECT_EQ(extendedBytes % 251, 0u);
}

TEST(EmulatedLeScan, ExtendedCommandsUnknownWithoutTheFeature) {
    TController controller(kTwoAdvertisers);
    EXPECT_EQ(controller.Command(kLeReadLocalSupportedFeatures)[2] & 0x10, 0);
    EXPECT_EQ(controller.Command(kLeSetExtendedScanEnable, {0x01, 0x00, 0x00, 0x00, 0x00, 0x00}), Bytes{0x01});
}

// A controller that cannot do both refuses an inquiry while it scans LE, and LE scanning while an
// inquiry runs, with Command Disallowed.
TEST(EmulatedLeScan, ControllerWithoutBothAtOnceRefusesTheSecond) {
    TController scanner(R"({"controller": {"leDuringInquiry": false}, "devices": [
        {"address": "00:11:22:00:00:01", "le": {"advertising": {"flags": 6}}}]})");
    EXPECT_EQ(scanner.Command(kLeSetScanEnable, {0x01, 0x00}), Bytes{0x00});
    int error = 0;
    qm::bt::TUniqueFd other = scanner.Radio().OpenController(error);
    qm::bt::SendPacket(other.Get(), qm::bt::HciInquiryCommand(qm::bt::hci::kGeneralInquiryLap, 1, 0));
    Bytes packet;
    bool refused = false;
    while (qm::bt::ReceivePacket(other.Get(), qm::bt::DeadlineIn(1000), packet).Ok())
        if (packet[1] == 0x0F) {
            refused = packet[3] == qm::bt::hci::kStatusCommandDisallowed;
            break;
        }
    EXPECT_TRUE(refused);
    EXPECT_EQ(scanner.Command(kLeSetScanEnable, {0x00, 0x00}), Bytes{0x00});
    qm::bt::SendPacket(other.Get(), qm::bt::HciInquiryCommand(qm::bt::hci::kGeneralInquiryLap, 1, 0));
    while (qm::bt::ReceivePacket(other.Get(), qm::bt::DeadlineIn(1000), packet).Ok())
        if (packet[1] == 0x0F) {
            EXPECT_EQ(packet[3], 0x00);
            break;
        }
}

}  // namespace
