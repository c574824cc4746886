#include <zemautils/macaddr.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

using Bytes = std::array<std::uint8_t, 6>;

Bytes AddressOf(const TMacAddrStruct& value) {
    Bytes bytes{};
    std::copy(std::begin(value.address), std::end(value.address), bytes.begin());
    return bytes;
}

// Every character after the terminator must be zero, so the text compares whole.
void ExpectTextPaddedWithZeros(const TMacAddrStruct& value) {
    const std::size_t length = strnlen(value.text, sizeof value.text);
    ASSERT_LT(length, sizeof value.text);
    for (std::size_t i = length; i < sizeof value.text; ++i) EXPECT_EQ(value.text[i], '\0') << "at " << i;
}

struct TextCase {
    const char* text;
    Bytes address;
    const char* expectedText;
    std::uint32_t type;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class MacAddrFromStrTest : public testing::TestWithParam<TextCase> {};

TEST_P(MacAddrFromStrTest, ReadsAddressTextAndType) {
    const TextCase& c = GetParam();
    TMacAddrStruct value;
    std::memset(&value, 0xA5, sizeof value);
    EXPECT_EQ(MacAddrFromStr(&value, c.text), &value);
    EXPECT_EQ(AddressOf(value), c.address);
    EXPECT_STREQ(value.text, c.expectedText);
    EXPECT_EQ(value.type, c.type);
    ExpectTextPaddedWithZeros(value);
}

constexpr Bytes kZeroBytes{};

INSTANTIATE_TEST_SUITE_P(
    Texts, MacAddrFromStrTest,
    testing::Values(
        // Classification and upper-case text.
        TextCase{
            "aa:bb:cc:dd:ee:ff", {0xAA, 0xBB, 0xCC, 0xDD, 0xEE, 0xFF}, "AA:BB:CC:DD:EE:FF", MacTypeLocal},
        TextCase{
            "01:00:5e:00:00:01", {0x01, 0x00, 0x5E, 0x00, 0x00, 0x01}, "01:00:5E:00:00:01", MacTypeMulticast},
        TextCase{
            "ff:ff:ff:ff:ff:ff", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "FF:FF:FF:FF:FF:FF", MacTypeBroadcast},
        TextCase{
            "00:11:22:33:44:55", {0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, "00:11:22:33:44:55", MacTypeUnicast},
        TextCase{"00:00:00:00:00:00", kZeroBytes, "00:00:00:00:00:00", MacTypeZero},
        // Group bit wins over the local bit.
        TextCase{"03:00:00:00:00:00", {0x03, 0, 0, 0, 0, 0}, "03:00:00:00:00:00", MacTypeMulticast},
        // Numbers of any length give their low byte; leading white space and text after the sixth
        // number are accepted.
        TextCase{"100:2:3:4:5:6", {0x00, 0x02, 0x03, 0x04, 0x05, 0x06}, "00:02:03:04:05:06", MacTypeUnicast},
        TextCase{"123456789abcdef0124:1:2:3:4:5", {0x24, 1, 2, 3, 4, 5}, "24:01:02:03:04:05", MacTypeUnicast},
        TextCase{"  0x0a:b:c:d:e:f trailing",
                 {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F},
                 "0A:0B:0C:0D:0E:0F",
                 MacTypeLocal},
        TextCase{"00:11:22:33:44:55:66",
                 {0x00, 0x11, 0x22, 0x33, 0x44, 0x55},
                 "00:11:22:33:44:55",
                 MacTypeUnicast},
        // Null value: no number, two to five numbers, a single non-decimal number.
        TextCase{"None", kZeroBytes, "None", MacTypeNull}, TextCase{"", kZeroBytes, "None", MacTypeNull},
        TextCase{"none", kZeroBytes, "None", MacTypeNull}, TextCase{"1:2:3", kZeroBytes, "None", MacTypeNull},
        TextCase{"1:2:3:4:5:", kZeroBytes, "None", MacTypeNull},
        TextCase{"1 :2:3:4:5:6", {0, 0, 0, 0, 0, 1}, "1", MacTypeInteger},
        TextCase{"abc", kZeroBytes, "None", MacTypeNull},
        // A single decimal number is an integer identifier, dashes included.
        TextCase{"12345", {0, 0, 0, 0, 0x30, 0x39}, "12345", MacTypeInteger},
        TextCase{"00-11-22-33-44-55", kZeroBytes, "0", MacTypeInteger},
        TextCase{"12-34-56-78-9a-bc", {0, 0, 0, 0, 0, 12}, "12", MacTypeInteger},
        TextCase{"-1", {0, 0, 0xFF, 0xFF, 0xFF, 0xFF}, "-1", MacTypeInteger},
        TextCase{"1a", {0, 0, 0, 0, 0, 1}, "1", MacTypeInteger},
        // An identifier too long for 32 bits keeps its low 32 bits (2^32 + 5).
        TextCase{"4294967301", {0, 0, 0, 0, 0, 5}, "5", MacTypeInteger}));

TEST(MacAddrFromStr, NullTextGivesNullValue) {
    TMacAddrStruct value;
    MacAddrFromInt(&value, 7);
    MacAddrFromStr(&value, nullptr);
    EXPECT_EQ(std::memcmp(&value, MacAddrNull(), sizeof value), 0);
}

TEST(MacAddrConstants, HaveTheirAddressTextAndType) {
    struct Case {
        const TMacAddrStruct* value;
        std::uint8_t byte;
        const char* text;
        std::uint32_t type;
    };
    for (const Case& c : {Case{MacAddrNull(), 0x00, "None", MacTypeNull},
                          Case{MacAddrZero(), 0x00, "00:00:00:00:00:00", MacTypeZero},
                          Case{MacAddrBroadcast(), 0xFF, "FF:FF:FF:FF:FF:FF", MacTypeBroadcast}}) {
        EXPECT_EQ(AddressOf(*c.value), Bytes({c.byte, c.byte, c.byte, c.byte, c.byte, c.byte}));
        EXPECT_STREQ(c.value->text, c.text);
        EXPECT_EQ(c.value->type, c.type);
        ExpectTextPaddedWithZeros(*c.value);
    }
}

TEST(MacAddrFromBin, FallBackTypeDecidesTheAllZeroAddress) {
    const std::uint8_t zeros[6] = {};
    TMacAddrStruct value;
    MacAddrFromBin(&value, zeros, MacTypeNull);
    EXPECT_EQ(std::memcmp(&value, MacAddrNull(), sizeof value), 0);
    MacAddrFromBin(&value, zeros, MacTypeZero);
    EXPECT_EQ(std::memcmp(&value, MacAddrZero(), sizeof value), 0);
}

TEST(MacAddrFromBin, ClassifiesNonZeroBytesWhateverTheFallBack) {
    const std::uint8_t bytes[6] = {0x02, 0x00, 0x00, 0x00, 0x00, 0x01};
    TMacAddrStruct value;
    EXPECT_EQ(MacAddrFromBin(&value, bytes, MacTypeNull), &value);
    EXPECT_STREQ(value.text, "02:00:00:00:00:01");
    EXPECT_EQ(value.type, static_cast<std::uint32_t>(MacTypeLocal));
}

TEST(MacAddrFromInt, NegativeAndExtremeValues) {
    struct Case {
        std::int32_t n;
        Bytes address;
        const char* text;
    };
    for (const Case& c :
         {Case{0, kZeroBytes, "0"}, Case{-2147483647 - 1, {0, 0, 0x80, 0, 0, 0}, "-2147483648"},
          Case{0x01020304, {0, 0, 1, 2, 3, 4}, "16909060"}}) {
        TMacAddrStruct value;
        std::memset(&value, 0x5A, sizeof value);
        EXPECT_EQ(MacAddrFromInt(&value, c.n), &value);
        EXPECT_EQ(AddressOf(value), c.address);
        EXPECT_STREQ(value.text, c.text);
        EXPECT_EQ(value.type, static_cast<std::uint32_t>(MacTypeInteger));
        ExpectTextPaddedWithZeros(value);
    }
}

TEST(MacAddrCopy, CopiesWholeValueOrNull) {
    TMacAddrStruct source;
    TMacAddrStruct destination;
    MacAddrFromStr(&source, "00:11:22:33:44:55");
    MacAddrCopy(&destination, &source);
    EXPECT_EQ(std::memcmp(&destination, &source, sizeof source), 0);
    MacAddrCopy(&destination, nullptr);
    EXPECT_EQ(std::memcmp(&destination, MacAddrNull(), sizeof destination), 0);
}

TEST(MacAddrIsSame, ComparesTypeAndBytesNotText) {
    TMacAddrStruct a;
    TMacAddrStruct b;
    MacAddrFromStr(&a, "00:11:22:33:44:55");
    MacAddrFromStr(&b, "0:11:22:33:44:55");
    EXPECT_EQ(MacAddrIsSame(&a, &b), 1);
    b.text[0] = 'x';
    EXPECT_EQ(MacAddrIsSame(&a, &b), 1);
    MacAddrFromStr(&b, "00:11:22:33:44:56");
    EXPECT_EQ(MacAddrIsSame(&a, &b), 0);
    EXPECT_EQ(MacAddrIsSame(MacAddrZero(), MacAddrNull()), 0);
    EXPECT_EQ(MacAddrIsSame(&a, nullptr), 0);
    EXPECT_EQ(MacAddrIsSame(nullptr, &a), 0);
}

TEST(MacAddrIsType, TestsAnyBitOfTheMask) {
    struct Case {
        const char* text;
        std::uint32_t mask;
        std::int32_t expected;
    };
    for (const Case& c : {Case{"01:00:5e:00:00:01", MacTypeMulticast | MacTypeBroadcast, 1},
                          Case{"ff:ff:ff:ff:ff:ff", MacTypeMulticast | MacTypeBroadcast, 1},
                          Case{"00:11:22:33:44:55", MacTypeMulticast | MacTypeBroadcast, 0},
                          Case{"12345", MacTypeInteger, 1}, Case{"None", MacTypeNull, 1}}) {
        TMacAddrStruct value;
        MacAddrFromStr(&value, c.text);
        EXPECT_EQ(MacAddrIsType(&value, c.mask), c.expected) << c.text;
    }
    EXPECT_EQ(MacAddrIsType(nullptr, 0xFFFFFFFFu), 0);
}

TEST(MacAddrUninitialised, EachCheckedOperationWarnsAndCarriesOn) {
    TMacAddrStruct blank{};
    TMacAddrStruct destination;
    testing::internal::CaptureStdout();
    MacAddrCopy(&destination, &blank);
    EXPECT_EQ(MacAddrIsSame(&blank, &blank), 1);
    EXPECT_EQ(MacAddrIsType(&blank, 0xFFFFFFFFu), 0);
    const std::string warning = "Use of uninitalized TMacAddr!\n";
    EXPECT_EQ(testing::internal::GetCapturedStdout(), warning + warning + warning + warning);
    EXPECT_EQ(destination.type, 0u);
}

TEST(MacAddrOperators, OrderByTextBytes) {
    // Ascending by text: hex pairs in byte order, decimal identifiers by their digits, "None" last.
    const std::vector<std::string> ascending = {"00:00:00:00:00:00", "00:11:22:33:44:55", "12345",
                                                "AA:BB:CC:DD:EE:FF", "FF:FF:FF:FF:FF:FF", "None"};
    std::vector<TMacAddrStruct> values(ascending.size());
    for (std::size_t i = 0; i < ascending.size(); ++i) MacAddrFromStr(&values[i], ascending[i].c_str());
    for (std::size_t i = 0; i < values.size(); ++i) {
        for (std::size_t j = 0; j < values.size(); ++j) {
            const TMacAddrStruct& a = values[i];
            const TMacAddrStruct& b = values[j];
            EXPECT_EQ(a == b, i == j);
            EXPECT_EQ(a != b, i != j);
            EXPECT_EQ(a < b, i < j);
            EXPECT_EQ(a <= b, i <= j);
            EXPECT_EQ(a > b, i > j);
            EXPECT_EQ(a >= b, i >= j);
        }
    }
}

TEST(MacAddrOperators, CompareTextOnlyAsUnsignedBytes) {
    TMacAddrStruct a;
    TMacAddrStruct b;
    MacAddrFromStr(&a, "00:11:22:33:44:55");
    MacAddrCopy(&b, &a);
    b.type = MacTypeNull;
    EXPECT_TRUE(a == b);
    b.text[17] = static_cast<char>(0x80);
    EXPECT_TRUE(a < b);
}

}  // namespace
