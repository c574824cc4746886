#include "quillmark/bluetooth/platform/BluetoothAddress.h"

#include <cstdio>

namespace qm::bt {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

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
    if (text.size() != 19 || text.front() != '(' || text.back() != ')') return std::nullopt;
    TBdAddr address;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t at = 1 + i * 3;
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        if (i < 5 && text[at + 2] != ':') return std::nullopt;
        address.bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return address;
}

}  // namespace qm::bt
