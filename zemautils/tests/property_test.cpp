#include <zemautils/property.h>
#include <zemautils/trace.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "property_value_builders.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::ScopedTempDir;
using zematest::Block;
using zematest::Float;
using zematest::Text;
using zematest::Word;
using zematest::Zero;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kSignal = PROP_TAG(0x0803, PT_FLOAT);
constexpr uint32_t kAddress = PROP_TAG(0x0800, PT_STRING8);
constexpr uint32_t kChannel = PROP_TAG(0x0810, PT_LONG);
constexpr uint32_t kSsid = PROP_TAG(0x0811, PT_BINARY);
constexpr uint32_t kConnected = PROP_TAG(0x080A, PT_BOOLEAN);
constexpr uint32_t kMac = PROP_TAG(0x0800, PT_MAC_ADDRESS);
constexpr uint32_t kRssi = PROP_TAG(0x041A, PT_RSSI);

struct Parsed {
    uint32_t count = 0;
    std::unique_ptr<SPropValue[]> properties;
};

// Parses a copy of exactly the given bytes, so a read past them is caught by the sanitizer.
Parsed Parse(const Bytes& bytes) {
    const auto copy = std::make_unique<uint8_t[]>(bytes.size());
    std::memcpy(copy.get(), bytes.data(), bytes.size());
    Parsed parsed;
    SPropValue* array = nullptr;
    ParseToProperties(static_cast<uint32_t>(bytes.size()), copy.get(), &parsed.count, &array);
    parsed.properties.reset(array);
    return parsed;
}

constexpr uint8_t kGuard = 0xEE;

// Writes into a buffer of the given capacity followed by guard bytes that must stay untouched.
Bytes Write(const std::vector<SPropValue>& properties, uint32_t capacity = 4096) {
    Bytes buffer(capacity + 16, kGuard);
    uint32_t size = capacity;
    OutputToBuffer(static_cast<uint32_t>(properties.size()), properties.data(), &size, buffer.data());
    EXPECT_LE(size, capacity);
    for (std::size_t i = capacity; i < buffer.size(); ++i)
        EXPECT_EQ(buffer[i], kGuard) << "wrote past capacity";
    buffer.resize(size);
    return buffer;
}

// Traces of the engine module at level 5 go to a file in a directory of the test's own.
class PropertyTrace : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(TraceStart("trace.log"), 0);
        TraceLevel(TRACE_MODULE_ENGINE, 5);
    }
    void TearDown() override {
        TraceLevel(TRACE_MODULE_ENGINE, 0);
        TraceStop();
    }
    std::string Log() const { return ScopedTempDir::read(dir_ / "trace.log"); }
    ScopedTempDir dir_{ScopedTempDir::Chdir::Yes};
};

TEST_F(PropertyTrace, WritesAndReadsTheSignalAndAddressExample) {
    const Bytes bytes = Write({SPropValue(kSignal, Float(-75.6f)), SPropValue(kAddress, Text("AB"))});
    EXPECT_THAT(bytes, ElementsAre(0x02, 0x08, 0x03, 0x00, 0x04, 0xB5, 0x08, 0x00, 0x00, 0x1E, 0x00, 0x00,
                                   0x00, 0x03, 0x41, 0x42, 0x00));
    const Parsed parsed = Parse(bytes);
    ASSERT_EQ(parsed.count, 2u);
    EXPECT_EQ(parsed.properties[0].GetTag(), kSignal);
    EXPECT_EQ(parsed.properties[0].GetValue().flt, -75.0f);
    EXPECT_EQ(parsed.properties[1].GetTag(), kAddress);
    EXPECT_STREQ(parsed.properties[1].GetValue().lpszA, "AB");
    EXPECT_THAT(Log(), Not(HasSubstr("L1 - ")));
}

