// The inquiry over the HCI protocol code, against the emulated controller, and the event parser.

#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "support/EmulatedPlatform.h"

namespace {

using qm::bt::TInquiryLookup;
using qm::bt::TLookupCode;
using qmtest::TEmulatedPlatform;

struct TInquiryRun {
    TLookupCode begin = TLookupCode::Ok;
    int error = 0;
    std::vector<qm::TSighting> results;
};

TInquiryRun RunInquiry(TEmulatedPlatform& emulated) {
    TInquiryRun run;
    std::unique_ptr<TInquiryLookup> lookup;
    const auto status = emulated.Platform().BeginInquiry(lookup);
    run.begin = status.code;
    run.error = status.systemError;
    if (status.code != TLookupCode::Ok) return run;
    qm::TSighting result;
    while (lookup->Next(result).code == TLookupCode::Ok) run.results.push_back(result);
    return run;
}

std::string OneDevice(const std::string& fields) {
    return R"({"devices": [{"address": "00:11:22:AA:BB:CC", "class": "0x5A020C", )" + fields + "}]}";
}

struct TFormatCase {
    const char* label;
    std::string device;
    std::string expectedName;
};

class InquiryFormat : public testing::TestWithParam<TFormatCase> {};

TEST_P(InquiryFormat, DeliversNameClassAndAddress) {
    TEmulatedPlatform emulated(OneDevice(GetParam().device));
    const TInquiryRun run = RunInquiry(emulated);
    ASSERT_EQ(run.begin, TLookupCode::Ok);
    ASSERT_EQ(run.results.size(), 1u);
    EXPECT_EQ(run.results[0].name, GetParam().expectedName);
    EXPECT_EQ(run.results[0].classOfDevice, std::optional<std::uint32_t>(0x5A020Cu));
    EXPECT_EQ(run.results[0].address, "(00:11:22:AA:BB:CC)");
    EXPECT_EQ(run.results[0].transport, qm::TTransport::Classic);
    EXPECT_EQ(run.results[0].receivedMs, 1000 * 1000);
}

INSTANTIATE_TEST_SUITE_P(
    AllFormats, InquiryFormat,
    testing::Values(
        TFormatCase{"standard", R"("format": "standard", "name": "Phone")", "Phone"},
        TFormatCase{"rssi", R"("format": "rssi", "name": "Phone")", "Phone"},
        TFormatCase{"rssi_mode", R"("format": "rssi-mode", "name": "Phone")", "Phone"},
        TFormatCase{"extended", R"("format": "extended", "name": "Phone")", "Phone"},
        TFormatCase{"extended_short", R"("format": "extended", "name": "Ph", "shortNameOnly": true)", "Ph"},
        TFormatCase{"standard_unnamed", R"("format": "standard", "name": null)", ""},
        TFormatCase{"extended_unnamed", R"("format": "extended", "name": null)", ""},
        TFormatCase{"silent_name", R"("name": "Phone", "misbehave": {"nameSilent": true})", ""},
        TFormatCase{"invalid_utf8", R"("name": {"hex": "41 C3 28 42 FF"})", "A\xEF\xBF\xBD(B\xEF\xBF\xBD"},
        TFormatCase{"utf8", R"("name": "Caf\u00e9")", "Caf\xC3\xA9"}),
    [](const auto& info) { return std::string(info.param.label); });

// The emulated device's signal rises and falls over its period; the standard format carries none,
// and an extended result brings its response data.
TEST(Inquiry, SignalFollowsTheScenarioOverTime) {
    qm::TSettableClock clock(1000);
    TEmulatedPlatform emulated(R"({"devices": [
        {"address": "00:00:00:00:00:00", "format": "rssi", "signal": {"dbm": -60, "swing": 10, "period": 40}},
        {"address": "00:00:00:00:00:01", "format": "standard"},
        {"address": "00:00:00:00:00:02", "format": "extended", "name": "E", "signal": -71}]})",
                               qmtest::ShortLimits(), &clock);
    std::vector<std::optional<std::int8_t>> curve;
    for (int step = 0; step < 5; ++step) {
        const TInquiryRun run = RunInquiry(emulated);
        ASSERT_EQ(run.results.size(), 3u);
        curve.push_back(run.results[0].rssi);
        EXPECT_FALSE(run.results[1].rssi);
        EXPECT_EQ(run.results[2].rssi, std::optional<std::int8_t>(-71));
        EXPECT_EQ(run.results[2].eir, std::string("\x02\x01\x06\x02\x09" "E", 6));
        clock.Advance(10);
    }
    const std::vector<std::optional<std::int8_t>> expected{-70, -60, -50, -60, -70};
    EXPECT_EQ(curve, expected);
}

