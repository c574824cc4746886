#include "quillmark/sdp/SdpRecordText.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/base/SystemErrorText.h"
#include "quillmark/sdp/SdpElementText.h"
#include "support/HexBytes.h"
#include "support/SdpRecords.h"

namespace qm {
namespace {

using sdptest::HexBytes;
using sdptest::Record;
using sdptest::ServiceNameRecord;

struct ValueCase {
    const char* valueHex;
    std::string text;
};

const std::vector<ValueCase> kValueCases = {
    {"00", "nil"},
    {"08 00", "0"},
    {"08 C8", "200"},
    {"09 FF FF", "65535"},
    {"0A FF FF FF FF", "4294967295"},
    {"0B 00 00 00 00 00 00 00 07", "UINT64"},
    {"0C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 07", "UINT128"},
    {"10 FF", "-1"},
    {"10 7F", "127"},
    {"11 80 00", "-32768"},
    {"12 80 00 00 00", "-2147483648"},
    {"12 7F FF FF FF", "2147483647"},
    {"13 00 00 00 00 00 00 00 07", "SDP_ST_INT64"},
    {"14 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 07", "INT128"},
    {"19 11 01", "SerialPort"},
    {"19 12 34", "{00001234-0000-1000-8000-00805F9B34FB}"},
    {"1A 00 00 11 08", "Headset"},
    {"1A 12 34 56 78", "{12345678-0000-1000-8000-00805F9B34FB}"},
    {"1C 00 00 11 01 FF FF FF FF FF FF FF FF FF FF FF FF", "SerialPort"},
    {"1C 12 34 56 78 9A BC DE F0 12 34 56 78 9A BC DE F0", "{12345678-9ABC-DEF0-1234-56789ABCDEF0}"},
    // Text: UTF-16 little-endian when the second byte is zero, otherwise the bytes themselves.
    {"25 04 43 4F 4D 31", "COM1"},
    {"25 04 41 00 42 00", "AB"},
    {"25 02 41 00", "A"},
    {"25 03 41 00 42", "A"},
    {"25 03 41 42 00", std::string("AB\0", 3)},
    {"25 01 00", std::string(1, '\0')},
    {"25 00", ""},
    {"25 02 C3 A9", "\xC3\xA9"},
    {"25 04 E9 00 AC 20", "\xC3\xA9\xE2\x82\xAC"},
    {"25 04 3D 00 3D D8", "=\xEF\xBF\xBD"},
    {"25 06 3D 00 3D D8 00 DE", "=\xF0\x9F\x98\x80"},
    {"25 06 3D 00 00 DE 41 00",
     "=\xEF\xBF\xBD"
     "A"},
    {"25 04 41 00 00 00", std::string("A\0", 2)},
    {"26 00 03 61 62 63", "abc"},
    {"27 00 00 00 03 61 62 63", "abc"},
    {"28 00", "false"},
    {"28 01", "true"},
    {"28 80", "true"},
    // Sequences and alternatives, empty and nested.
    {"35 00", "[]"},
    {"35 03 19 11 01", "[SerialPort]"},
    {"35 0C 35 03 19 01 00 35 05 19 00 03 08 03", "[[L2CAP], [RFCOMM, 3]]"},
    {"36 00 06 08 01 3D 02 28 01", "[1, alternative[true]]"},
    {"3D 06 19 11 08 19 11 12", "alternative[Headset, HeadsetAudioGateway]"},
    {"3D 00", "alternative[]"},
    {"35 06 35 00 35 02 35 00", "[[], [[]]]"},
    // URLs are shown as their bytes, with no text rule.
    {"45 12 68 74 74 70 3A 2F 2F 65 78 61 6D 70 6C 65 2E 63 6F 6D", "http://example.com"},
    {"45 03 61 00 62", std::string("a\0b", 3)},
    // Reserved types: the type number and the specific type, which they do not have.
    {"48 00", "Unknown SDP type (9, 0)"},
    {"FF 00 00 00 02 AA BB", "Unknown SDP type (31, 0)"},
    {"35 08 08 01 56 00 01 FF 28 01", "[1, Unknown SDP type (10, 0), true]"},
};

TEST(SdpRecordText, RendersEveryElementKind) {
    for (const ValueCase& c : kValueCases) {
        SCOPED_TRACE(c.valueHex);
        const std::string record = ServiceNameRecord(c.valueHex);
        EXPECT_EQ(SDPRecordText(record), "Unknown (256) = " + c.text + "\n");
        EXPECT_EQ(SDPAttributeText(record, 0x0100), c.text);
    }
}

TEST(SdpRecordText, ListsAttributesInRecordOrder) {
    const std::string record = Record(
        "09 01 00 25 04 43 4F 4D 31"
        "09 00 01 35 03 19 11 01"
        "09 FF FF 25 00"
        "09 00 0D 08 01");
    EXPECT_EQ(SDPRecordText(record),
              "Unknown (256) = COM1\n"
              "ServiceClassIDList = [SerialPort]\n"
              "Unknown (65535) = \n"
              "AdditionalProtocolDescriptorLists = 1\n");
}

TEST(SdpRecordText, EmptyRecordSequenceGivesEmptyText) {
    EXPECT_EQ(SDPRecordText(Record("")), "");
    EXPECT_EQ(SDPRecordText(HexBytes("37 00 00 00 00")), "");
}

TEST(SdpRecordText, AttributeTextOfAbsentOrUnparsableAttribute) {
    const std::string record = Record("09 00 01 35 03 19 11 01 09 01 00 25 01 41 09 01 00 25 01 42");
    EXPECT_EQ(SDPAttributeText(record, 0x0001), "[SerialPort]");
    EXPECT_EQ(SDPAttributeText(record, 0x0100), "A");
    EXPECT_EQ(SDPAttributeText(record, 0x0101), "");
    EXPECT_EQ(SDPAttributeText(Record("09 01 00 18 01"), 0x0100), "");
    EXPECT_EQ(SDPAttributeText(HexBytes("35 05 09 01 00 25 09"), 0x0100), "");
    EXPECT_EQ(SDPAttributeText("", 0x0100), "");
}

std::string EnumerateError() {
    return "Unable to enumerate SDP attributes.\n\nError: " + SystemErrorText(EBADMSG);
}
std::string ElementError() {
    return "Error reading SDP element data.\n\nError: " + SystemErrorText(EBADMSG);
}
std::string ContainerError() {
    return "Error while processing SDP container: " + std::to_string(EBADMSG);
}

struct ErrorCase {
    const char* recordHex;
    std::string message;
    bool attributeTextThrows;  // the container error also leaves SDPAttributeText
};

const std::vector<ErrorCase> kErrorCases = {
    {"", EnumerateError(), false},
    {"25 02 41 42", EnumerateError(), false},                      // not a sequence
    {"3D 05 09 01 00 08 01", EnumerateError(), false},             // an alternative
    {"30 09 01 00 08 01", EnumerateError(), false},                // sequence without length field
    {"35 04 08 01 08 01", EnumerateError(), false},                // 8-bit attribute id
    {"35 06 0A 00 00 01 00 08 01", EnumerateError(), false},       // 32-bit attribute id
    {"35 06 1A 00 00 01 00 08 01", EnumerateError(), false},       // UUID as attribute id
    {"35 10 09 01 00 08 01", EnumerateError(), false},             // outer length overruns
    {"35 05 09 01 00 25 09", EnumerateError(), false},             // value length overruns
    {"35 03 09 01 00", EnumerateError(), false},                   // id without value
    {"35 04 09 01 00 08", EnumerateError(), false},                // value cut short
    {"35 05 09 01 00 08 01 00", EnumerateError(), false},          // a byte after the record
    {"35 06 09 01 00 4D 05 01", EnumerateError(), false},          // reserved type overruns
    {"35 05 09 01 00 18 01", ElementError(), false},               // 8-bit UUID
    {"35 08 09 01 00 35 03 4D 05 01", ContainerError(), true},     // reserved type overruns its sequence
    {"35 07 09 01 00 35 02 25 05", ContainerError(), true},        // member overruns its sequence
    {"35 09 09 01 00 3D 04 35 02 09 00", ContainerError(), true},  // nested member cut short
};

TEST(SdpRecordText, UnparsableRecordsRaiseTheirErrors) {
    for (const ErrorCase& c : kErrorCases) {
        SCOPED_TRACE(c.recordHex);
        const std::string record = HexBytes(c.recordHex);
        try {
            SDPRecordText(record);
            ADD_FAILURE() << "no error";
        } catch (const TError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
        if (c.attributeTextThrows) {
            EXPECT_THROW(SDPAttributeText(record, 0x0100), TError);
        } else {
            EXPECT_EQ(SDPAttributeText(record, 0x0100), "");
        }
    }
}

// A well-formed first attribute does not hide a later overrun: the record is checked whole first.
TEST(SdpRecordText, OuterStructureIsCheckedBeforeAnyValue) {
    try {
        SDPRecordText(HexBytes("35 0A 09 01 00 18 01 09 00 01 25 09"));
        ADD_FAILURE() << "no error";
    } catch (const TError& error) {
        EXPECT_EQ(error.Message(), EnumerateError());
    }
}

std::string NestedSequences(int depth) {
    std::string value = HexBytes("35 00");
    for (int level = 1; level < depth; ++level)
        value = static_cast<char>(0x36) +
                std::string{static_cast<char>(value.size() >> 8), static_cast<char>(value.size() & 0xFF)} +
                value;
    return value;
}

std::string RecordWithValue(const std::string& value) {
    const std::string contents = HexBytes("09 01 00") + value;
    return HexBytes("37") +
           std::string{0, 0, static_cast<char>(contents.size() >> 8),
                       static_cast<char>(contents.size() & 0xFF)} +
           contents;
}

TEST(SdpRecordText, NestingIsCapped) {
    const std::string deepest = RecordWithValue(NestedSequences(kSdpMaxNesting));
    EXPECT_EQ(SDPAttributeText(deepest, 0x0100),
              std::string(kSdpMaxNesting, '[') + std::string(kSdpMaxNesting, ']'));
    for (const int depth : {kSdpMaxNesting + 1, 1000}) {
        const std::string tooDeep = RecordWithValue(NestedSequences(depth));
        try {
            SDPRecordText(tooDeep);
            ADD_FAILURE() << "no error at depth " << depth;
        } catch (const TError& error) {
            EXPECT_EQ(error.Message(), ContainerError());
        }
    }
}

TEST(SdpElementText, ElementsTheParserNeverProduces) {
    const std::vector<std::pair<TSdpElement, std::string>> cases = {
        {TSdpElement{kSdpTypeContainer, kSdpStNone, 0, 0, false, {}, {}}, "container"},
        {TSdpElement{99, 7, 0, 0, false, {}, {}}, "Unknown SDP type (99, 7)"},
        {TSdpElement{-1, -2, 0, 0, false, {}, {}}, "Unknown SDP type (-1, -2)"},
        {TSdpElement{kSdpTypeUInt, kSdpStInt8, 5, 0, false, {}, {}}, ""},
        {TSdpElement{kSdpTypeInt, kSdpStUInt8, 0, 5, false, {}, {}}, ""},
        {TSdpElement{kSdpTypeUuid, kSdpStUInt16, 0x1101, 0, false, {}, {}}, ""},
    };
    for (const auto& [element, expected] : cases) {
        std::string text = "> ";
        SDPElementText(text, element);
        EXPECT_EQ(text, "> " + expected);
    }
}

TEST(SdpElementText, ContainerTextAppendsSeparatedElements) {
    std::string text = "x";
    SDPContainerText(text, HexBytes("08 01 10 FE 19 00 01"));
    EXPECT_EQ(text, "x1, -2, SDP");
    EXPECT_THROW(SDPContainerText(text, HexBytes("08 01 09")), TError);
}

}  // namespace
}  // namespace qm
