#include "quillmark/core/ObjectReader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

namespace {

using qm::TObjectReader;
using qm::TObjectReadError;

// Reads "object TThing", one property P whose value is read by `read`, and "end".
template <class Value>
Value ReadValue(const std::string& value, Value (TObjectReader::*read)()) {
    const std::string text = "object TThing\r\n  P = " + value + "\r\nend\r\n";
    TObjectReader reader(text);
    std::string name, className, property;
    reader.ReadHeader(name, className);
    EXPECT_TRUE(reader.NextProperty(property));
    const Value result = (reader.*read)();
    EXPECT_FALSE(reader.NextProperty(property));
    reader.ReadEndOfText();
    return result;
}

struct TextCase {
    const char* name;
    std::string value;
    std::string expected;
    friend std::ostream& operator<<(std::ostream& out, const TextCase& c) { return out << c.name; }
};

class TextValues : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextValues, Read) {
    EXPECT_EQ(ReadValue(GetParam().value, &TObjectReader::ReadText), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reader, TextValues,
    ::testing::Values(TextCase{"Empty", "''", ""}, TextCase{"ApostropheCode", "'Bob'#39's'", "Bob's"},
                      TextCase{"DoubledApostrophe", "'Bob''s'", "Bob's"},
                      TextCase{"OnlyAnApostrophe", "''''", "'"},
                      TextCase{"CodesAndRuns", "#72'i'#13#10", "Hi\r\n"},
                      TextCase{"CodePointAsUtf8", "'Caf'#233#8364", "Caf\xC3\xA9\xE2\x82\xAC"},
                      TextCase{"SurrogatePairJoined", "#55357#56832", "\xF0\x9F\x98\x80"},
                      TextCase{"PlusAcrossLines", "\r\n    'ab' +\r\n    'cd'+#33", "abcd!"},
                      TextCase{"TabsAndZeroBytesSeparate", std::string("'a'\t+\0\r\n'b'", 12), "ab"},
                      TextCase{"HighByteInRunIsItsCode", "'\xE9'", "\xC3\xA9"}));

TEST(ObjectReader, BytesKeepEveryByte) {
    EXPECT_EQ(ReadValue("'5'#10#9#0#255''''", &TObjectReader::ReadBytes), std::string("5\n\t\0\xFF'", 6));
    EXPECT_EQ(ReadValue("'\xE9'", &TObjectReader::ReadBytes), "\xE9");
}

// The Windows program writes the bytes 0x80 to 0x9F of its ANSI code page (Windows-1252) as the
// code points that code page gives them; each reads back as its byte. The five bytes the code page
// leaves undefined keep their own value as code.
TEST(ObjectReader, BytesTakeWindows1252CodePoints) {
    const std::string mapped =
        "#8364#8218#402#8222#8230#8224#8225#710#8240#352#8249#338#381#8216#8217#8220#8221#8226"
        "#8211#8212#732#8482#353#8250#339#382#376";
    EXPECT_EQ(ReadValue(mapped, &TObjectReader::ReadBytes),
              "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97"
              "\x98\x99\x9A\x9B\x9C\x9E\x9F");
    EXPECT_EQ(ReadValue("#129#141#143#144#157#128#155", &TObjectReader::ReadBytes),
              "\x81\x8D\x8F\x90\x9D\x80\x9B");
}

struct IntegerCase {
    const char* value;
    std::int32_t expected;
};

TEST(ObjectReader, IntegersInDecimalOrHexadecimal) {
    for (const IntegerCase& c : {IntegerCase{"0", 0}, IntegerCase{"-17", -17}, IntegerCase{"$1F", 31},
                                 IntegerCase{"$7fffffff", 2147483647},
                                 IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"007", 7}})
        EXPECT_EQ(ReadValue(c.value, &TObjectReader::ReadInt32), c.expected) << c.value;
}

TEST(ObjectReader, WordsInAnyLetterCase) {
    const std::string text =
        "OBJECT Me : TThing\r\n  a . B = TRUE\r\n  C = false\r\n  D = <ITEM [3] END\r\n item End>\r\nEnD";
    TObjectReader reader(text);
    std::string name, className, property;
    reader.ReadHeader(name, className);
    EXPECT_EQ(name, "Me");
    EXPECT_EQ(className, "TThing");
    ASSERT_TRUE(reader.NextProperty(property));
    EXPECT_EQ(property, "a.B");
    EXPECT_TRUE(reader.ReadBoolean());
    ASSERT_TRUE(reader.NextProperty(property));
    EXPECT_FALSE(reader.ReadBoolean());
    ASSERT_TRUE(reader.NextProperty(property));
    reader.BeginCollection();
    EXPECT_TRUE(reader.NextItem());
    EXPECT_FALSE(reader.NextProperty(property));
    EXPECT_TRUE(reader.NextItem());
    EXPECT_FALSE(reader.NextProperty(property));
    EXPECT_FALSE(reader.NextItem());
    EXPECT_FALSE(reader.NextProperty(property));
    reader.ReadEndOfText();
}