TEST(Inquiry, NoDeviceInRangeIsNothingFound) {
    TEmulatedPlatform emulated(
        R"({"devices": [{"address": "00:11:22:AA:BB:CC", "presence": {"from": 60}}]})");
    const TInquiryRun run = RunInquiry(emulated);
    EXPECT_EQ(run.begin, TLookupCode::NothingFound);
}

TEST(Inquiry, ResultsArriveInScenarioOrderAndEnd) {
    TEmulatedPlatform emulated(R"({"devices": [
        {"address": "00:00:00:00:00:03", "name": "C"},
        {"address": "00:00:00:00:00:01", "name": "A", "format": "extended"},
        {"address": "00:00:00:00:00:02", "name": "B", "format": "rssi"}]})");
    const TInquiryRun run = RunInquiry(emulated);
    ASSERT_EQ(run.results.size(), 3u);
    EXPECT_EQ(run.results[0].name, "C");
    EXPECT_EQ(run.results[1].name, "A");
    EXPECT_EQ(run.results[2].name, "B");
}

TEST(Inquiry, FloodOfRepeatedResultsGivesOneDevice) {
    TEmulatedPlatform emulated(OneDevice(R"("name": "Loud", "misbehave": {"flood": 500})"));
    const TInquiryRun run = RunInquiry(emulated);
    ASSERT_EQ(run.results.size(), 1u);
    EXPECT_EQ(run.results[0].name, "Loud");
}

TEST(Inquiry, DistinctDevicesBeyondTheLimitAreDropped) {
    auto limits = qmtest::ShortLimits();
    limits.maxInquiryResults = 2;
    TEmulatedPlatform emulated(
        R"({"devices": [{"address": "00:00:00:00:00:01"}, {"address": "00:00:00:00:00:02"},
                                               {"address": "00:00:00:00:00:03"}]})",
        limits);
    EXPECT_EQ(RunInquiry(emulated).results.size(), 2u);
}

struct TFailureCase {
    const char* label;
    std::string controller;
    int error;
};

class InquiryFailure : public testing::TestWithParam<TFailureCase> {};

