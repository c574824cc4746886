#include "quillmark/bluetooth/platform/BluetoothAddress.h"

#include <cstdio>

#include "quillmark/core/AddressText.h"

namespace qm::bt {

TBdAddr TBdAddr::FromWire(const std::uint8_t* littleEndian) {
    TBdAddr address;
    for (std::size_t i = 0; i < 6; ++i) address.bytes[i] = littleEndian[5 - i];
    return address;
}

void TBdAddr::ToWire(std::uint8_t* littleEndian) const {
    for (std::size_t i = 0; i < 6; ++i) littleEndian[i] = bytes[5 - i];
}

std::string BTAddressToString(const TBdAddr& address) {
    char text[20];
    const auto& b = address.bytes;
    std::snprintf(text, sizeof text, "(%02X:%02X:%02X:%02X:%02X:%02X)", b[0], b[1], b[2], b[3], b[4], b[5]);
    return text;
}

std::optional<TBdAddr> BTAddressFromString(std::string_view text) {
    const auto bytes = AddressTextBytes(text);
    if (!bytes) return std::nullopt;
    return TBdAddr{*bytes};
}

}  // namespace qm::bt
