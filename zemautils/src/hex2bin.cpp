// Hexadecimal text to bytes: always exactly the requested number of bytes, zero-filled past the
// text; a lone last digit is dropped.

#include <zemautils/utils.h>

#include <cstdint>

namespace {

std::uint8_t DigitValue(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    return 0;
}

}  // namespace

extern "C" void Hex2Bin(const char* text, uint8_t* out, uint32_t byteCount) {
    if (!out) return;
    const char* next = text ? text : "";
    for (uint32_t i = 0; i < byteCount; ++i) {
        if (next[0] == '\0' || next[1] == '\0') {
            out[i] = 0;
            if (next[0] != '\0') ++next;
            continue;
        }
        out[i] = static_cast<std::uint8_t>(DigitValue(next[0]) * 16 + DigitValue(next[1]));
        next += 2;
    }
}
