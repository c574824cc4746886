#include <zemautils/vocabulary.h>

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ascii_case.h"
#include "vocabulary_internal.h"

namespace {

struct Listed {
    int32_t value;
    std::string name;
    int32_t flag;
};

// Walks an enumeration in display order, as a caller lists it: start with -1000, follow results
// until -1001. Stops early (and fails) on anything else or on a run-away iteration.
std::vector<Listed> ListInDisplayOrder(int32_t valueType) {
    std::vector<Listed> listed;
    char name[ENUM_DISPLAY_NAME_SIZE];
    int32_t flag = -7;
    int32_t value = LookupEngineEnumDisplayName(valueType, ENUM_ITERATION_START, name, &flag);
    EXPECT_STREQ(name, "");
    EXPECT_EQ(flag, 0);
    while (value != ENUM_ITERATION_END && listed.size() < 100) {
        const int32_t next = LookupEngineEnumDisplayName(valueType, value, name, &flag);
        if (next == ENUM_UNKNOWN) {
            ADD_FAILURE() << "value " << value << " of type " << valueType << " not found";
            break;
        }
        listed.push_back({value, name, flag});
        value = next;
    }
    return listed;
}

std::vector<std::string> SymbolList(int32_t valueType) {
    char slots[ENUM_SYMBOL_SLOTS_MAX][ENUM_SYMBOL_SLOT_SIZE];
    std::memset(slots, 'x', sizeof slots);
    EXPECT_EQ(GetSymbolByEnumType(valueType, slots), 0);
    std::vector<std::string> symbols;
    for (int i = 0; i < ENUM_SYMBOL_SLOTS_MAX && slots[i][0] != '\0'; ++i) symbols.emplace_back(slots[i]);
    return symbols;
}

TEST(VocabularyTables, SymbolsAreUniqueAndListPositionsArePermutations) {
    for (int32_t type = PT_ROGUE; type <= PT_EAP_TYPE; ++type) {
        const zema::Enumeration* enumeration = zema::FindEnumeration(type);
        ASSERT_NE(enumeration, nullptr) << type;
        std::set<int32_t> positions;
        std::set<int32_t> values;
        std::vector<const char*> symbols;
        for (const zema::EnumRow& row : enumeration->rows) {
            EXPECT_TRUE(values.insert(row.value).second) << "type " << type << " repeats " << row.value;
            EXPECT_LT(std::strlen(row.displayName), std::size_t{ENUM_DISPLAY_NAME_SIZE}) << row.displayName;
            if (row.symbol == nullptr) continue;
            for (const char* other : symbols)
                EXPECT_FALSE(zema::AsciiEqualIgnoreCase(other, row.symbol)) << other;
            symbols.push_back(row.symbol);
            positions.insert(row.listPosition);
        }
        EXPECT_EQ(positions.size(), symbols.size()) << type;
        if (positions.empty()) continue;
        EXPECT_EQ(*positions.begin(), 1) << type;
        EXPECT_EQ(*positions.rbegin(), static_cast<int32_t>(symbols.size())) << type;
    }
}

struct SymbolCase {
    int32_t (*lookup)(const char*);
    const char* symbol;
    int32_t expected;
};

TEST(Vocabulary, SymbolLookupsIgnoreAsciiCaseOnly) {
    const std::vector<SymbolCase> cases = {
        {LookupReasonCode, "timeout", 144},
        {LookupReasonCode, "TIMEOUT", 144},
        {LookupReasonCode, "Timeout", 144},
        {LookupReasonCode, "Reason", -1},
        {LookupReasonCode, "AuthFataJackAttack", 254},
        {LookupReasonCode, "statusnumbermax", 224},
        {LookupWirelessEncState, "EncryptionMask", -2},
        {LookupWirelessEncState, "utEncryptionUnknown", -1},
        {LookupWirelessEncState, "wpatkip_OLD", 2},
        {LookupWirelessEncState, "Fortress", -1},
        {LookupRogueState, "rogue", 1},
        {LookupRogueState, "Invalid", -1},
        {LookupSubRogueState, "SUSPECTEDROGUE", 13},
        {LookupWirelessAuthState, "netEAP", 129},
        {LookupWirelessAuthState, "authunknown", 0},
        {LookupStationTypeState, "ap", 1},
        {LookupStationTypeState, "Access Point", -1},
        {LookupStationFlag, "sta_flag_existing", 2048},
        {LookupNetworkPacketType, "Encrypted", 5},
        {LookupWirelessPacketFrameType, "qoscfackcfpoll", 47},
        {LookupEAPoLType, "EAPOL_TYPE_WPA_LEY", 254},
        {LookupEAPoLCode, "eapol_code_failure", 4},
        {LookupEAPType, "EAP_TYPE_GENRIC_TOKEN", 6},
        {LookupEAPType, "eap_type_vendor_specific", 255},
        {LookupEAPType, "EAP_TYPE_LEAP ", -1},
        {LookupEAPType, "", -1},
        {LookupEAPType, nullptr, -1},
    };
    for (const SymbolCase& c : cases) {
        EXPECT_EQ(c.lookup(c.symbol), c.expected) << (c.symbol ? c.symbol : "(null)");
    }
}

TEST(Vocabulary, LookupCodeCoversTypesSixToFifteenOnly) {
    EXPECT_EQ(LookupCode(PT_REASON_CODE, "TIMEOUT"), 144);
    EXPECT_EQ(LookupCode(PT_EAPOL_TYPE, "eapol_type_key"), 3);
    EXPECT_EQ(LookupCode(PT_ROGUE, "nothing"), -1);
    EXPECT_EQ(LookupCode(PT_EAPOL_CODE, "EAPOL_CODE_REQUEST"), -1002);
    EXPECT_EQ(LookupCode(PT_EAP_TYPE, "EAP_TYPE_LEAP"), -1002);
    EXPECT_EQ(LookupCode(5, "Open"), -1002);
}

TEST(Vocabulary, SymbolListsFollowListPositions) {
    EXPECT_EQ(SymbolList(PT_ENC),
              (std::vector<std::string>{"None", "WEP", "WEP128", "WEP256", "WPATKIP_old", "WPAWEP40",
                                        "WPATKIP", "WPAAESOCB", "WPAAESCCM", "WPAWEP104",
                                        "utEncryptionUnknown", "EncryptionMask"}));
    EXPECT_EQ(SymbolList(PT_SUBROGUE),
              (std::vector<std::string>{"Unknown", "Internal", "Guest", "Transient", "SuspectedNeighbor",
                                        "SuspectedRogue", "ConnectedToLAN", "Malicious"}));
    EXPECT_EQ(SymbolList(PT_AUTH),
              (std::vector<std::string>{"Open", "Shared", "NetEAP", "WPAPSK", "EAP", "AuthUnknown"}));
    const std::vector<std::string> frames = SymbolList(PT_FRAME_TYPE);
    ASSERT_EQ(frames.size(), 33u);
    EXPECT_EQ(frames.front(), "AssocReq");
    EXPECT_EQ(frames.back(), "QoSCFACKCFPoll");
}

TEST(Vocabulary, SymbolListEndsWithOneEmptySlot) {
    char slots[ENUM_SYMBOL_SLOTS_MAX][ENUM_SYMBOL_SLOT_SIZE];
    std::memset(slots, 'x', sizeof slots);
    ASSERT_EQ(GetSymbolByEnumType(PT_ENC, slots), 0);
    EXPECT_STREQ(slots[11], "EncryptionMask");
    EXPECT_STREQ(slots[12], "");
    EXPECT_EQ(slots[13][0], 'x');
}

TEST(Vocabulary, SymbolListOfOtherTypesWritesNothing) {
    for (int32_t type : std::initializer_list<int32_t>{PT_EAPOL_CODE, PT_EAP_TYPE, 5, 18, -1}) {
        char slots[2][ENUM_SYMBOL_SLOT_SIZE];
        std::memset(slots, 'x', sizeof slots);
        EXPECT_EQ(GetSymbolByEnumType(type, slots), -1) << type;
        EXPECT_EQ(slots[0][0], 'x') << type;
    }
}

std::vector<std::pair<int32_t, std::string>> ValuesAndNames(const std::vector<Listed>& listed) {
    std::vector<std::pair<int32_t, std::string>> result;
    for (const Listed& l : listed) result.emplace_back(l.value, l.name);
    return result;
}

TEST(Vocabulary, DisplayOrderIteration) {
    using Names = std::vector<std::pair<int32_t, std::string>>;
    EXPECT_EQ(ValuesAndNames(ListInDisplayOrder(PT_SUBROGUE)), (Names{{-1, "Unspecified"},
                                                                      {1, "Internal"},
                                                                      {2, "Guest"},
                                                                      {0, "Unknown"},
                                                                      {11, "Transient"},
                                                                      {12, "Suspected Neighbor"},
                                                                      {13, "Suspected Rogue"},
                                                                      {30, "Connected to LAN"},
                                                                      {31, "Malicious"}}));
    const std::vector<Listed> enc = ListInDisplayOrder(PT_ENC);
    ASSERT_EQ(enc.size(), 14u);
    EXPECT_EQ(enc[3].value, 3);
    EXPECT_EQ(enc[3].name, "Fortress");
    EXPECT_EQ(enc[6].value, 128);
    EXPECT_EQ(enc[6].name, "WPA (Unknown)");
    EXPECT_EQ(enc[12].value, -1);
    EXPECT_EQ(enc[12].flag, 0);
    EXPECT_EQ(enc[13].value, -2);
    EXPECT_EQ(enc[13].name, "Encryption Mask");
}

TEST(Vocabulary, EveryEnumerationIteratesToItsEnd) {
    const std::vector<std::pair<int32_t, std::size_t>> sizes = {
        {PT_ROGUE, 5},        {PT_SUBROGUE, 9},     {PT_AUTH, 6},          {PT_ENC, 14},
        {PT_STATION_TYPE, 5}, {PT_REASON_CODE, 24}, {PT_STATION_FLAG, 12}, {PT_NETWORK_PACKET_TYPE, 6},
        {PT_FRAME_TYPE, 33},  {PT_EAPOL_TYPE, 6},   {PT_EAPOL_CODE, 4},    {PT_EAP_TYPE, 40}};
    for (const auto& [type, size] : sizes) EXPECT_EQ(ListInDisplayOrder(type).size(), size) << type;
}

TEST(Vocabulary, EapTypesAreAllShownInValueOrder) {
    const std::vector<Listed> eap = ListInDisplayOrder(PT_EAP_TYPE);
    ASSERT_EQ(eap.size(), 40u);
    EXPECT_EQ(eap[5].value, 6);
    EXPECT_EQ(eap[6].value, 9);
    EXPECT_EQ(eap.back().value, 255);
    for (const Listed& l : eap) {
        EXPECT_EQ(l.flag, 1) << l.value;
        EXPECT_FALSE(l.name.empty()) << l.value;
    }
}

TEST(Vocabulary, DisplayNameFlagsAndOptionalOutputs) {
    int32_t flag = -7;
    char name[ENUM_DISPLAY_NAME_SIZE];
    EXPECT_EQ(LookupEngineEnumDisplayName(PT_STATION_TYPE, 3, name, &flag), -1001);
    EXPECT_STREQ(name, "Unknown");
    EXPECT_EQ(flag, 0);
    EXPECT_EQ(LookupEngineEnumDisplayName(PT_REASON_CODE, 254, nullptr, &flag), -1001);
    EXPECT_EQ(flag, 1);
    EXPECT_EQ(LookupEngineEnumDisplayName(PT_REASON_CODE, 96, name, nullptr), 128);
    EXPECT_STREQ(name, "Reason Number Max");
    EXPECT_EQ(LookupEngineEnumDisplayName(PT_ROGUE, ENUM_ITERATION_START, nullptr, nullptr), -1);
}

TEST(Vocabulary, UnknownValuesAndTypesWriteNothing) {
    const std::vector<std::pair<int32_t, int32_t>> cases = {{PT_STATION_TYPE, 7},
                                                            {18, 0},
                                                            {5, ENUM_ITERATION_START},
                                                            {PT_ENC, ENUM_ITERATION_END},
                                                            {PT_EAP_TYPE, 7}};
    for (const auto& [type, value] : cases) {
        char name[ENUM_DISPLAY_NAME_SIZE] = "keep";
        int32_t flag = 42;
        EXPECT_EQ(LookupEngineEnumDisplayName(type, value, name, &flag), -1002) << type << "/" << value;
        EXPECT_STREQ(name, "keep");
        EXPECT_EQ(flag, 42);
    }
}

}  // namespace
