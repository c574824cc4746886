#include <zemautils/utils.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Hex2BinCase {
    const char* text;
    uint32_t count;
    std::vector<uint8_t> expected;
};

class Hex2BinTest : public testing::TestWithParam<Hex2BinCase> {};

// Exactly count bytes are written, and the byte after them is left alone.
TEST_P(Hex2BinTest, WritesExactlyTheRequestedBytes) {
    const Hex2BinCase& c = GetParam();
    std::vector<uint8_t> out(c.count + 1, 0xEE);
    Hex2Bin(c.text, out.data(), c.count);
    std::vector<uint8_t> expected = c.expected;
    expected.push_back(0xEE);
    EXPECT_EQ(out, expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, Hex2BinTest,
                         testing::Values(Hex2BinCase{"0aFf", 3, {0x0A, 0xFF, 0x00}},
                                         Hex2BinCase{"ABC", 2, {0xAB, 0x00}},
                                         Hex2BinCase{"ABC", 3, {0xAB, 0x00, 0x00}},
                                         Hex2BinCase{"zz", 1, {0x00}}, Hex2BinCase{"g1 9", 2, {0x01, 0x09}},
                                         Hex2BinCase{"0123456789abcdef", 2, {0x01, 0x23}},
                                         Hex2BinCase{"", 2, {0x00, 0x00}},
                                         Hex2BinCase{nullptr, 2, {0x00, 0x00}}, Hex2BinCase{"12", 0, {}}));

TEST(Hex2Bin, NoOutputBufferWritesNothing) {
    Hex2Bin("12", nullptr, 4);
}

}  // namespace
