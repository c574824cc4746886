#pragma once
// The text form of a device's address, "(00:11:22:AA:BB:CC)": the device's key in the device list.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qm {

// The six bytes of an address text, most significant first (hex digits of either case); none for
// any other text.
std::optional<std::array<std::uint8_t, 6>> AddressTextBytes(std::string_view text);

}  // namespace qm