TEST_P(InquiryFailure, CarriesTheSystemError) {
    TEmulatedPlatform emulated(R"({"controller": )" + GetParam().controller +
                               R"(, "devices": [{"address": "00:11:22:AA:BB:CC"}]})");
    const TInquiryRun run = RunInquiry(emulated);
    EXPECT_EQ(run.begin, TLookupCode::Failed);
    EXPECT_EQ(run.error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(Controllers, InquiryFailure,
                         testing::Values(TFailureCase{"busy", R"({"busy": true})", EBUSY},
                                         TFailureCase{"never_completes", R"({"inquirySilent": true})",
                                                      ETIMEDOUT},
                                         TFailureCase{"too_slow", R"({"inquiryMs": 1000})", ETIMEDOUT},
                                         TFailureCase{"not_powered", R"({"powered": false})", ENODEV}),
                         [](const auto& info) { return std::string(info.param.label); });

// Hostile event bytes: every malformed packet is rejected, none is read beyond its end.
TEST(HciEventParser, RejectsMalformedPackets) {
    const std::vector<std::vector<std::uint8_t>> packets{
        {},
        {0x04},
        {0x01, 0x01, 0x00},                    // a command, not an event
        {0x04, 0x01, 0x02, 0x00},              // length beyond the packet
        {0x04, 0x01, 0x00},                    // Inquiry Complete without status
        {0x04, 0x02, 0x01, 0x02},              // two standard results announced, none present
        {0x04, 0x22, 0x03, 0x01, 0x00, 0x00},  // RSSI result of neither entry size
        {0x04, 0x2F, 0x02, 0x01, 0x00},        // extended result too short
        {0x04, 0x0F, 0x03, 0x00, 0x01, 0x01},  // Command Status too short
        {0x04, 0x07, 0x03, 0x00, 0x01, 0x02},  // Remote Name Complete too short
    };
    for (const auto& packet : packets)
        EXPECT_FALSE(qm::bt::ParseHciEvent(packet)) << testing::PrintToString(packet);
}

TEST(HciEventParser, ReadsTheRssiEntryWithPageScanMode) {
    const std::vector<std::uint8_t> packet{0x04, 0x22, 0x10, 0x01, 0xCC, 0xBB, 0xAA, 0x22, 0x11, 0x00,
                                           0x01, 0x00, 0x00, 0x0C, 0x02, 0x5A, 0x34, 0x12, 0xC4};
    const auto event = qm::bt::ParseHciEvent(packet);
    ASSERT_TRUE(event);
    const auto& results = std::get<qm::bt::THciInquiryResults>(*event);
    ASSERT_EQ(results.entries.size(), 1u);
    EXPECT_EQ(results.entries[0].classOfDevice, 0x5A020Cu);
    EXPECT_EQ(results.entries[0].clockOffset, 0x1234);
    EXPECT_EQ(qm::bt::BTAddressToString(results.entries[0].address), "(00:11:22:AA:BB:CC)");
    EXPECT_EQ(results.entries[0].rssi, std::optional<std::int8_t>(-60));
}

// The signal strength byte sits at the end of each entry of the formats that carry it; the
// standard format has none. An extended result keeps its EIR without the zero padding.
TEST(HciEventParser, KeepsTheSignalStrengthAndTheSignificantEir) {
    struct TCase {
        const char* label;
        std::vector<std::uint8_t> packet;
        std::optional<std::int8_t> rssi;
        std::vector<std::uint8_t> eir;
    };
    std::vector<std::uint8_t> extended{0x04, 0x2F, 0xFF, 0x01, 1, 2, 3, 4, 5, 6, 0x01, 0x00,
                                       0x0C, 0x02, 0x5A, 0x34, 0x12, 0x81, 3, 0x09, 'A', 'B'};
    extended.resize(3 + 255, 0);
    const std::vector<TCase> cases{
        {"standard", {0x04, 0x02, 0x0F, 0x01, 1, 2, 3, 4, 5, 6, 0x01, 0x00, 0x00, 0x0C, 0x02, 0x5A, 0x34, 0x12},
         std::nullopt, {}},
        {"rssi", {0x04, 0x22, 0x0F, 0x01, 1, 2, 3, 4, 5, 6, 0x01, 0x00, 0x0C, 0x02, 0x5A, 0x34, 0x12, 0xB5},
         std::int8_t{-75}, {}},
        {"rssi_positive", {0x04, 0x22, 0x0F, 0x01, 1, 2, 3, 4, 5, 6, 0x01, 0x00, 0x0C, 0x02, 0x5A, 0x34, 0x12, 0x05},
         std::int8_t{5}, {}},
        {"extended", extended, std::int8_t{-127}, {3, 0x09, 'A', 'B'}},
    };
    for (const TCase& c : cases) {
        const auto event = qm::bt::ParseHciEvent(c.packet);
        ASSERT_TRUE(event) << c.label;
        const auto& entries = std::get<qm::bt::THciInquiryResults>(*event).entries;
        ASSERT_EQ(entries.size(), 1u) << c.label;
        EXPECT_EQ(entries[0].rssi, c.rssi) << c.label;
        EXPECT_EQ(std::vector<std::uint8_t>(entries[0].eir.begin(), entries[0].eir.end()), c.eir) << c.label;
    }
}

TEST(EirSignificantPart, StopsAtPaddingOrAtTheLastWholeStructure) {
    const std::vector<std::pair<std::vector<std::uint8_t>, std::size_t>> cases{
        {{3, 0x09, 'A', 'B', 0, 0, 0}, 4u},
        {{3, 0x09, 'A', 'B', 2, 0x0A, 0x04}, 7u},
        {{3, 0x09, 'A', 'B', 9, 0x08, 'Z'}, 4u},
        {{0, 3, 0x09, 'A'}, 0u},
        {{}, 0u},
    };
    for (const auto& [eir, size] : cases)
        EXPECT_EQ(qm::bt::EirSignificantPart(eir).size(), size) << testing::PrintToString(eir);
}

TEST(EirName, PrefersTheCompleteNameAndStopsAtBrokenFields) {
    const std::vector<std::uint8_t> both{3, 0x08, 'A', 'B', 4, 0x09, 'A', 'B', 'C', 0};
    EXPECT_EQ(qm::bt::EirName(both), "ABC");
    const std::vector<std::uint8_t> shortOnly{2, 0x01, 0x06, 3, 0x08, 'X', 'Y'};
    EXPECT_EQ(qm::bt::EirName(shortOnly), "XY");
    const std::vector<std::uint8_t> overrun{3, 0x08, 'X', 'Y', 9, 0x09, 'Z'};
    EXPECT_EQ(qm::bt::EirName(overrun), "XY");
    EXPECT_FALSE(qm::bt::EirName(std::vector<std::uint8_t>{0, 3, 0x09, 'A', 'B'}));
}

TEST(BluetoothAddress, TextRoundTripAndRejections) {
    const auto address = qm::bt::BTAddressFromString("(0a:1B:22:aa:BB:cc)");
    ASSERT_TRUE(address);
    EXPECT_EQ(qm::bt::BTAddressToString(*address), "(0A:1B:22:AA:BB:CC)");
    for (const char* bad : {"", "00:11:22:AA:BB:CC", "(00:11:22:AA:BB:C)", "(00-11-22-AA-BB-CC)",
                            "(00:11:22:AA:BB:GG)", "(00:11:22:AA:BB:CC) "})
        EXPECT_FALSE(qm::bt::BTAddressFromString(bad)) << bad;
}

}  // namespace

namespace {

// The local reads the radio information window will send; the emulated controller answers each
// with Command Complete and the scenario's values.
TEST(EmulatedController, AnswersTheLocalReads) {
    struct TCase {
        std::uint16_t opcode;
        std::vector<std::uint8_t> returned;  // after the status byte
    };
    std::vector<std::uint8_t> name{'R', 'a', 'd', 'i', 'o'};
    name.resize(248, 0);
    const std::vector<TCase> cases{
        {qm::bt::hci::kReadLocalName, name},
        {qm::bt::hci::kReadClassOfDevice, {0x0C, 0x01, 0x1C}},
        {qm::bt::hci::kReadScanEnable, {0x03}},
        {qm::bt::hci::kReadLocalVersion, {9, 0x00, 0x01, 9, 0x02, 0x00, 0x00, 0x01}},
        {qm::bt::hci::kReadBdAddr, {0x13, 0x71, 0xDA, 0x7D, 0x1A, 0x00}},
    };
    TEmulatedPlatform emulated(
        R"({"controller": {"name": "Radio", "class": "0x1C010C", "discoverable": true}})");
    int error = 0;
    qm::bt::TUniqueFd controller = emulated.Radio().OpenController(error);
    ASSERT_TRUE(controller.Valid());
    for (const auto& c : cases) {
        ASSERT_TRUE(qm::bt::SendPacket(controller.Get(), qm::bt::HciCommand(c.opcode)).Ok());
        std::vector<std::uint8_t> packet;
        ASSERT_TRUE(qm::bt::ReceivePacket(controller.Get(), qm::bt::DeadlineIn(1000), packet).Ok());
        const auto event = qm::bt::ParseHciEvent(packet);
        ASSERT_TRUE(event);
        const auto& complete = std::get<qm::bt::THciCommandComplete>(*event);
        EXPECT_EQ(complete.opcode, c.opcode);
        std::vector<std::uint8_t> expected{0};
        expected.insert(expected.end(), c.returned.begin(), c.returned.end());
        EXPECT_EQ(complete.returnParameters, expected) << std::hex << c.opcode;
    }
}

}  // namespace
