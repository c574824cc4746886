#pragma once
// A remote device's 48-bit Bluetooth address and its text form "(00:11:22:AA:BB:CC)": upper-case
// hexadecimal, most significant byte first, in parentheses. The text is the device's key in the
// device list and names the device again for its SDP query.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm::bt {

// Most significant byte first, as written in the text form. HCI carries addresses the other way
// round (least significant byte first); see FromWire and ToWire.
struct TBdAddr {
    std::array<std::uint8_t, 6> bytes{};

    static TBdAddr FromWire(const std::uint8_t* littleEndian);
    void ToWire(std::uint8_t* littleEndian) const;
    friend bool operator==(const TBdAddr&, const TBdAddr&) = default;
    friend auto operator<=>(const TBdAddr&, const TBdAddr&) = default;
};

std::string BTAddressToString(const TBdAddr& address);

// The address of a text in the form above (hex digits of either case); none for any other text.
std::optional<TBdAddr> BTAddressFromString(std::string_view text);

}  // namespace qm::bt
