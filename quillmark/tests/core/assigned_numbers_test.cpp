// Names of assigned numbers from the generated tables.

#include "quillmark/core/AssignedNumbers.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string_view>

namespace {

using Name = std::optional<std::string_view>;

TEST(AssignedNumbers, CompanyNames) {
    const std::pair<std::uint16_t, Name> cases[] = {
        {0x0000, "Ericsson AB"}, {0x0006, "Microsoft"},
        {0x004C, "Apple, Inc."}, {0x0075, "Samsung Electronics Co. Ltd."},
        {0x00E0, "Google"},      {0x0225, "Nestl\xC3\xA9 Nespresso S.A."},  // non-ASCII names arrive as UTF-8
        {0xFFFE, std::nullopt},
    };
    for (const auto& [id, name] : cases) EXPECT_EQ(qm::CompanyName(id), name) << id;
}

// A known subcategory with its category; the category alone for the generic value or an unnamed
// subcategory; nothing for an unknown category.
TEST(AssignedNumbers, AppearanceNames) {
    const std::pair<std::uint16_t, Name> cases[] = {
        {0x0000, "Unknown"},
        {0x0040, "Phone"},
        {0x00C0, "Watch"},
        {0x00C1, "Watch: Sports Watch"},
        {0x00C2, "Watch: Smartwatch"},
        {0x00FF, "Watch"},
        {0x03C1, "Human Interface Device: Keyboard"},
        {0x0200, "Tag"},
        {0x2C40, std::nullopt},  // category 177
        {0xFFFF, std::nullopt},
    };
    for (const auto& [value, name] : cases) EXPECT_EQ(qm::AppearanceName(value), name) << value;
}

// The data's names, and the tracker networks' member UUIDs added to them.
TEST(AssignedNumbers, ServiceNames) {
    const std::pair<std::uint16_t, Name> cases[] = {
        {0x1800, "Generic Access"},
        {0x180F, "Battery Service"},
        {0xFE2C, "Fast Pair Service"},
        {0xFEAA, "Eddystone"},
        {0xFEED, "Tile, Inc."},
        {0xFEEC, "Tile, Inc."},
        {0xFD5A, "Samsung Electronics Co., Ltd."},
        {0xFE33, "CHIPOLO d.o.o."},
        {0x0000, std::nullopt},
        {0x1234, std::nullopt},
    };
    for (const auto& [uuid, name] : cases) EXPECT_EQ(qm::ServiceName(uuid), name) << uuid;
}

}  // namespace
