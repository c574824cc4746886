// Trackers recognised from advertising data, and the near misses that must not be.

#include "quillmark/core/TrackerKind.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using qm::TTrackerKind;
using Bytes = std::vector<std::uint8_t>;

// Apple's Find My message: company 0x004C, type 0x12, length 0x19, the status byte, key bytes.
Bytes FindMy(std::uint8_t status) {
    Bytes data{30, 0xFF, 0x4C, 0x00, 0x12, 0x19, status};
    data.resize(data.size() + 24, 0x5A);
    return data;
}

Bytes Joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(TrackerKind, RecognisesEachNetwork) {
    struct TCase {
        const char* label;
        Bytes data;
        std::optional<TTrackerKind> kind;
    };
    const Bytes flags{2, 0x01, 0x06};
    const TCase cases[] = {
        {"AirTag", FindMy(0x10), TTrackerKind::AppleAirTag},
        {"AirTag, battery low", FindMy(0x90), TTrackerKind::AppleAirTag},
        {"AirTag, maintained bit", FindMy(0x14), TTrackerKind::AppleAirTag},
        {"Find My, Apple device", FindMy(0x00), TTrackerKind::AppleFindMy},
        {"Find My, licensed accessory", FindMy(0x20), TTrackerKind::AppleFindMy},
        {"Find My, ambiguous kind bits", FindMy(0x18), TTrackerKind::AppleFindMy},
        {"Find My, short form", {5, 0xFF, 0x4C, 0x00, 0x12, 0x02}, TTrackerKind::AppleFindMy},
        {"Find My, second manufacturer data", Joined({4, 0xFF, 0x4C, 0x00, 0x10}, FindMy(0x10)),
         TTrackerKind::AppleAirTag},
        {"Tile, UUID list", Joined(flags, {3, 0x03, 0xED, 0xFE}), TTrackerKind::Tile},
        {"Tile, other UUID", {3, 0x02, 0xEC, 0xFE}, TTrackerKind::Tile},
        {"Tile, service data", {5, 0x16, 0xED, 0xFE, 0x01, 0x02}, TTrackerKind::Tile},
        {"Tile, 128-bit form",
         {17, 0x07, 0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00, 0x80, 0x00, 0x10, 0x00, 0x00, 0xED, 0xFE, 0x00,
          0x00},
         TTrackerKind::Tile},
        {"SmartTag, UUID list", {5, 0x03, 0x0F, 0x18, 0x5A, 0xFD}, TTrackerKind::SamsungSmartTag},
        {"SmartTag, service data", {4, 0x16, 0x5A, 0xFD, 0x10}, TTrackerKind::SamsungSmartTag},
        {"Google Find My", {4, 0x16, 0xAA, 0xFE, 0x40}, TTrackerKind::GoogleFindMy},
        {"Google Find My, protected", {4, 0x16, 0xAA, 0xFE, 0x41}, TTrackerKind::GoogleFindMy},
        {"Chipolo, UUID list", {3, 0x03, 0x33, 0xFE}, TTrackerKind::Chipolo},
        {"Chipolo, service data", {3, 0x16, 0x33, 0xFE}, TTrackerKind::Chipolo},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(qm::TrackerKindOf(qm::ParseAdvertisingData(c.data)), c.kind) << c.label;
}

TEST(TrackerKind, NearMissesAreNoTracker) {
    const std::pair<const char*, Bytes> cases[] = {
        {"nothing", {}},
        {"Apple, other message", {5, 0xFF, 0x4C, 0x00, 0x10, 0x05}},
        {"Apple, empty payload", {3, 0xFF, 0x4C, 0x00}},
        {"Find My type from another company", {5, 0xFF, 0x4D, 0x00, 0x12, 0x19}},
        {"Find My type in the company's high byte", {5, 0xFF, 0x00, 0x4C, 0x12, 0x19}},
        {"Tile UUID byte-swapped", {3, 0x03, 0xFE, 0xED}},
        {"Tile UUID in 32 bits off the 16-bit range", {5, 0x05, 0xED, 0xFE, 0x01, 0x00}},
        {"Tile UUID solicited, not offered", {3, 0x14, 0xED, 0xFE}},
        {"Tile UUID as manufacturer id", {4, 0xFF, 0xED, 0xFE, 0x01}},
        {"Eddystone UID frame", {4, 0x16, 0xAA, 0xFE, 0x00}},
        {"Eddystone URL frame", {4, 0x16, 0xAA, 0xFE, 0x10}},
        {"Eddystone without a frame", {3, 0x16, 0xAA, 0xFE}},
        {"Eddystone UUID listed only", {3, 0x03, 0xAA, 0xFE}},
        {"Fast Pair", {6, 0x16, 0x2C, 0xFE, 0x01, 0x02, 0x03}},
        {"tracker UUID past an overrun", {2, 0x01, 0x06, 9, 0x03, 0xED, 0xFE}},
    };
    for (const auto& [label, data] : cases)
        EXPECT_EQ(qm::TrackerKindOf(qm::ParseAdvertisingData(data)), std::nullopt) << label;
}

TEST(TrackerKind, Names) {
    const std::pair<TTrackerKind, const char*> cases[] = {
        {TTrackerKind::AppleAirTag, "Apple AirTag"},
        {TTrackerKind::AppleFindMy, "Apple Find My accessory"},
        {TTrackerKind::Tile, "Tile"},
        {TTrackerKind::SamsungSmartTag, "Samsung SmartTag"},
        {TTrackerKind::GoogleFindMy, "Google Find My"},
        {TTrackerKind::Chipolo, "Chipolo"},
    };
    for (const auto& [kind, name] : cases) EXPECT_STREQ(qm::TrackerKindName(kind), name);
}

}  // namespace
