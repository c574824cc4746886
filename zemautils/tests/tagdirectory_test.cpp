#include <zemautils/tagdirectory.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "tagdirectory_internal.h"

namespace {

using zema::Tag;

std::string Lowered(const char* text) {
    std::string lowered(text);
    for (char& c : lowered) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lowered;
}

std::vector<uint32_t> KnownTagsFilled() {
    std::vector<uint32_t> tags(PROP_KNOWN_TAG_COUNT + 2, 0xDEADBEEF);
    GetTags(tags.data());
    return tags;
}

TEST(TagDirectory, EveryNameFindsItsTagInAnyCase) {
    const auto named = zema::NamedTags();
    ASSERT_EQ(named.size(), 144u);
    std::set<std::string> names;
    std::set<uint32_t> tags;
    for (const zema::NamedTag& n : named) {
        EXPECT_TRUE(names.insert(n.name).second) << n.name;
        EXPECT_TRUE(tags.insert(n.tag).second) << n.name;
        EXPECT_EQ(LookupPropTag(n.name), n.tag) << n.name;
        EXPECT_EQ(LookupPropTag(Lowered(n.name).c_str()), n.tag) << n.name;
    }
    EXPECT_EQ(LookupPropTag("pr_ap_signal"), Tag(0x0803, 4));
    EXPECT_EQ(LookupPropTag("PR_CLIENT_TYPE"), Tag(0x088B, 10));
    EXPECT_EQ(LookupPropTag("PR_TEST_INT_0X100"), Tag(0x7009, 3));
}

TEST(TagDirectory, UnknownNamesGiveTagOne) {
    for (const char* name : {"PR_NOTHING", "PR_AP_SIGNAL ", "", "PR_AP"})
        EXPECT_EQ(LookupPropTag(name), 1u) << name;
    EXPECT_EQ(LookupPropTag(nullptr), 1u);
}

struct ReverseCase {
    uint32_t tag;
    bool known;
    const char* name;
    const char* displayName;
};

TEST(TagDirectory, ReverseLookup) {
    const std::vector<ReverseCase> cases = {
        {Tag(0x0803, 4), true, "PR_AP_SIGNAL", "AP Signal"},
        {Tag(0x0001, 30), true, "PR_SENSOR_ADDRESS", "Sensor Address"},
        {Tag(0x0002, 30), true, "PR_SENSOR_LOCATION", "Sensor Location"},
        {Tag(0x0800, 30), true, "PR_AP_ADDRESS", "AP Address"},
        {Tag(0x0802, 30), true, "PR_AP_LOCATION", "AP Location"},
        {Tag(0x0880, 30), true, "PR_CLIENT_ADDRESS", "Change Me Please"},
        {Tag(0x1003, 258), true, "PR_SSID", "Change Me Please"},
        {Tag(0x080E, 30), false, "", ""},
        {Tag(0x088E, 30), false, "", ""},
        {Tag(0x090A, 22), false, "", ""},
        {Tag(0x040E, 8), false, "", ""},
        {Tag(0x7000, 3), false, "", ""},
        {Tag(0x0803, 3), false, "", ""},
        {Tag(0x0800, 31), false, "", ""},
        {0, false, "", ""},
    };
    for (const ReverseCase& c : cases) {
        const char* name = "unset";
        const char* displayName = "unset";
        EXPECT_EQ(ReLookupPropTag(c.tag, &name, &displayName), c.known) << std::hex << c.tag;
        EXPECT_STREQ(name, c.name);
        EXPECT_STREQ(displayName, c.displayName);
    }
    EXPECT_TRUE(ReLookupPropTag(Tag(0x0803, 4), nullptr, nullptr));
}

TEST(TagDirectory, ReverseLookupKnows130NamedTags) {
    int known = 0;
    int specific = 0;
    for (const zema::NamedTag& n : zema::NamedTags()) {
        const char* name = nullptr;
        const char* displayName = nullptr;
        if (!ReLookupPropTag(n.tag, &name, &displayName)) continue;
        ++known;
        EXPECT_STREQ(name, n.name);
        if (std::string(displayName) != "Change Me Please") ++specific;
    }
    EXPECT_EQ(known, 130);
    EXPECT_EQ(specific, 5);
}

TEST(TagDirectory, KnownTagListOrderAndTerminator) {
    const std::vector<uint32_t> tags = KnownTagsFilled();
    EXPECT_EQ(tags[0], Tag(0x0001, 30));
    EXPECT_EQ(tags[1], Tag(0x0001, 30));
    EXPECT_EQ(tags[2], Tag(0x0001, 31));
    EXPECT_EQ(tags[5], Tag(0x0003, 19));
    EXPECT_EQ(tags[6], Tag(0x0400, 10));
    EXPECT_EQ(tags[35], Tag(0x041B, 1));
    EXPECT_EQ(tags[141], Tag(0x100F, 3));
    EXPECT_EQ(tags[142], 0u);
    EXPECT_EQ(tags[143], 0xDEADBEEFu) << "wrote beyond the terminator";
    const std::vector<uint32_t> clientPart(tags.begin() + 97, tags.begin() + 110);
    EXPECT_EQ(clientPart, (std::vector<uint32_t>{
                              Tag(0x0880, 30), Tag(0x0880, 31), Tag(0x0881, 3), Tag(0x0882, 30),
                              Tag(0x0883, 4), Tag(0x0884, 8), Tag(0x0885, 9), Tag(0x0886, 8), Tag(0x0887, 9),
                              Tag(0x0888, 6), Tag(0x0889, 7), Tag(0x088B, 10), Tag(0x088A, 22)}));
}

TEST(TagDirectory, KnownTagListLeavesOutBssidOnwardsAndTestTags) {
    const std::vector<uint32_t> tags = KnownTagsFilled();
    const std::set<uint32_t> listed(tags.begin(), tags.begin() + PROP_KNOWN_TAG_COUNT);
    std::vector<std::string> missing;
    for (const zema::NamedTag& n : zema::NamedTags()) {
        if (!listed.count(n.tag)) missing.push_back(n.name);
    }
    std::vector<std::string> expected;
    for (const char* group : {"PR_AP_", "PR_CLIENT_", "PR_STATION_"}) {
        for (const char* rest : {"BSSID", "DEAUTH_TIME", "CHANNEL", "SSID", "SSID_FROM_BEACON"}) {
            expected.push_back(std::string(group) + rest);
        }
    }
    expected.push_back("PR_TEST_INT");
    for (const char* bit : {"0X01", "0X02", "0X04", "0X08", "0X10", "0X20", "0X40", "0X80", "0X100"}) {
        expected.push_back(std::string("PR_TEST_INT_") + bit);
    }
    std::sort(missing.begin(), missing.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(missing, expected);
    for (std::size_t i = 0; i < PROP_KNOWN_TAG_COUNT; ++i) {
        if ((tags[i] & 0xFFFF) != 31) continue;
        EXPECT_EQ(tags[i - 1], (tags[i] & 0xFFFF0000) | 30) << "MAC form without its text form at " << i;
    }
}

struct DefaultListCase {
    void (*get)(const uint32_t**);
    std::size_t count;
    uint32_t first;
    uint32_t last;
};

TEST(TagDirectory, DefaultListsAreZeroUntilInitialised) {
    const std::vector<DefaultListCase> lists = {
        {GetDefaultStationInfoTags, 25, Tag(0x0400, 10), Tag(0x041A, 18)},
        {GetDefaultWirelessPacketInfoTags, 13, Tag(0x0500, 30), Tag(0x050C, 10)},
        {GetDefaultNetworkPacketInfoTags, 21, Tag(0x0600, 30), Tag(0x0614, 3)},
        {GetDefaultChannelInfoTags, 7, Tag(0x0700, 3), Tag(0x0706, 3)},
        {GetDefaultStationTags, 19, Tag(0x0900, 30), Tag(0x0912, 3)},
    };
    for (const DefaultListCase& list : lists) {
        const uint32_t* block = nullptr;
        list.get(&block);
        ASSERT_NE(block, nullptr);
        EXPECT_TRUE(std::all_of(block, block + 1 + list.count, [](uint32_t t) { return t == 0; }));
    }
    InitDefaultTags();
    InitDefaultTags();
    std::set<uint32_t> named;
    for (const zema::NamedTag& n : zema::NamedTags()) named.insert(n.tag);
    for (const DefaultListCase& list : lists) {
        const uint32_t* block = nullptr;
        list.get(&block);
        EXPECT_EQ(block[0], 0u);
        EXPECT_EQ(block[1], list.first);
        EXPECT_EQ(block[list.count], list.last);
        EXPECT_TRUE(std::is_sorted(block + 1, block + 1 + list.count));
        EXPECT_TRUE(std::adjacent_find(block + 1, block + 1 + list.count) == block + 1 + list.count);
        for (std::size_t i = 1; i <= list.count; ++i) {
            EXPECT_TRUE(named.count(block[i])) << "unnamed tag " << std::hex << block[i];
            EXPECT_EQ(block[i] >> 24, list.first >> 24) << "tag " << i << " outside its group";
        }
    }
    const uint32_t* channel = nullptr;
    GetDefaultChannelInfoTags(&channel);
    EXPECT_EQ(std::vector<uint32_t>(channel + 1, channel + 8),
              (std::vector<uint32_t>{Tag(0x0700, 3), Tag(0x0701, 3), Tag(0x0702, 3), Tag(0x0703, 3),
                                     Tag(0x0704, 4), Tag(0x0705, 4), Tag(0x0706, 3)}));
}

}  // namespace
