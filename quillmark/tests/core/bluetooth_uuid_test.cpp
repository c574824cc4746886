// Bluetooth UUIDs: the short forms on the base UUID, the wire's byte order, and their texts.

#include "quillmark/core/BluetoothUuid.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using qm::TBluetoothUuid;
using qm::UuidText;

TEST(BluetoothUuid, TextsByWidth) {
    struct TCase {
        std::vector<std::uint8_t> wire;  // least significant byte first
        const char* text;
    };
    const TCase cases[] = {
        {{0x0F, 0x18}, "0x180F"},
        {{0x00, 0x00}, "0x0000"},
        {{0x78, 0x56, 0x34, 0x12}, "0x12345678"},
        {{0x0F, 0x18, 0x00, 0x00}, "0x0000180F"},
        {{0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00, 0x80, 0x00, 0x10, 0x00, 0x00, 0x0F, 0x18, 0x00, 0x00},
         "0000180f-0000-1000-8000-00805f9b34fb"},
        {{0x6C, 0xD6, 0xF8, 0x28, 0x97, 0x8D, 0xAA, 0x86, 0x51, 0x49, 0x1C, 0x7D, 0x00, 0x90, 0xFC, 0x7D},
         "7dfc9000-7d1c-4951-86aa-8d9728f8d66c"},
    };
    for (const TCase& c : cases) {
        const auto uuid = TBluetoothUuid::FromLittleEndian(c.wire);
        ASSERT_TRUE(uuid) << c.text;
        EXPECT_EQ(UuidText(*uuid), c.text);
    }
}

TEST(BluetoothUuid, RefusesOtherSizes) {
    for (const std::size_t size : {0u, 1u, 3u, 8u, 15u, 17u})
        EXPECT_FALSE(TBluetoothUuid::FromLittleEndian(std::vector<std::uint8_t>(size))) << size;
}

// One value whatever width it came in; the 16-bit value only for UUIDs on the base UUID.
TEST(BluetoothUuid, ShortFormsAreTheirBaseUuid) {
    const std::vector<std::uint8_t> long180F{0xFB, 0x34, 0x9B, 0x5F, 0x80, 0x00, 0x00, 0x80,
                                             0x00, 0x10, 0x00, 0x00, 0x0F, 0x18, 0x00, 0x00};
    const auto full = *TBluetoothUuid::FromLittleEndian(long180F);
    EXPECT_EQ(full, TBluetoothUuid::From16(0x180F));
    EXPECT_EQ(TBluetoothUuid::From32(0x180F), TBluetoothUuid::From16(0x180F));
    EXPECT_EQ(full.Short16(), std::optional<std::uint16_t>(0x180F));
    EXPECT_EQ(TBluetoothUuid::From32(0x0001180F).Short16(), std::nullopt);
    auto offBase = long180F;
    offBase[0] ^= 1;
    EXPECT_EQ(TBluetoothUuid::FromLittleEndian(offBase)->Short16(), std::nullopt);
    EXPECT_FALSE(*TBluetoothUuid::FromLittleEndian(offBase) == full);
}

}  // namespace
