// LE scanning command packets and the parser of the LE advertising report events.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/HciPackets.h"

namespace {

namespace bt = qm::bt;
using Bytes = std::vector<std::uint8_t>;

// Appends byte by byte: GCC 12 at -O3 misreads a range insert into a vector that began as a braced
// list as an out-of-bounds copy (-Warray-bounds).
void Append(Bytes& bytes, const Bytes& tail) {
    for (const std::uint8_t byte : tail) bytes.push_back(byte);
}

// An LE meta event packet of a subevent with its parameters.
Bytes LeMeta(std::uint8_t subevent, const Bytes& parameters) {
    Bytes packet{0x04, 0x3E, static_cast<std::uint8_t>(parameters.size() + 1), subevent};
    Append(packet, parameters);
    return packet;
}

// One legacy report: event type, address type, address 00:11:22:AA:BB:CC, data, RSSI.
Bytes LegacyReport(std::uint8_t type, const Bytes& data, std::uint8_t rssi, std::uint8_t addressType = 1) {
    Bytes report{
        type, addressType, 0xCC, 0xBB, 0xAA, 0x22, 0x11, 0x00, static_cast<std::uint8_t>(data.size())};
    Append(report, data);
    report.push_back(rssi);
    return report;
}

Bytes Reports(const std::vector<Bytes>& reports) {
    Bytes parameters{static_cast<std::uint8_t>(reports.size())};
    for (const Bytes& r : reports) Append(parameters, r);
    return parameters;
}

// One extended report with the given event type, TX power, RSSI and data.
Bytes ExtendedReport(std::uint16_t type, std::uint8_t txPower, std::uint8_t rssi, const Bytes& data) {
    Bytes report{static_cast<std::uint8_t>(type),
                 static_cast<std::uint8_t>(type >> 8),
                 0x00,
                 0x06,
                 0x05,
                 0x04,
                 0x03,
                 0x02,
                 0xC1,  // public, C1:02:03:04:05:06
                 0x01,
                 0x02,
                 0x03,
                 txPower,
                 rssi,  // 1M primary, 2M secondary, set 3
                 0x20,
                 0x00,  // periodic interval 0x0020
                 0x01,
                 0x66,
                 0x55,
                 0x44,
                 0x33,
                 0x22,
                 0x11,  // direct address, random
                 static_cast<std::uint8_t>(data.size())};
    Append(report, data);
    return report;
}

const bt::THciLeAdvertisingReports& ReportsOf(const std::optional<bt::THciEvent>& event) {
    return std::get<bt::THciLeAdvertisingReports>(*event);
}

TEST(HciLeCommands, Packets) {
    bt::TLeScanParameters scan;
    scan.interval = 0x0010;
    scan.window = 0x0008;
    bt::TLeScanParameters passive = scan;
    passive.active = false;
    passive.ownAddressType = 1;
    const std::pair<Bytes, Bytes> cases[] = {
        {bt::HciLeSetEventMaskCommand(bt::hci::kLeScanEventMask),
         {0x01, 0x01, 0x20, 0x08, 0x02, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {bt::HciLeSetEventMaskCommand(0x0102030405060708ull),
         {0x01, 0x01, 0x20, 0x08, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01}},
        {bt::HciLeReadLocalSupportedFeaturesCommand(), {0x01, 0x03, 0x20, 0x00}},
        {bt::HciLeSetScanParametersCommand(scan),
         {0x01, 0x0B, 0x20, 0x07, 0x01, 0x10, 0x00, 0x08, 0x00, 0x00, 0x00}},
        {bt::HciLeSetScanParametersCommand(passive),
         {0x01, 0x0B, 0x20, 0x07, 0x00, 0x10, 0x00, 0x08, 0x00, 0x01, 0x00}},
        {bt::HciLeSetScanEnableCommand(true), {0x01, 0x0C, 0x20, 0x02, 0x01, 0x00}},
        {bt::HciLeSetScanEnableCommand(false), {0x01, 0x0C, 0x20, 0x02, 0x00, 0x00}},
        {bt::HciLeSetExtendedScanParametersCommand(scan),
         {0x01, 0x41, 0x20, 0x08, 0x00, 0x00, 0x01, 0x01, 0x10, 0x00, 0x08, 0x00}},
        {bt::HciLeSetExtendedScanEnableCommand(true),
         {0x01, 0x42, 0x20, 0x06, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00}},
        {bt::HciLeSetExtendedScanEnableCommand(false),
         {0x01, 0x42, 0x20, 0x06, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& [packet, expected] : cases) EXPECT_EQ(packet, expected);
}

TEST(HciLeCommands, LocalSupportedFeatures) {
    struct TCase {
        const char* label;
        std::uint16_t opcode;
        Bytes returned;
        std::optional<std::uint64_t> features;
    };
    const TCase cases[] = {
        {"extended advertising", 0x2003, {0x00, 0xFF, 0x10, 0, 0, 0, 0, 0, 0x80}, 0x80000000000010FFull},
        {"legacy only", 0x2003, {0x00, 0xFF, 0x00, 0, 0, 0, 0, 0, 0}, 0xFFull},
        {"failure status", 0x2003, {0x01, 0xFF, 0x10, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"too short", 0x2003, {0x00, 0xFF, 0x10, 0, 0, 0, 0, 0}, std::nullopt},
        {"other command", 0x1003, {0x00, 0xFF, 0x10, 0, 0, 0, 0, 0, 0}, std::nullopt},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(bt::LeLocalSupportedFeatures({c.opcode, c.returned}), c.features) << c.label;
    EXPECT_TRUE(*bt::LeLocalSupportedFeatures({0x2003, cases[0].returned}) &
                bt::hci::kLeFeatureExtendedAdvertising);
    EXPECT_FALSE(*bt::LeLocalSupportedFeatures({0x2003, cases[1].returned}) &
                 bt::hci::kLeFeatureExtendedAdvertising);
}

// The Command Complete of the features read, as the controller sends it.
TEST(HciLeCommands, FeaturesFromTheEventPacket) {
    const Bytes packet{0x04, 0x0E, 0x0C, 0x01, 0x03, 0x20, 0x00, 0x00, 0x10, 0, 0, 0, 0, 0, 0};
    const auto event = bt::ParseHciEvent(packet);
    ASSERT_TRUE(event);
    EXPECT_EQ(bt::LeLocalSupportedFeatures(std::get<bt::THciCommandComplete>(*event)),
              std::optional<std::uint64_t>(0x1000));
}

// Each legacy PDU type in the extended form's bits.
TEST(HciLeEvents, LegacyEventTypes) {
    struct TCase {
        std::uint8_t type;
        std::uint16_t bits;
        bool connectable, scannable, directed, scanResponse;
    };
    const TCase cases[] = {
        {0x00, 0x13, true, true, false, false},    // ADV_IND
        {0x01, 0x15, true, false, true, false},    // ADV_DIRECT_IND
        {0x02, 0x12, false, true, false, false},   // ADV_SCAN_IND
        {0x03, 0x10, false, false, false, false},  // ADV_NONCONN_IND
        {0x04, 0x1A, false, true, false, true},    // SCAN_RSP
    };
    for (const TCase& c : cases) {
        const auto event = bt::ParseHciEvent(LeMeta(0x02, Reports({LegacyReport(c.type, {}, 0xC4)})));
        ASSERT_TRUE(event) << int{c.type};
        const bt::THciLeReport& report = ReportsOf(event).reports.at(0);
        EXPECT_EQ(report.eventType, c.bits) << int{c.type};
        EXPECT_TRUE(report.Legacy());
        EXPECT_EQ(report.Connectable(), c.connectable) << int{c.type};
        EXPECT_EQ(report.Scannable(), c.scannable) << int{c.type};
        EXPECT_EQ(report.Directed(), c.directed) << int{c.type};
        EXPECT_EQ(report.ScanResponse(), c.scanResponse) << int{c.type};
    }
}

TEST(HciLeEvents, LegacyReportsInSequence) {
    const Bytes first{2, 0x01, 0x06, 4, 0x09, 'T', 'a', 'g'};
    Bytes full(31, 0xEE);
    const auto event = bt::ParseHciEvent(
        LeMeta(0x02, Reports({LegacyReport(0x00, first, 0xC4), LegacyReport(0x04, {}, 0x7F, 0),
                              LegacyReport(0x03, full, 0x14, 3)})));
    ASSERT_TRUE(event);
    const auto& reports = ReportsOf(event);
    EXPECT_EQ(reports.subevent, 0x02);
    ASSERT_EQ(reports.reports.size(), 3u);
    EXPECT_EQ(bt::BTAddressToString(reports.reports[0].address), "(00:11:22:AA:BB:CC)");
    EXPECT_EQ(reports.reports[0].addressType, 1);
    EXPECT_EQ(reports.reports[0].data, first);
    EXPECT_EQ(reports.reports[0].rssi, std::optional<std::int8_t>(-60));
    EXPECT_EQ(reports.reports[0].txPower, std::nullopt);
    EXPECT_EQ(reports.reports[0].directAddress, std::nullopt);
    EXPECT_EQ(reports.reports[1].addressType, 0);
    EXPECT_TRUE(reports.reports[1].data.empty());
    EXPECT_EQ(reports.reports[1].rssi, std::nullopt);  // 127: not available
    EXPECT_EQ(reports.reports[2].addressType, 3);
    EXPECT_EQ(reports.reports[2].data, full);
    EXPECT_EQ(reports.reports[2].rssi, std::optional<std::int8_t>(20));
}

TEST(HciLeEvents, ExtendedReports) {
    const Bytes data{2, 0x01, 0x06};
    Bytes large(229, 0x42);  // the most one event can carry
    const auto event = bt::ParseHciEvent(LeMeta(
        0x0D, Reports({ExtendedReport(0x0025, 0xF8, 0xB0, data), ExtendedReport(0x0013, 0x7F, 0x7F, {})})));
    ASSERT_TRUE(event);
    const auto& reports = ReportsOf(event);
    EXPECT_EQ(reports.subevent, 0x0D);
    ASSERT_EQ(reports.reports.size(), 2u);
    const bt::THciLeReport& directed = reports.reports[0];
    EXPECT_EQ(directed.eventType, 0x0025);
    EXPECT_FALSE(directed.Legacy());
    EXPECT_TRUE(directed.Connectable() && directed.Directed());
    EXPECT_EQ(directed.eventType & bt::le::kDataStatusMask, 0x20);
    EXPECT_EQ(directed.addressType, 0);
    EXPECT_EQ(bt::BTAddressToString(directed.address), "(C1:02:03:04:05:06)");
    EXPECT_EQ(directed.primaryPhy, 1);
    EXPECT_EQ(directed.secondaryPhy, 2);
    EXPECT_EQ(directed.sid, 3);
    EXPECT_EQ(directed.txPower, std::optional<std::int8_t>(-8));
    EXPECT_EQ(directed.rssi, std::optional<std::int8_t>(-80));
    EXPECT_EQ(directed.periodicInterval, 0x0020);
    EXPECT_EQ(directed.directAddressType, std::optional<std::uint8_t>(1));
    ASSERT_TRUE(directed.directAddress);
    EXPECT_EQ(bt::BTAddressToString(*directed.directAddress), "(11:22:33:44:55:66)");
    EXPECT_EQ(directed.data, data);
    const bt::THciLeReport& legacy = reports.reports[1];
    EXPECT_TRUE(legacy.Legacy() && legacy.Scannable());
    EXPECT_EQ(legacy.txPower, std::nullopt);
    EXPECT_EQ(legacy.rssi, std::nullopt);
    EXPECT_EQ(legacy.directAddress, std::nullopt);  // undirected: the field means nothing

    const auto big = bt::ParseHciEvent(LeMeta(0x0D, Reports({ExtendedReport(0x0000, 0, 0, large)})));
    ASSERT_TRUE(big);
    EXPECT_EQ(ReportsOf(big).reports.at(0).data, large);
}

TEST(HciLeEvents, DirectedReports) {
    const Bytes report{0x01, 0x01, 0x06, 0x05, 0x04, 0x03, 0x02, 0x41,  // resolvable private address
                       0x00, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0xD8};
    const auto event = bt::ParseHciEvent(LeMeta(0x0B, Reports({report, report})));
    ASSERT_TRUE(event);
    const auto& reports = ReportsOf(event);
    EXPECT_EQ(reports.subevent, 0x0B);
    ASSERT_EQ(reports.reports.size(), 2u);
    EXPECT_EQ(reports.reports[1].eventType, 0x15);
    EXPECT_EQ(bt::BTAddressToString(reports.reports[1].address), "(41:02:03:04:05:06)");
    EXPECT_EQ(reports.reports[1].directAddressType, std::optional<std::uint8_t>(0));
    EXPECT_EQ(bt::BTAddressToString(*reports.reports[1].directAddress), "(11:22:33:44:55:66)");
    EXPECT_EQ(reports.reports[1].rssi, std::optional<std::int8_t>(-40));
    EXPECT_TRUE(reports.reports[1].data.empty());
}

TEST(HciLeEvents, ZeroReports) {
    for (const std::uint8_t subevent : {0x02, 0x0B, 0x0D}) {
        const auto event = bt::ParseHciEvent(LeMeta(subevent, {0x00}));
        ASSERT_TRUE(event) << int{subevent};
        EXPECT_TRUE(ReportsOf(event).reports.empty());
    }
}

// Every length is checked: a report that overruns, stops short, or leaves bytes over, and a
// count larger than the reports present, reject the whole event.
TEST(HciLeEvents, RejectsMalformedReports) {
    const Bytes one = LegacyReport(0x00, {2, 0x01, 0x06}, 0xC4);
    Bytes overrun = Reports({one});
    overrun[9] = 4;  // data length past the RSSI
    Bytes tooLong = Reports({LegacyReport(0x00, Bytes(32, 0), 0xC4)});
    Bytes extended = Reports({ExtendedReport(0x0013, 0, 0, {2, 0x01, 0x06})});
    Bytes extendedOverrun = extended;
    extendedOverrun[24] = 4;
    const Bytes directed{0x01, 0x01, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xD8};
    Bytes directedType = directed;
    directedType[1] = 0x00;
    const std::pair<const char*, Bytes> cases[] = {
        {"no subevent", {0x04, 0x3E, 0x00}},
        {"legacy, no count", LeMeta(0x02, {})},
        {"legacy, count over the reports",
         [&] {
             Bytes p = LeMeta(0x02, Reports({one}));
             p[4] = 2;
             return p;
         }()},
        {"legacy, data over the packet", LeMeta(0x02, overrun)},
        {"legacy, data over 31 bytes", LeMeta(0x02, tooLong)},
        {"legacy, reserved event type", LeMeta(0x02, Reports({LegacyReport(0x05, {}, 0xC4)}))},
        {"legacy, no RSSI",
         [&] {
             Bytes p = LeMeta(0x02, Reports({one}));
             p.pop_back();
             --p[2];
             return p;
         }()},
        {"legacy, trailing byte",
         [&] {
             Bytes p = LeMeta(0x02, Reports({one}));
             p.push_back(0);
             ++p[2];
             return p;
         }()},
        {"extended, data over the packet", LeMeta(0x0D, extendedOverrun)},
        {"extended, fixed part cut", LeMeta(0x0D, Bytes(extended.begin(), extended.begin() + 20))},
        {"extended, trailing byte",
         [&] {
             Bytes p = LeMeta(0x0D, extended);
             p.push_back(0);
             ++p[2];
             return p;
         }()},
        {"directed, cut", LeMeta(0x0B, Bytes(directed.begin(), directed.end() - 1))},
        {"directed, not ADV_DIRECT_IND", LeMeta(0x0B, directedType)},
        {"event length over the packet",
         [&] {
             Bytes p = LeMeta(0x02, Reports({one}));
             ++p[2];
             return p;
         }()},
    };
    for (const auto& [label, packet] : cases) EXPECT_FALSE(bt::ParseHciEvent(packet)) << label;
}

TEST(HciLeEvents, OtherSubeventsAreOtherEvents) {
    const auto event = bt::ParseHciEvent(LeMeta(0x01, Bytes(18, 0)));  // a connection complete
    ASSERT_TRUE(event);
    EXPECT_EQ(std::get<bt::THciOtherEvent>(*event).code, 0x3E);
}

}  // namespace
