#include "quillmark/sdp/SdpTextString.h"

#include <cstdint>

namespace qm {

namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

char32_t CodeUnit(std::string_view bytes, std::size_t index) {
    return static_cast<char32_t>(static_cast<std::uint8_t>(bytes[2 * index]) |
                                 static_cast<std::uint8_t>(bytes[2 * index + 1]) << 8);
}

void AppendUtf8(std::string& text, char32_t codePoint) {
    if (codePoint < 0x80) {
        text += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text += static_cast<char>(0xC0 | codePoint >> 6);
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text += static_cast<char>(0xE0 | codePoint >> 12);
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | codePoint >> 18);
        text += static_cast<char>(0x80 | (codePoint >> 12 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint >> 6 & 0x3F));
        text += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void AppendUtf16LittleEndian(std::string& text, std::string_view bytes) {
    const std::size_t units = bytes.size() / 2;
    for (std::size_t index = 0; index < units; ++index) {
        const char32_t unit = CodeUnit(bytes, index);
        if (IsHighSurrogate(unit) && index + 1 < units && IsLowSurrogate(CodeUnit(bytes, index + 1))) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (CodeUnit(bytes, ++index) - 0xDC00));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(text, kReplacementCharacter);
        } else {
            AppendUtf8(text, unit);
        }
    }
}

}  // namespace

void AppendSdpTextString(std::string& text, std::string_view bytes) {
    if (bytes.size() > 1 && bytes[1] == '\0') {
        AppendUtf16LittleEndian(text, bytes);
    } else {
        text += bytes;
    }
}

}  // namespace qm