TEST_F(PropertyTrace, UnbufferableTypesAreSkippedWhenWriting) {
    TMacAddrStruct mac{};
    MacAddrFromStr(&mac, "00:11:22:33:44:55");
    _PV macValue = Zero();
    macValue.lpMac = &mac;
    const Bytes bytes =
        Write({SPropValue(kChannel, Word(6)), SPropValue(kMac, macValue),
               SPropValue(PROP_TAG(0x1234, PT_DOUBLE), Zero()), SPropValue(kChannel, Word(11))});
    EXPECT_THAT(bytes, ElementsAre(2, 0x08, 0x10, 0, 3, 0, 0, 0, 6, 0x08, 0x10, 0, 3, 0, 0, 0, 11));
    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr("[Engine]OutputToBuffer:"));
    EXPECT_THAT(log,
                HasSubstr("L5 - Unkonwn property type with property tag: 0x0800001f, the property will be "
                          "ignored\n"));
    EXPECT_THAT(log, HasSubstr("tag: 0x12340005, the property"));
}

TEST(Property, EveryBufferFormRoundTrips) {
    const Bytes ssid = {'n', 'e', 't', 0, 0xFF};
    const std::vector<SPropValue> written = {SPropValue(PROP_TAG(1, PT_I2), Word(0xFFFFFFFF)),
                                             SPropValue(kChannel, Word(0x80000000)),
                                             SPropValue(PROP_TAG(2, PT_ROGUE), Word(3)),
                                             SPropValue(PROP_TAG(3, PT_EAP_TYPE), Word(255)),
                                             SPropValue(PROP_TAG(4, PT_ERROR), Word(0x12345678)),
                                             SPropValue(kConnected, Word(0xABCD1)),
                                             SPropValue(kSignal, Float(-128.0f)),
                                             SPropValue(kAddress, Text("")),
                                             SPropValue(kSsid, Block(ssid)),
                                             SPropValue(kSsid, Block({}))};
    const Bytes bytes = Write(written);
    const Parsed parsed = Parse(bytes);
    ASSERT_EQ(parsed.count, written.size());
    const std::vector<uint32_t> words = {0xFFFFFFFF, 0x80000000, 3, 255, 0x12345678, 0xBCD1};
    for (std::size_t i = 0; i < words.size(); ++i) {
        EXPECT_EQ(parsed.properties[i].GetTag(), written[i].GetTag()) << i;
        EXPECT_EQ(parsed.properties[i].GetValue().ul, words[i]) << i;
    }
    EXPECT_EQ(parsed.properties[6].GetValue().flt, -128.0f);
    EXPECT_STREQ(parsed.properties[7].GetValue().lpszA, "");
    const SBinary block = parsed.properties[8].GetValue().bin;
    EXPECT_EQ(Bytes(block.lpb, block.lpb + block.cb), ssid);
    EXPECT_EQ(parsed.properties[9].GetValue().bin.cb, 0u);
}

struct FloatCase {
    float value;
    uint8_t byte;
};

