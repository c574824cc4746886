#include "quillmark/core/AddressText.h"

namespace qm {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

std::optional<std::array<std::uint8_t, 6>> AddressTextBytes(std::string_view text) {
    if (text.size() != 19 || text.front() != '(' || text.back() != ')') return std::nullopt;
    std::array<std::uint8_t, 6> bytes{};
    for (std::size_t i = 0; i < 6; ++i) {
        const std::size_t at = 1 + i * 3;
        const int high = HexValue(text[at]);
        const int low = HexValue(text[at + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        if (i < 5 && text[at + 2] != ':') return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

}  // namespace qm
