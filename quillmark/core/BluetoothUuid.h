#pragma once
// A Bluetooth UUID as advertising data and SDP carry it: 16, 32 or 128 bits wide. The short forms
// stand for a 128-bit UUID on the Bluetooth base UUID 00000000-0000-1000-8000-00805F9B34FB; the
// width they arrived in is kept so that they are shown the way the device sent them.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace qm {

struct TBluetoothUuid {
    std::array<std::uint8_t, 16> bytes{};  // the 128-bit value, most significant byte first
    std::uint8_t width = 16;               // bytes it arrived in: 2, 4 or 16

    static TBluetoothUuid From16(std::uint16_t value);
    static TBluetoothUuid From32(std::uint32_t value);
    // 2, 4 or 16 bytes least significant first, as advertising data carries them; none for any
    // other size.
    static std::optional<TBluetoothUuid> FromLittleEndian(std::span<const std::uint8_t> bytes);

    // The 16-bit value when the UUID is one on the base UUID that fits 16 bits, whatever its width.
    std::optional<std::uint16_t> Short16() const;

    // Equal UUIDs are the same 128-bit value: 0x180F sent in 16 or in 128 bits.
    friend bool operator==(const TBluetoothUuid& a, const TBluetoothUuid& b) { return a.bytes == b.bytes; }
};

// "0x180F" for a 16-bit UUID, "0x12345678" for a 32-bit one (upper-case hex), and the lower-case
// "0000180f-0000-1000-8000-00805f9b34fb" form for a 128-bit one.
std::string UuidText(const TBluetoothUuid& uuid);

}  // namespace qm