// The byte is the low 8 bits of the value truncated toward zero; a receiver that reads it unsigned
// gets 200 back from 200.0. Only where the truncation is undefined is the byte 0.
TEST(Property, FloatsTravelAsTheLowByteOfTheirTruncation) {
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const std::vector<FloatCase> cases = {
        {-75.6f, 0xB5},
        {75.9f, 75},
        {-0.9f, 0},
        {127.9f, 127},
        {128.0f, 0x80},
        {200.0f, 0xC8},
        {255.9f, 0xFF},
        {256.0f, 0x00},
        {300.7f, 0x2C},
        {-128.5f, 0x80},
        {-129.0f, 0x7F},
        {-200.0f, 0x38},
        {2147483520.0f, 0x80},  // the largest float below 2^31
        {-2147483520.0f, 0x80},
        {2147483648.0f, 0},
        {-2147483648.0f, 0},
        {-1e30f, 0},
        {kInfinity, 0},
        {-kInfinity, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const FloatCase& c : cases) {
        const Bytes bytes = Write({SPropValue(kSignal, Float(c.value))});
        ASSERT_EQ(bytes.size(), 6u);
        EXPECT_EQ(bytes[5], c.byte) << c.value;
    }
    const Parsed parsed = Parse({1, 0x08, 0x03, 0x00, 0x04, 0xC8});
    ASSERT_EQ(parsed.count, 1u);
    EXPECT_EQ(parsed.properties[0].GetValue().flt, -56.0f) << "the byte is read back signed";
}

TEST_F(PropertyTrace, ReadingStopsAtATypeThatCannotStandInABuffer) {
    const Bytes bytes = {3, 0x08, 0x10, 0, 3, 0, 0,    0,    6, 0x00, 0x01, 0x00, 0x05, 1, 2,
                         3, 4,    5,    6, 7, 8, 0x08, 0x10, 0, 3,    0,    0,    0,    7};
    const Parsed parsed = Parse(bytes);
    ASSERT_EQ(parsed.count, 3u);
    EXPECT_EQ(parsed.properties[0].GetValue().l, 6);
    EXPECT_EQ(parsed.properties[1].GetTag(), 0u);
    EXPECT_EQ(parsed.properties[2].GetTag(), 0u);
    const std::string log = Log();
    EXPECT_THAT(log, HasSubstr("[Engine]ParseToProperties:"));
    EXPECT_THAT(log, HasSubstr("L1 - failed to parse due to unexpected property tag: 0x00010005\n"));
    EXPECT_THAT(log, Not(HasSubstr("does not match")));
}

struct MismatchCase {
    const char* name;
    Bytes bytes;
    uint32_t stored;
    const char* trace;
};

TEST_F(PropertyTrace, CountMismatchIsTracedAndKeepsTheHeaderCount) {
    const Bytes two = {0x08, 0x10, 0, 3, 0, 0, 0, 1, 0x08, 0x10, 0, 3, 0, 0, 0, 2};
    Bytes threeSaid = {3};
    threeSaid.insert(threeSaid.end(), two.begin(), two.end());
    Bytes oneSaid = {1};
    oneSaid.insert(oneSaid.end(), two.begin(), two.end());
    const std::vector<MismatchCase> cases = {
        {"more said than held", threeSaid, 2, "expected properties: 3, result: 2\n"},
        {"fewer said than held", oneSaid, 1, "expected properties: 1, result: 2\n"},
        {"nothing said", {0, 0x08, 0x10, 0, 3, 0, 0, 0, 9}, 0, "expected properties: 0, result: 1\n"},
    };
    for (const MismatchCase& c : cases) {
        const Parsed parsed = Parse(c.bytes);
        EXPECT_EQ(parsed.count, c.bytes[0]) << c.name;
        for (uint32_t i = 0; i < parsed.count; ++i) {
            EXPECT_EQ(parsed.properties[i].GetTag(), i < c.stored ? kChannel : 0u) << c.name << " " << i;
        }
        EXPECT_THAT(
            Log(), HasSubstr(std::string("L1 - self contained property does not match the result: the number "
                                         "of ") +
                             c.trace))
            << c.name;
    }
}

// Every prefix of a valid buffer is read without going past its end; the properties that lie
// wholly inside the prefix are kept.
TEST_F(PropertyTrace, PropertiesCutShortEndTheParse) {
    const Bytes ssid = {1, 2, 3};
    const Bytes full = Write({SPropValue(kChannel, Word(1)), SPropValue(kAddress, Text("xyz")),
                              SPropValue(kSsid, Block(ssid)), SPropValue(kConnected, Word(1)),
                              SPropValue(kSignal, Float(-3.0f))});
    const std::vector<std::size_t> ends = {9, 21, 32, 38, 43};  // where each property ends
    ASSERT_EQ(full.size(), ends.back());
    for (std::size_t length = 1; length < full.size(); ++length) {
        const Parsed parsed = Parse(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(length)));
        ASSERT_EQ(parsed.count, 5u);
        std::size_t whole = 0;
        while (whole < ends.size() && ends[whole] <= length) ++whole;
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(parsed.properties[i].GetTag() != 0, i < whole)
                << "length " << length << " property " << i;
        }
    }
    EXPECT_THAT(
        Log(),
        HasSubstr("L1 - failed to parse due to a property cut short by the end of the buffer at offset: "
                  "9\n"));
}

struct HostileCase {
    const char* name;
    Bytes bytes;
    uint32_t tagOfFirst;
    std::string textOfFirst;
};

