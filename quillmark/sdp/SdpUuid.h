#pragma once
// A 128-bit UUID as SDP carries it: 16 bytes in network byte order. 16-bit and 32-bit UUIDs stand
// for the Bluetooth base UUID 00000000-0000-1000-8000-00805F9B34FB with its first field replaced.

#include <array>
#include <cstdint>

namespace qm {

using TSdpUuid = std::array<std::uint8_t, 16>;

inline constexpr TSdpUuid kSdpBaseUuid = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                          0x80, 0x00, 0x00, 0x80, 0x5F, 0x9B, 0x34, 0xFB};

// The base UUID whose first field (its first 32 bits) holds the short value.
constexpr TSdpUuid SdpUuidFromShort(std::uint32_t shortValue) {
    TSdpUuid uuid = kSdpBaseUuid;
    uuid[0] = static_cast<std::uint8_t>(shortValue >> 24);
    uuid[1] = static_cast<std::uint8_t>(shortValue >> 16);
    uuid[2] = static_cast<std::uint8_t>(shortValue >> 8);
    uuid[3] = static_cast<std::uint8_t>(shortValue);
    return uuid;
}

// The first field of the UUID.
constexpr std::uint32_t SdpUuidFirstField(const TSdpUuid& uuid) {
    return static_cast<std::uint32_t>(uuid[0]) << 24 | static_cast<std::uint32_t>(uuid[1]) << 16 |
           static_cast<std::uint32_t>(uuid[2]) << 8 | uuid[3];
}

}  // namespace qm
