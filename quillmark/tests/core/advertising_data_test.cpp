// The advertising data parser: structure boundaries on hostile lengths, and each decoded field.

#include "quillmark/core/AdvertisingData.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace {

using qm::ParseAdvertisingData;
using qm::TAdStructure;
using qm::TBluetoothUuid;
using Bytes = std::vector<std::uint8_t>;

// Where the structures end: padding, an overrun, an empty input, a lone length byte.
TEST(AdvertisingData, KeepsTheStructuresBeforeAnOverrunOrPadding) {
    struct TCase {
        const char* label;
        Bytes data;
        std::vector<TAdStructure> structures;
    };
    const TCase cases[] = {
        {"empty", {}, {}},
        {"one", {2, 0x01, 0x06}, {{0x01, {0x06}}}},
        {"two", {2, 0x01, 0x06, 2, 0x0A, 0xF8}, {{0x01, {0x06}}, {0x0A, {0xF8}}}},
        {"type only", {1, 0x09}, {{0x09, {}}}},
        {"zero length ends", {2, 0x01, 0x06, 0, 2, 0x0A, 0xF8}, {{0x01, {0x06}}}},
        {"leading padding", {0, 0, 2, 0x01, 0x06}, {}},
        {"overrun ends", {2, 0x01, 0x06, 5, 0x09, 'A', 'B'}, {{0x01, {0x06}}}},
        {"overrun by one", {3, 0x09, 'A'}, {}},
        {"lone length byte", {2, 0x01, 0x06, 4}, {{0x01, {0x06}}}},
        {"length 255 on short data", {255, 0xFF, 0x4C, 0x00}, {}},
    };
    for (const TCase& c : cases) EXPECT_EQ(ParseAdvertisingData(c.data).structures, c.structures) << c.label;
}

// Extended advertising carries up to 251 bytes in one report (and more when chained).
TEST(AdvertisingData, ReadsLongExtendedData) {
    Bytes data{2, 0x01, 0x06};
    Bytes payload(243, 0xA5);
    data.push_back(static_cast<std::uint8_t>(payload.size() + 3));
    data.insert(data.end(), {0xFF, 0x34, 0x12});
    data.insert(data.end(), payload.begin(), payload.end());
    data.push_back(0);  // padding up to 251 bytes
    ASSERT_EQ(data.size(), 251u);
    const auto ad = ParseAdvertisingData(data);
    ASSERT_EQ(ad.structures.size(), 2u);
    ASSERT_EQ(ad.manufacturerData.size(), 1u);
    EXPECT_EQ(ad.manufacturerData[0].companyId, 0x1234);
    EXPECT_EQ(ad.manufacturerData[0].payload, payload);
}

TEST(AdvertisingData, DecodesFlagsTxPowerAndAppearance) {
    const auto ad = ParseAdvertisingData(Bytes{2, 0x01, 0x1A, 2, 0x0A, 0xF4, 3, 0x19, 0xC2, 0x00});
    EXPECT_EQ(ad.flags, std::optional<std::uint8_t>(0x1A));
    EXPECT_EQ(ad.txPower, std::optional<std::int8_t>(-12));
    EXPECT_EQ(ad.appearance, std::optional<std::uint16_t>(0x00C2));
}

// The first of a single-valued field counts; one too short is kept raw and not decoded.
TEST(AdvertisingData, SingleValuedFieldsTakeTheFirstWholeOne) {
    const Bytes data{1, 0x01,              // flags without their byte
                     2, 0x01, 0x06,        // flags
                     2, 0x01, 0x02,        // flags again
                     2, 0x19, 0x40,        // appearance one byte short
                     3, 0x19, 0x41, 0x03,  // appearance
                     1, 0x0A,              // TX power without its byte
                     2, 0x0A, 0x04};       // TX power
    const auto ad = ParseAdvertisingData(data);
    EXPECT_EQ(ad.structures.size(), 7u);
    EXPECT_EQ(ad.flags, std::optional<std::uint8_t>(0x06));
    EXPECT_EQ(ad.appearance, std::optional<std::uint16_t>(0x0341));
    EXPECT_EQ(ad.txPower, std::optional<std::int8_t>(4));
}

TEST(AdvertisingData, AbsentFieldsStayEmpty) {
    const auto ad = ParseAdvertisingData(Bytes{3, 0x2A, 1, 2});
    EXPECT_EQ(ad.structures.size(), 1u);
    EXPECT_FALSE(ad.flags || ad.name || ad.txPower || ad.appearance);
    EXPECT_TRUE(ad.serviceUuids.empty() && ad.manufacturerData.empty() && ad.serviceData.empty());
}