struct RejectCase {
    const char* name;
    std::string value;  // of property P, read as `kind`
    char kind;          // 't' text, 'b' bytes, 'i' integer, 'l' text list
    int line;
    const char* reason;
    friend std::ostream& operator<<(std::ostream& out, const RejectCase& c) { return out << c.name; }
};

class Rejections : public ::testing::TestWithParam<RejectCase> {};

TEST_P(Rejections, NameTheLine) {
    const RejectCase& c = GetParam();
    const std::string text = "object TThing\r\n  P = " + c.value + "\r\nend\r\n";
    try {
        TObjectReader reader(text);
        std::string name, className, property;
        reader.ReadHeader(name, className);
        reader.NextProperty(property);
        switch (c.kind) {
            case 't':
                reader.ReadText();
                break;
            case 'b':
                reader.ReadBytes();
                break;
            case 'i':
                reader.ReadInt32();
                break;
            case 'l':
                reader.BeginList();
                while (reader.NextListEntry()) reader.ReadText();
                break;
        }
        while (reader.NextProperty(property)) reader.ReadText();
        reader.ReadEndOfText();
        FAIL() << "accepted";
    } catch (const TObjectReadError& error) {
        EXPECT_EQ(error.Line(), c.line);
        EXPECT_THAT(error.what(), ::testing::HasSubstr(c.reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Reader, Rejections,
    ::testing::Values(RejectCase{"UnterminatedRun", "'abc\r\n'", 't', 2, "Unterminated string"},
                      RejectCase{"ZeroByteInRun", std::string("'a\0b'", 5), 't', 2, "Unterminated string"},
                      RejectCase{"PlusWithoutString", "'a' +\r\n  Q = 'b'", 't', 3,
                                 "String value expected after"},
                      RejectCase{"IntegerForText", "12", 't', 2, "String value expected"},
                      RejectCase{"CodeTooLarge", "#1114112", 't', 2, "Character code out of range"},
                      RejectCase{"LoneSurrogate", "#56832'x'", 't', 2, "Unpaired surrogate"},
                      RejectCase{"HighSurrogateAtEnd", "#55357", 't', 2, "Unpaired surrogate"},
                      RejectCase{"CodeAboveByte", "#256", 'b', 2, "does not fit a byte string"},
                      RejectCase{"CodeBesideWindows1252", "#8365", 'b', 2, "does not fit a byte string"},
                      RejectCase{"StringForInteger", "'5'", 'i', 2, "Integer value expected"},
                      RejectCase{"Float", "1.5", 'i', 2, "Invalid number"},
                      RejectCase{"Exponent", "1e5", 'i', 2, "Invalid number"},
                      RejectCase{"Set", "[a]", 'i', 2, "Integer value expected"},
                      RejectCase{"Binary", "{00FF}", 'i', 2, "Integer value expected"},
                      RejectCase{"AboveInt32", "2147483648", 'i', 2, "32-bit range"},
                      RejectCase{"HexAboveInt32", "$FFFFFFFF", 'i', 2, "32-bit range"},
                      RejectCase{"HugeNumber", "99999999999999999999999", 'i', 2, "Number too large"},
                      RejectCase{"UnclosedList", "(\r\n 'a'\r\nend", 'l', 4, "String value expected"},
                      RejectCase{"ListOfIntegers", "(1)", 'l', 2, "String value expected"},
                      RejectCase{"TextAfterEnd", "'a'\r\nend\r\nobject", 't', 4, "Text after the end"},
                      RejectCase{"NoEquals", "'a'\r\n  Q 'b'", 't', 3, "\"=\" expected"},
                      RejectCase{"EmptyNamePart", "'a'\r\n  Q. = 'b'", 't', 3, "Identifier expected"}));

TEST(ObjectReader, MissingEndIsReportedAtTheLastLine) {
    const std::string text = "object TThing\r\n  P = 'a'\r\n";
    TObjectReader reader(text);
    std::string name, className, property;
    reader.ReadHeader(name, className);
    reader.NextProperty(property);
    reader.ReadText();
    try {
        reader.NextProperty(property);
        FAIL() << "accepted";
    } catch (const TObjectReadError& error) {
        EXPECT_EQ(error.Line(), 3);
    }
}

TEST(ObjectReader, LinesUpTo4096Bytes) {
    const std::string fits = "object TThing\r\n" + std::string(4096, ' ') + "\r\nend";
    EXPECT_NO_THROW(TObjectReader{fits});
    const std::string tooLong = "object TThing\r\n" + std::string(4097, ' ') + "\r\nend";
    try {
        TObjectReader reader(tooLong);
        FAIL() << "accepted";
    } catch (const TObjectReadError& error) {
        EXPECT_EQ(error.Line(), 2);
    }
}

}  // namespace
