#include <zemautils/channel.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Pair {
    int32_t in;
    int32_t out;
};

TEST(ChannelNumberToFrequency, EveryRangeAndItsEdges) {
    const std::vector<Pair> cases = {{-1, 0},        {0, 0},
                                     {1, 2412},      {6, 2437},
                                     {13, 2472},     {14, 2484},
                                     {15, 2437},     {16, 0},
                                     {19, 0},        {20, 5100},
                                     {36, 5180},     {179, 5895},
                                     {180, 4900},    {184, 4920},
                                     {199, 4995},    {200, 5000},
                                     {204, 5020},    {219, 5095},
                                     {220, 0},       {235, 0},
                                     {236, 4900},    {240, 4920},
                                     {255, 4995},    {256, 0},
                                     {300, 0},       {-2147483647 - 1, 0},
                                     {2147483647, 0}};
    for (const Pair& c : cases) EXPECT_EQ(ZEMAChannelNumberToFrequency(c.in), c.out) << c.in;
}

TEST(ChannelFrequencyToNumber, EveryRangeAndItsEdges) {
    const std::vector<Pair> cases = {{2411, 0},   {2412, 1},   {2414, 1},      {2437, 6},   {2472, 13},
                                     {2473, 0},   {2483, 0},   {2484, 14},     {2485, 0},   {4899, 0},
                                     {4900, 180}, {4920, 184}, {4995, 199},    {5000, 200}, {5020, 204},
                                     {5099, 219}, {5100, 20},  {5180, 36},     {5895, 179}, {5896, 0},
                                     {5900, 0},   {-5, 0},     {2147483647, 0}};
    for (const Pair& c : cases) EXPECT_EQ(ZEMAChannelFrequencyToNumber(c.in), c.out) << c.in;
}

TEST(ChannelNumberToChannelNumber, NormalisesAliases) {
    const std::vector<Pair> cases = {{15, 6},  {236, 180}, {240, 184}, {255, 199}, {6, 6},   {14, 14},
                                     {36, 36}, {184, 184}, {204, 204}, {16, 0},    {225, 0}, {0, 0}};
    for (const Pair& c : cases) EXPECT_EQ(ZEMAChannelNumberToChannelNumber(c.in), c.out) << c.in;
    for (int32_t n = 1; n <= 255; ++n) {
        const int32_t canonical = ZEMAChannelNumberToChannelNumber(n);
        if (canonical != 0) {
            EXPECT_EQ(ZEMAChannelNumberToFrequency(canonical), ZEMAChannelNumberToFrequency(n)) << n;
        }
    }
}

TEST(ChannelConvertAdvertised, PicksTheBandOfTheReceivingChannel) {
    struct Case {
        int32_t current;
        int32_t advertised;
        int32_t expected;
    };
    const std::vector<Case> cases = {{0, 6, 0},  // no receiving channel
                                     {6, 6, 6},
                                     {6, 14, 14},
                                     {6, 15, 0},
                                     {6, 36, 0},
                                     {15, 0, 0},
                                     {36, 4, 204},
                                     {36, 0, 200},
                                     {36, 19, 219},
                                     {36, 20, 20},
                                     {36, 179, 179},
                                     {36, 184, 184},  // 4920 nearer 5180 than 5920
                                     {165, 184, 0},   // 5920 nearer 5825, and no channel
                                     {36, 200, 200},
                                     {36, 219, 219},
                                     {36, 220, 0},
                                     {36, 235, 0},
                                     {36, 240, 184},
                                     {36, 255, 199},
                                     {36, 256, 0},
                                     {36, 1000, 0},
                                     // Negative numbers are no channel in any band.
                                     {6, -3, 0},
                                     {36, -3, 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(ZEMAChannelConvertAdvertised(c.current, c.advertised), c.expected)
            << c.current << ", " << c.advertised;
    }
}

TEST(ChannelConvertAdvertised, TieGoesToFiveGigahertz) {
    // Advertised 190: f5 = 5950, f4 = 4950, midpoint 5450 = channel 90; f5 (no channel) wins the tie.
    EXPECT_EQ(ZEMAChannelConvertAdvertised(90, 190), 0);
    EXPECT_EQ(ZEMAChannelConvertAdvertised(89, 190), 190);
}

TEST(ChannelDescription, FormatsEachRange) {
    struct Case {
        int32_t channel;
        const char* text;
    };
    const std::vector<Case> cases = {{6, "6 - (802.11b/g 2.437 GHz)"},
                                     {1, "1 - (802.11b/g 2.412 GHz)"},
                                     {14, "14 - (802.11b 2.484 GHz)"},
                                     {15, "15/6 - (Atheros Turbo 2.437 GHz)"},
                                     {36, "36 - (802.11a 5.180 GHz)"},
                                     {179, "179 - (802.11a 5.895 GHz)"},
                                     {184, "184/240 - (802.11a/j 4.920 GHz)"},
                                     {240, "240/184 - (802.11a/j 4.920 GHz)"},
                                     {204, "204/4 - (802.11a 5.020 GHz)"},
                                     {0, "0 - (Unknown)"},
                                     {16, "16 - (Unknown)"},
                                     {225, "225 - (Unknown)"},
                                     {300, "300 - (Unknown)"},
                                     {-7, "-7 - (Unknown)"}};
    for (const Case& c : cases) {
        char buffer[64];
        EXPECT_EQ(ZEMAChannelDescription(c.channel, buffer, sizeof buffer), buffer);
        EXPECT_STREQ(buffer, c.text);
    }
}

TEST(ChannelDescription, TruncatesToTheBuffer) {
    struct Case {
        int32_t size;
        const char* text;
    };
    for (const Case& c : {Case{10, "36 - (802"}, Case{1, ""}, Case{2, "3"}}) {
        char buffer[32];
        std::memset(buffer, 'X', sizeof buffer);
        ZEMAChannelDescription(36, buffer, c.size);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], 'X') << "wrote past the size " << c.size;
    }
}

TEST(ChannelDescription, SizeBelowOneWritesNothing) {
    char buffer[4] = {'X', 'X', 'X', 'X'};
    for (int32_t size : {0, -1}) {
        EXPECT_EQ(ZEMAChannelDescription(36, buffer, size), buffer);
        EXPECT_EQ(std::string(buffer, sizeof buffer), "XXXX");
    }
    EXPECT_EQ(ZEMAChannelDescription(36, nullptr, 10), nullptr);
}

}  // namespace
