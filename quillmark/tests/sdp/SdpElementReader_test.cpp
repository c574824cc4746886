#include "quillmark/sdp/SdpElementReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HexBytes.h"

namespace qm {
namespace {

using sdptest::HexBytes;

struct DecodeCase {
    const char* hex;
    int type;
    int specificType;
    std::uint64_t unsignedValue;
    std::int64_t signedValue;
    const char* bytesHex;  // expected TSdpElement::bytes
};

// One row per type and size class the encoding allows.
const std::vector<DecodeCase> kDecodeCases = {
    {"00", kSdpTypeNil, kSdpStNone, 0, 0, ""},
    {"08 C8", kSdpTypeUInt, kSdpStUInt8, 200, 0, ""},
    {"09 FF FE", kSdpTypeUInt, kSdpStUInt16, 0xFFFE, 0, ""},
    {"0A 80 00 00 01", kSdpTypeUInt, kSdpStUInt32, 0x80000001, 0, ""},
    {"0B FF 00 00 00 00 00 00 01", kSdpTypeUInt, kSdpStUInt64, 0xFF00000000000001, 0, ""},
    {"0C 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF", kSdpTypeUInt, kSdpStUInt128, 0, 0,
     "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF"},
    {"10 FF", kSdpTypeInt, kSdpStInt8, 0, -1, ""},
    {"10 7F", kSdpTypeInt, kSdpStInt8, 0, 127, ""},
    {"11 80 00", kSdpTypeInt, kSdpStInt16, 0, -32768, ""},
    {"12 FF FF FF FE", kSdpTypeInt, kSdpStInt32, 0, -2, ""},
    {"13 80 00 00 00 00 00 00 00", kSdpTypeInt, kSdpStInt64, 0, INT64_MIN, ""},
    {"14 FF EE DD CC BB AA 99 88 77 66 55 44 33 22 11 00", kSdpTypeInt, kSdpStInt128, 0, 0,
     "FF EE DD CC BB AA 99 88 77 66 55 44 33 22 11 00"},
    {"19 11 01", kSdpTypeUuid, kSdpStUuid16, 0x1101, 0, ""},
    {"1A 12 34 56 78", kSdpTypeUuid, kSdpStUuid32, 0x12345678, 0, ""},
    {"25 03 41 00 42", kSdpTypeString, kSdpStNone, 0, 0, "41 00 42"},
    {"26 00 02 41 42", kSdpTypeString, kSdpStNone, 0, 0, "41 42"},
    {"27 00 00 00 01 41", kSdpTypeString, kSdpStNone, 0, 0, "41"},
    {"25 00", kSdpTypeString, kSdpStNone, 0, 0, ""},
    {"35 02 08 01", kSdpTypeSequence, kSdpStNone, 0, 0, "08 01"},
    {"36 00 00", kSdpTypeSequence, kSdpStNone, 0, 0, ""},
    {"37 00 00 00 02 28 01", kSdpTypeSequence, kSdpStNone, 0, 0, "28 01"},
    {"3D 03 19 11 08", kSdpTypeAlternative, kSdpStNone, 0, 0, "19 11 08"},
    {"3E 00 00", kSdpTypeAlternative, kSdpStNone, 0, 0, ""},
    {"3F 00 00 00 00", kSdpTypeAlternative, kSdpStNone, 0, 0, ""},
    {"45 03 61 2F 62", kSdpTypeUrl, kSdpStNone, 0, 0, "61 2F 62"},
    {"46 00 01 61", kSdpTypeUrl, kSdpStNone, 0, 0, "61"},
    // Reserved types 9 to 31 keep their type number; their size index tells how much to skip.
    {"48 00", 9, kSdpStNone, 0, 0, "00"},
    {"4C 00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF", 9, kSdpStNone, 0, 0,
     "00 11 22 33 44 55 66 77 88 99 AA BB CC DD EE FF"},
    {"55 02 01 02", 10, kSdpStNone, 0, 0, "01 02"},
    {"F8 00", 31, kSdpStNone, 0, 0, "00"},
    {"FF 00 00 00 01 AA", 31, kSdpStNone, 0, 0, "AA"},
};

TEST(SdpElementReader, DecodesEveryTypeAndSizeClass) {
    for (const DecodeCase& c : kDecodeCases) {
        SCOPED_TRACE(c.hex);
        const std::string value = HexBytes(c.hex);
        TSdpElement element;
        ASSERT_EQ(SdpGetElementData(value, element), 0);
        EXPECT_EQ(element.type, c.type);
        EXPECT_EQ(element.specificType, c.specificType);
        EXPECT_EQ(element.unsignedValue, c.unsignedValue);
        EXPECT_EQ(element.signedValue, c.signedValue);
        EXPECT_EQ(element.bytes, HexBytes(c.bytesHex));
    }
}

TEST(SdpElementReader, DecodesBooleansAndFullUuids) {
    TSdpElement element;
    for (const auto& [hex, expected] :
         std::vector<std::pair<const char*, bool>>{{"28 00", false}, {"28 01", true}, {"28 FF", true}}) {
        ASSERT_EQ(SdpGetElementData(HexBytes(hex), element), 0) << hex;
        EXPECT_EQ(element.type, kSdpTypeBoolean);
        EXPECT_EQ(element.boolean, expected) << hex;
    }
    ASSERT_EQ(SdpGetElementData(HexBytes("1C 00 00 11 01 00 00 10 00 80 00 00 80 5F 9B 34 FB"), element), 0);
    EXPECT_EQ(element.specificType, kSdpStUuid128);
    EXPECT_EQ(element.uuid, SdpUuidFromShort(0x1101));
}

// Sizes a type does not allow, and lengths that run past the bytes given.
TEST(SdpElementReader, RejectsMalformedElements) {
    const std::vector<const char*> malformed = {
        "",                                                    // nothing at all
        "01 00 00",                                            // nil with a 2-byte size
        "0D 01 05",                                            // unsigned integer with a length field
        "18 01",                                               // 8-bit UUID
        "1B 00 00 00 00 00 00 11 01",                          // 64-bit UUID
        "1D 02 11 01",                                         // UUID with a length field
        "20 41",                                               // text without a length field
        "29 00 01",                                            // 2-byte boolean
        "30 00",                                               // sequence without a length field
        "44 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",  // URL without a length field
        "48",                                                  // reserved type without its byte
        "4D 05 01",                                            // reserved type shorter than its length
        "FE 00",                                               // reserved type, length field cut short
        "09",                                                  // header without its data
        "0A 00 01",                                            // 32-bit integer cut short
        "25 05 41 42",                                         // text shorter than its length
        "25",                                                  // length field missing
        "26 00",                                               // 16-bit length field cut short
        "27 00 00 00",                                         // 32-bit length field cut short
        "27 FF FF FF FF 41",                                   // length far beyond the bytes
        "08 01 02",                                            // a second element after the value
    };
    for (const char* hex : malformed) {
        TSdpElement element;
        EXPECT_EQ(SdpGetElementData(HexBytes(hex), element), kSdpMalformed) << hex;
    }
}

TEST(SdpElementReader, ContainerReaderStepsThroughContents) {
    const std::string contents = HexBytes("08 01 19 01 00 35 00 25 02 41 42");
    TSdpContainerReader reader(contents);
    TSdpElement element;
    ASSERT_EQ(reader.Next(element), 0);
    EXPECT_EQ(element.unsignedValue, 1u);
    ASSERT_EQ(reader.Next(element), 0);
    EXPECT_EQ(element.specificType, kSdpStUuid16);
    ASSERT_EQ(reader.Next(element), 0);
    EXPECT_EQ(element.type, kSdpTypeSequence);
    EXPECT_TRUE(element.bytes.empty());
    ASSERT_EQ(reader.Next(element), 0);
    EXPECT_EQ(element.bytes, "AB");
    EXPECT_EQ(reader.Next(element), kSdpNoMoreItems);
    EXPECT_EQ(reader.Next(element), kSdpNoMoreItems);
}

TEST(SdpElementReader, ContainerReaderReportsBadMembers) {
    for (const char* hex : {"08 01 25 09 41", "08 01 4D 05 01", "08 01 09 01"}) {
        const std::string contents = HexBytes(hex);
        TSdpContainerReader reader(contents);
        TSdpElement element;
        EXPECT_EQ(reader.Next(element), 0) << hex;
        EXPECT_EQ(reader.Next(element), kSdpMalformed) << hex;
    }
}

}  // namespace
}  // namespace qm