// The complete name wins over a shortened one wherever it stands; invalid UTF-8 is replaced.
TEST(AdvertisingData, PrefersTheCompleteName) {
    struct TCase {
        const char* label;
        Bytes data;
        std::optional<std::string> name;
        bool complete;
    };
    const TCase cases[] = {
        {"complete", {4, 0x09, 'T', 'a', 'g'}, "Tag", true},
        {"shortened", {3, 0x08, 'T', 'a'}, "Ta", false},
        {"shortened first", {3, 0x08, 'T', 'a', 4, 0x09, 'T', 'a', 'g'}, "Tag", true},
        {"complete first", {4, 0x09, 'T', 'a', 'g', 3, 0x08, 'T', 'a'}, "Tag", true},
        {"two shortened", {2, 0x08, 'A', 2, 0x08, 'B'}, "A", false},
        {"two complete", {2, 0x09, 'A', 2, 0x09, 'B'}, "A", true},
        {"empty name", {1, 0x09}, "", true},
        {"invalid utf-8", {3, 0x09, 'A', 0xFF}, "A\xEF\xBF\xBD", true},
        {"none", {2, 0x01, 0x06}, std::nullopt, false},
    };
    for (const TCase& c : cases) {
        const auto ad = ParseAdvertisingData(c.data);
        EXPECT_EQ(ad.name, c.name) << c.label;
        EXPECT_EQ(ad.nameComplete, c.complete) << c.label;
    }
}

// All six list types, in order; a list's partial last UUID is dropped.
TEST(AdvertisingData, CollectsServiceUuidsOfEveryWidth) {
    Bytes data{5,  0x03, 0x0F, 0x18, 0x0A, 0x18,  // 0x180F, 0x180A
               3,  0x02, 0xED, 0xFE,              // 0xFEED
               5,  0x05, 0x78, 0x56, 0x34, 0x12,  // 0x12345678
               4,  0x04, 0x01, 0x02, 0x03,        // partial 32-bit: nothing
               17, 0x07};
    for (int i = 0; i < 16; ++i) data.push_back(static_cast<std::uint8_t>(i));
    data.insert(data.end(), {4, 0x02, 0x2C, 0xFE, 0x99});  // 0xFE2C, then a stray byte
    const auto ad = ParseAdvertisingData(data);
    std::vector<TBluetoothUuid> expected{TBluetoothUuid::From16(0x180F), TBluetoothUuid::From16(0x180A),
                                         TBluetoothUuid::From16(0xFEED), TBluetoothUuid::From32(0x12345678)};
    Bytes wire(16);
    for (int i = 0; i < 16; ++i) wire[i] = static_cast<std::uint8_t>(i);
    expected.push_back(*TBluetoothUuid::FromLittleEndian(wire));
    expected.push_back(TBluetoothUuid::From16(0xFE2C));
    EXPECT_EQ(ad.serviceUuids, expected);
}

TEST(AdvertisingData, KeepsEveryManufacturerDataInOrder) {
    const auto ad =
        ParseAdvertisingData(Bytes{5, 0xFF, 0x4C, 0x00, 0x12, 0x19, 3, 0xFF, 0x75, 0x00, 2, 0xFF, 0x06});
    ASSERT_EQ(ad.manufacturerData.size(), 2u);  // the last is too short for a company identifier
    EXPECT_EQ(ad.manufacturerData[0].companyId, 0x004C);
    EXPECT_EQ(ad.manufacturerData[0].payload, (Bytes{0x12, 0x19}));
    EXPECT_EQ(ad.manufacturerData[1].companyId, 0x0075);
    EXPECT_TRUE(ad.manufacturerData[1].payload.empty());
}

TEST(AdvertisingData, ReadsServiceDataOfEveryWidth) {
    Bytes data{4,  0x16, 0xAA, 0xFE, 0x40,        // 0xFEAA with one byte
               5,  0x20, 0x04, 0x03, 0x02, 0x01,  // 0x01020304, no payload
               2,  0x16, 0x33,                    // too short for its UUID
               18, 0x21};
    for (int i = 0; i < 16; ++i) data.push_back(0xF0);
    data.push_back(0x07);
    const auto ad = ParseAdvertisingData(data);
    ASSERT_EQ(ad.serviceData.size(), 3u);
    EXPECT_EQ(ad.serviceData[0].uuid, TBluetoothUuid::From16(0xFEAA));
    EXPECT_EQ(ad.serviceData[0].payload, Bytes{0x40});
    EXPECT_EQ(ad.serviceData[1].uuid, TBluetoothUuid::From32(0x01020304));
    EXPECT_TRUE(ad.serviceData[1].payload.empty());
    EXPECT_EQ(ad.serviceData[2].uuid.width, 16);
    EXPECT_EQ(ad.serviceData[2].payload, Bytes{0x07});
}

}  // namespace
