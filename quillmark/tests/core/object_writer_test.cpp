#include "quillmark/core/ObjectWriter.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

using qm::TObjectWriter;

const std::string k64(64, 'a');

// Lines joined, each ended by CR LF.
std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

struct StringCase {
    const char* name;
    std::string value;
    bool bytes;
    std::string expected;  // the property line(s) at level 1
    friend std::ostream& operator<<(std::ostream& out, const StringCase& c) { return out << c.name; }
};

class StringValues : public ::testing::TestWithParam<StringCase> {};

// One string property of an object: its lines between the header and "end".
TEST_P(StringValues, AreWrittenByCharacterCode) {
    std::string text;
    TObjectWriter writer(text);
    writer.BeginObject("", "TThing");
    if (GetParam().bytes)
        writer.BytesProperty("P", GetParam().value);
    else
        writer.TextProperty("P", GetParam().value);
    writer.EndObject();
    EXPECT_EQ(text, "object TThing\r\n" + GetParam().expected + "end\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Writer, StringValues,
    ::testing::Values(StringCase{"Plain", "Office 2", false, Lines({"  P = 'Office 2'"})},
                      StringCase{"Empty", "", false, Lines({"  P = ''"})},
                      StringCase{"ApostropheAlwaysAsCode", "Bob's", false, Lines({"  P = 'Bob'#39's'"})},
                      StringCase{"LineBreakAsCodes", "failed.\r\n", false, Lines({"  P = 'failed.'#13#10"})},
                      StringCase{"NonAsciiByCodePoint", "Caf\xC3\xA9 \xE2\x82\xAC", false,
                                 Lines({"  P = 'Caf'#233' '#8364"})},
                      StringCase{"BeyondTheBasicPlane", "\xF0\x9F\x98\x80", false, Lines({"  P = #128512"})},
                      StringCase{"InvalidUtf8Replaced", "a\xFF", false, Lines({"  P = 'a'#65533"})},
                      StringCase{"DeleteIsPlain", "\x7F", false, Lines({"  P = '\x7F'"})},
                      StringCase{"SixtyFourStayOnTheLine", k64, false, Lines({"  P = '" + k64 + "'"})},
                      StringCase{"SixtyFiveTakeTwoLines", k64 + "b", false,
                                 Lines({"  P = ", "    '" + k64 + "' +", "    'b'"})},
                      StringCase{"FullSegmentsOnly", k64 + k64, false,
                                 Lines({"  P = ", "    '" + k64 + "' +", "    '" + k64 + "'"})},
                      StringCase{"CodesCountAsOneCharacter", std::string(63, 'a') + "'b", false,
                                 Lines({"  P = ", "    '" + std::string(63, 'a') + "'#39 +", "    'b'"})},
                      StringCase{"RunSplitAtSegmentEnd", "#" + k64, false,
                                 Lines({"  P = ", "    '#" + std::string(63, 'a') + "' +", "    'a'"})},
                      StringCase{"SdpRecordStart", std::string("\x35\x0A\x09\x00\x00", 5), true,
                                 Lines({"  P = '5'#10#9#0#0"})},
                      StringCase{"HighBytesByValue", "\xC3\xA9\xFF", true, Lines({"  P = #195#169#255"})},
                      StringCase{"ByteApostrophe", "'", true, Lines({"  P = #39"})}));

TEST(ObjectWriter, IntegersAndIdentifiers) {
    std::string text;
    TObjectWriter writer(text);
    writer.BeginObject("Named", "TThing");
    writer.IntegerProperty("A", -2147483648LL);
    writer.IntegerProperty("B", 7);
    writer.IdentifierProperty("C", "True");
    writer.EndObject();
    EXPECT_EQ(text, Lines({"object Named: TThing", "  A = -2147483648", "  B = 7", "  C = True", "end"}));
}

// Entries one level below the property; a long entry leaves its own line with only the indentation
// and continues one level deeper still.
TEST(ObjectWriter, StringListsCloseAfterTheLastEntry) {
    std::string text;
    TObjectWriter writer(text);
    writer.BeginObject("", "TThing");
    writer.TextListProperty("Log.Strings", std::vector<std::string>{"one", k64 + "z"});
    writer.EndObject();
    EXPECT_EQ(text, Lines({"object TThing", "  Log.Strings = (", "    'one'", "    ", "      '" + k64 + "' +",
                           "      'z')", "end"}));
}

TEST(ObjectWriter, CollectionsNestTwoLevelsPerItem) {
    std::string text;
    TObjectWriter writer(text);
    writer.BeginObject("", "TThing");
    writer.BeginCollection("Empty");
    writer.EndCollection();
    writer.BeginCollection("Items");
    writer.BeginItem();
    writer.TextProperty("Name", k64 + "x");
    writer.BytesListProperty("Raw.Strings", {std::string("\x35\x03", 2), std::string(65, 'r')});
    writer.EndItem();
    writer.BeginItem();
    writer.EndItem();
    writer.EndCollection();
    writer.EndObject();
    EXPECT_EQ(text, Lines({"object TThing", "  Empty = <>", "  Items = <", "    item",
                           "      Name = ", "        '" + k64 + "' +", "        'x'", "      Raw.Strings = (",
                           "        '5'#3", "        ", "          '" + std::string(64, 'r') + "' +",
                           "          'r')", "    end", "    item", "    end>", "end"}));
}

}  // namespace
