#include <zemautils/netcodec.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A buffer with room to spare; the writers report what they wrote through the cursor.
class CodecBuffer : public testing::Test {
protected:
    std::uint8_t buffer_[64] = {};
    std::uint8_t* writer_ = buffer_;

    Bytes Written() const { return Bytes(buffer_, static_cast<const std::uint8_t*>(writer_)); }
};

TEST_F(CodecBuffer, FixedWidthIntegersAreBigEndian) {
    NetWrite8(&writer_, 0x9A);
    NetWrite16(&writer_, 0xABCD);
    NetWrite32(&writer_, 0x11223344u);
    NetWrite64(&writer_, 0x0102030405060708ull);
    EXPECT_EQ(Written(), (Bytes{0x9A, 0xAB, 0xCD, 0x11, 0x22, 0x33, 0x44, 1, 2, 3, 4, 5, 6, 7, 8}));

    std::uint8_t* reader = buffer_;
    EXPECT_EQ(NetRead8(&reader), 0x9A);
    EXPECT_EQ(NetRead16(&reader), 0xABCD);
    EXPECT_EQ(NetRead32(&reader), 0x11223344u);
    EXPECT_EQ(NetRead64(&reader), 0x0102030405060708ull);
    EXPECT_EQ(reader, writer_);
}

TEST_F(CodecBuffer, SixtyFourBitValuesRoundTrip) {
    std::mt19937_64 random(20261209);
    std::vector<std::uint64_t> values = {
        0, 1, 0xFFFFFFFFull, 0x100000000ull, 0x00000000DEADBEEFull, 0xFFFFFFFFFFFFFFFFull};
    for (int i = 0; i < 1000; ++i) values.push_back(random());
    for (std::uint64_t value : values) {
        writer_ = buffer_;
        NetWrite64(&writer_, value);
        std::uint8_t* reader = buffer_;
        EXPECT_EQ(NetRead64(&reader), value);
        EXPECT_EQ(reader, buffer_ + 8);
    }
}

struct VarUIntCase {
    std::uint64_t value;
    Bytes encoding;
};

void PrintTo(const VarUIntCase& c, std::ostream* os) {
    *os << c.value;
}

class VarUIntTest : public testing::TestWithParam<VarUIntCase> {};

TEST_P(VarUIntTest, EncodesAndDecodes) {
    const VarUIntCase& c = GetParam();
    std::uint8_t buffer[16] = {};
    std::uint8_t* writer = buffer;
    NetWritVarUInt(&writer, c.value);
    EXPECT_EQ(Bytes(buffer, writer), c.encoding);

    Bytes encoding = c.encoding;
    std::uint8_t* reader = encoding.data();
    EXPECT_EQ(NetReadVarUInt(&reader), c.value);
    EXPECT_EQ(reader, encoding.data() + encoding.size());
}

INSTANTIATE_TEST_SUITE_P(
    Values, VarUIntTest,
    testing::Values(
        VarUIntCase{0, {0x00}}, VarUIntCase{1, {0x01}}, VarUIntCase{127, {0x7F}},
        VarUIntCase{128, {0x80, 0x01}}, VarUIntCase{300, {0xAC, 0x02}},
        VarUIntCase{0x8000000000000000ull, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x01}},
        VarUIntCase{0xFFFFFFFFFFFFFFFFull, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}}));

struct DecodeCase {
    const char* name;
    Bytes input;
    std::uint64_t value;
    std::size_t consumed;
};

TEST(NetReadVarUInt, UnusualEncodings) {
    const std::vector<DecodeCase> cases = {
        {"overlong ten bytes read as zero", Bytes(10, 0x80), 0, 10},
        {"overlong stops after ten bytes",
         {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x01},
         0,
         10},
        {"bits beyond 63 dropped", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}, ~0ull, 10},
        {"redundant zero groups", {0x81, 0x80, 0x00}, 1, 3},
        {"stops at first final byte", {0x05, 0x80}, 5, 1},
    };
    for (const DecodeCase& c : cases) {
        Bytes input = c.input;
        std::uint8_t* reader = input.data();
        EXPECT_EQ(NetReadVarUInt(&reader), c.value) << c.name;
        EXPECT_EQ(static_cast<std::size_t>(reader - input.data()), c.consumed) << c.name;
    }
}

TEST(NetVarUInt, RandomValuesRoundTrip) {
    std::mt19937_64 random(7);
    std::uint8_t buffer[16];
    for (int i = 0; i < 10000; ++i) {
        // Spread the values over every length by shifting away a random number of high bits.
        const std::uint64_t value = random() >> (random() % 64);
        std::uint8_t* writer = buffer;
        NetWritVarUInt(&writer, value);
        std::uint8_t* reader = buffer;
        ASSERT_EQ(NetReadVarUInt(&reader), value);
        ASSERT_EQ(reader, writer);
    }
}

TEST_F(CodecBuffer, MemoryAndTexts) {
    const std::uint8_t block[] = {0xDE, 0x00, 0xAD};
    NetWriteMem(&writer_, block, sizeof block);
    NetWriteMem(&writer_, nullptr, 0);
    NetWriteStr(&writer_, "ab", 1);
    NetWriteStr(&writer_, "cd", 0);
    NetWriteStr(&writer_, "", 0);
    NetWriteStr(&writer_, "", 1);
    EXPECT_EQ(Written(), (Bytes{0xDE, 0x00, 0xAD, 'a', 'b', 0x00, 'c', 'd', 0x00}));
}

}  // namespace
