#include "quillmark/core/BluetoothUuid.h"

#include <algorithm>
#include <cstdio>

namespace qm {

namespace {

// The base UUID's 96 low bits; a short UUID fills the 32 bits above them.
constexpr std::array<std::uint8_t, 12> kBaseTail = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                                    0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};

TBluetoothUuid OnBase(std::uint32_t value, std::uint8_t width) {
    TBluetoothUuid uuid;
    uuid.width = width;
    for (int i = 0; i < 4; ++i) uuid.bytes[i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    std::copy(kBaseTail.begin(), kBaseTail.end(), uuid.bytes.begin() + 4);
    return uuid;
}

}  // namespace

TBluetoothUuid TBluetoothUuid::From16(std::uint16_t value) {
    return OnBase(value, 2);
}

TBluetoothUuid TBluetoothUuid::From32(std::uint32_t value) {
    return OnBase(value, 4);
}

std::optional<TBluetoothUuid> TBluetoothUuid::FromLittleEndian(std::span<const std::uint8_t> bytes) {
    if (bytes.size() == 2) return From16(static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8));
    if (bytes.size() == 4)
        return From32(static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
                      static_cast<std::uint32_t>(bytes[2]) << 16 |
                      static_cast<std::uint32_t>(bytes[3]) << 24);
    if (bytes.size() != 16) return std::nullopt;
    TBluetoothUuid uuid;
    std::reverse_copy(bytes.begin(), bytes.end(), uuid.bytes.begin());
    return uuid;
}

std::optional<std::uint16_t> TBluetoothUuid::Short16() const {
    if (bytes[0] != 0 || bytes[1] != 0 || !std::equal(kBaseTail.begin(), kBaseTail.end(), bytes.begin() + 4))
        return std::nullopt;
    return static_cast<std::uint16_t>(bytes[2] << 8 | bytes[3]);
}

std::string UuidText(const TBluetoothUuid& uuid) {
    char text[40];
    const auto& b = uuid.bytes;
    if (uuid.width == 2) {
        std::snprintf(text, sizeof text, "0x%02X%02X", b[2], b[3]);
    } else if (uuid.width == 4) {
        std::snprintf(text, sizeof text, "0x%02X%02X%02X%02X", b[0], b[1], b[2], b[3]);
    } else {
        std::snprintf(
            text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b[0],
            b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    }
    return text;
}

}  // namespace qm
