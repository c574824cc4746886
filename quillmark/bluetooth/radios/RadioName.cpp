#include "quillmark/bluetooth/radios/RadioName.h"

#include "quillmark/core/Utf8.h"

namespace qm::bt {

namespace {

bool IsHighSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

std::string RadioNameText(const BLUETOOTH_RADIO_INFO& info) {
    std::string text;
    for (std::size_t i = 0; i < BLUETOOTH_MAX_NAME_SIZE && info.szName[i] != 0; ++i) {
        const char32_t unit = info.szName[i];
        const bool paired = i + 1 < BLUETOOTH_MAX_NAME_SIZE && IsLowSurrogate(info.szName[i + 1]);
        if (IsHighSurrogate(unit) && paired) {
            AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (info.szName[++i] - 0xDC00));
        } else {
            const bool surrogate = IsHighSurrogate(unit) || IsLowSurrogate(unit);
            AppendUtf8(text, surrogate ? kReplacementCharacter : unit);
        }
    }
    return text;
}

void SetRadioName(BLUETOOTH_RADIO_INFO& info, std::string_view name) {
    std::u32string codes;
    DecodeUtf8(name, codes);
    std::size_t length = 0;
    for (const char32_t code : codes) {
        const std::size_t units = code >= 0x10000 ? 2 : 1;
        if (length + units >= BLUETOOTH_MAX_NAME_SIZE) break;
        if (units == 1) {
            info.szName[length++] = static_cast<std::uint16_t>(code);
        } else {
            info.szName[length++] = static_cast<std::uint16_t>(0xD800 + ((code - 0x10000) >> 10));
            info.szName[length++] = static_cast<std::uint16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    info.szName[length] = 0;
}

}  // namespace qm::bt