TEST(Property, HostileLengthsAreCheckedBeforeUse) {
    const std::vector<HostileCase> cases = {
        {"text longer than buffer", {1, 0x08, 0, 0, 0x1E, 0, 0, 0, 9, 'a', 0}, 0, ""},
        {"text length near 4 GiB", {1, 0x08, 0, 0, 0x1E, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}, 0, ""},
        {"binary length near 4 GiB", {1, 0x08, 0x11, 0x01, 0x02, 0xFF, 0xFF, 0xFF, 0xFE, 1}, 0, ""},
        {"text without terminator", {1, 0x08, 0, 0, 0x1E, 0, 0, 0, 2, 'h', 'i'}, kAddress, "hi"},
        {"text of length zero", {1, 0x08, 0, 0, 0x1E, 0, 0, 0, 0}, kAddress, ""},
        {"text with inner zero", {1, 0x08, 0, 0, 0x1E, 0, 0, 0, 4, 'a', 0, 'b', 0}, kAddress, "a"},
        {"tag cut short", {1, 0x08, 0x10, 0}, 0, ""},
        {"length cut short", {1, 0x08, 0, 0, 0x1E, 0, 0}, 0, ""},
    };
    for (const HostileCase& c : cases) {
        const Parsed parsed = Parse(c.bytes);
        ASSERT_EQ(parsed.count, 1u) << c.name;
        EXPECT_EQ(parsed.properties[0].GetTag(), c.tagOfFirst) << c.name;
        if (c.tagOfFirst == kAddress) {
            EXPECT_EQ(parsed.properties[0].GetValue().lpszA, c.textOfFirst) << c.name;
        }
    }
}

TEST(Property, EmptyBuffersGiveNoArray) {
    uint32_t count = 99;
    SPropValue* array = reinterpret_cast<SPropValue*>(&count);
    ParseToProperties(0, nullptr, &count, &array);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(array, nullptr);
    const Parsed onlyCount = Parse({0});
    EXPECT_EQ(onlyCount.count, 0u);
}

TEST_F(PropertyTrace, WritingStopsAtTheFirstPropertyThatDoesNotFit) {
    const std::vector<SPropValue> properties = {
        SPropValue(kChannel, Word(1)), SPropValue(kAddress, Text("xyz")), SPropValue(kSignal, Float(1.0f))};
    const Bytes full = Write(properties);
    const std::vector<std::size_t> ends = {1, 9, 21, 26};
    ASSERT_EQ(full.size(), ends.back());
    for (uint32_t capacity = 0; capacity <= full.size(); ++capacity) {
        const Bytes bytes = Write(properties, capacity);
        std::size_t fitting = 0;
        while (fitting + 1 < ends.size() && ends[fitting + 1] <= capacity) ++fitting;
        const std::size_t size = capacity == 0 ? 0 : ends[fitting];
        ASSERT_EQ(bytes.size(), size) << "capacity " << capacity;
        if (size == 0) continue;
        EXPECT_EQ(bytes[0], fitting) << "capacity " << capacity;
        EXPECT_TRUE(std::equal(bytes.begin() + 1, bytes.end(), full.begin() + 1)) << "capacity " << capacity;
    }
    EXPECT_THAT(Log(), HasSubstr("[Engine]OutputToBuffer:"));
    EXPECT_THAT(Log(), HasSubstr("L1 - oops, buffer overflows !\n"));
}

TEST_F(PropertyTrace, AtMost255PropertiesGoIntoOneBuffer) {
    const std::vector<SPropValue> properties(300, SPropValue(kChannel, Word(7)));
    const Bytes bytes = Write(properties, 8192);
    ASSERT_EQ(bytes.size(), 1u + 255 * 8);
    EXPECT_EQ(bytes[0], 255);
    EXPECT_THAT(Log(),
                HasSubstr("L1 - too many properties for one buffer: 300, only the first 255 written\n"));
    EXPECT_EQ(Parse(bytes).count, 255u);
}

// Copies own their data: the copies must read correctly after the original is gone (the
// sanitizer catches any read of released memory) and release their own data without leaks.
TEST(Property, CopiesAreDeepAndIndependent) {
    std::string text = "station";
    Bytes block = {9, 8, 7};
    TMacAddrStruct mac{};
    MacAddrFromStr(&mac, "aa:bb:cc:dd:ee:ff");
    _PV macValue = Zero();
    macValue.lpMac = &mac;
    auto textProperty = std::make_unique<SPropValue>(kAddress, Text(text.c_str()));
    auto blockProperty = std::make_unique<SPropValue>(kSsid, Block(block));
    auto macProperty = std::make_unique<SPropValue>(kMac, macValue);
    text.assign("XXXXXXX");
    block.assign(3, 0);
    mac = TMacAddrStruct{};
    SPropValue assigned;
    assigned = *textProperty;
    const SPropValue copiedBlock(*blockProperty);
    SPropValue copiedMac(kChannel, Word(1));
    copiedMac = *macProperty;
    EXPECT_NE(assigned.GetValue().lpszA, textProperty->GetValue().lpszA);
    textProperty.reset();
    blockProperty.reset();
    macProperty.reset();
    EXPECT_STREQ(assigned.GetValue().lpszA, "station");
    EXPECT_EQ(Bytes(copiedBlock.GetValue().bin.lpb, copiedBlock.GetValue().bin.lpb + 3), (Bytes{9, 8, 7}));
    EXPECT_STREQ(copiedMac.GetValue().lpMac->text, "AA:BB:CC:DD:EE:FF");
    EXPECT_EQ(copiedMac.GetValue().lpMac->type, static_cast<uint32_t>(MacTypeLocal));
}

TEST(Property, AssignmentReplacesOwnedDataAndSurvivesSelfAssignment) {
    SPropValue property(kAddress, Text("first"));
    const SPropValue& alias = property;
    property = alias;
    EXPECT_STREQ(property.GetValue().lpszA, "first");
    property = SPropValue(kSsid, Block({1, 2}));
    EXPECT_EQ(property.GetTag(), kSsid);
    EXPECT_EQ(property.GetValue().bin.cb, 2u);
    property = SPropValue(kChannel, Word(5));
    EXPECT_EQ(property.GetValue().l, 5);
    property = SPropValue();
    EXPECT_EQ(property.GetTag(), 0u);
    EXPECT_EQ(property.GetValue().li, 0);
}

TEST(Property, NullSourcesOwnNothing) {
    const SPropValue text(kAddress, Text(nullptr));
    EXPECT_EQ(text.GetValue().lpszA, nullptr);
    _PV claimed = Zero();
    claimed.bin = SBinary{10, nullptr};
    const SPropValue block(kSsid, claimed);
    EXPECT_EQ(block.GetValue().bin.cb, 0u);
    EXPECT_EQ(block.GetValue().bin.lpb, nullptr);
    EXPECT_THAT(Write({text}), ElementsAre(1, 0x08, 0, 0, 0x1E, 0, 0, 0, 1, 0));
}

TEST(Property, RssiCopiesHoldAtMostEightEntries) {
    Bytes entries(20 * PROP_RSSI_ENTRY_SIZE);
    for (std::size_t i = 0; i < entries.size(); ++i) entries[i] = static_cast<uint8_t>(i);
    _PV value = Zero();
    value.rssi = SRssiArray{20, entries.data()};
    const SPropValue many(kRssi, value);
    const SRssiArray held = many.GetValue().rssi;
    EXPECT_EQ(held.cValues, 8u);
    EXPECT_TRUE(std::equal(held.lpEntries, held.lpEntries + 64, entries.begin()));
    value.rssi = SRssiArray{2, entries.data()};
    const SPropValue few(kRssi, value);
    const SPropValue copy(few);
    EXPECT_EQ(copy.GetValue().rssi.cValues, 2u);
    EXPECT_TRUE(
        std::equal(copy.GetValue().rssi.lpEntries, copy.GetValue().rssi.lpEntries + 16, entries.begin()));
    EXPECT_EQ(copy.GetValue().rssi.lpEntries[63], 0) << "the block is a whole, zeroed, 64 bytes";
}

TEST(Property, TypeNames) {
    const std::vector<std::pair<uint32_t, std::string>> cases = {
        {0, "Unspecified"},  {3, "long"},      {4, "float"},    {6, "rogue"},    {11, "reason code"},
        {17, "eap type"},    {18, "rssi"},     {20, "ap time"}, {22, "boolean"}, {30, "string8"},
        {31, "MAC address"}, {64, "sys time"}, {258, "binary"}, {24, "?"},       {0xFFFF, "?"}};
    for (const auto& [type, name] : cases) EXPECT_EQ(ExpertVarTypeDisplayName(type), name) << type;
}

}  // namespace
