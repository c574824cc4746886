#include "quillmark/bluetooth/platform/emulated/SdpElementWriter.h"

#include "quillmark/sdp/SdpElement.h"

namespace qm::bt::emu {

namespace {

std::uint8_t SizeIndexOf(unsigned bytes) {
    switch (bytes) {
        case 1:
            return 0;
        case 2:
            return 1;
        case 4:
            return 2;
        case 8:
            return 3;
        default:
            return 4;
    }
}

void AppendBigEndian(std::string& out, std::uint64_t value, unsigned bytes) {
    for (unsigned i = bytes; i-- > 0;) out.push_back(static_cast<char>(value >> (8 * i)));
}

TElement Fixed(int type, unsigned bytes, std::uint64_t value) {
    TElement element(1, static_cast<char>(type << 3 | SizeIndexOf(bytes)));
    AppendBigEndian(element, value, bytes);
    return element;
}

// Variable-length elements take the smallest length field that holds their size.
TElement Variable(int type, std::string_view data) {
    TElement element;
    if (data.size() < 0x100) {
        element.push_back(static_cast<char>(type << 3 | 5));
        AppendBigEndian(element, data.size(), 1);
    } else if (data.size() < 0x10000) {
        element.push_back(static_cast<char>(type << 3 | 6));
        AppendBigEndian(element, data.size(), 2);
    } else {
        element.push_back(static_cast<char>(type << 3 | 7));
        AppendBigEndian(element, data.size(), 4);
    }
    element += data;
    return element;
}

std::string Joined(const std::vector<TElement>& elements) {
    std::string data;
    for (const auto& element : elements) data += element;
    return data;
}

}  // namespace

TElement SdpNil() {
    return TElement(1, '\0');
}
TElement SdpUint(unsigned bytes, std::uint64_t value) {
    return Fixed(kSdpTypeUInt, bytes, value);
}
TElement SdpInt(unsigned bytes, std::int64_t value) {
    return Fixed(kSdpTypeInt, bytes, static_cast<std::uint64_t>(value));
}
TElement SdpUuid16(std::uint16_t value) {
    return Fixed(kSdpTypeUuid, 2, value);
}
TElement SdpUuid32(std::uint32_t value) {
    return Fixed(kSdpTypeUuid, 4, value);
}
TElement SdpUuid128(const std::uint8_t (&bytes)[16]) {
    TElement element(1, static_cast<char>(kSdpTypeUuid << 3 | 4));
    element.append(reinterpret_cast<const char*>(bytes), 16);
    return element;
}
TElement SdpText(std::string_view bytes) {
    return Variable(kSdpTypeString, bytes);
}
TElement SdpBool(bool value) {
    return Fixed(kSdpTypeBoolean, 1, value ? 1 : 0);
}
TElement SdpUrl(std::string_view bytes) {
    return Variable(kSdpTypeUrl, bytes);
}
TElement SdpSequence(const std::vector<TElement>& elements) {
    return Variable(kSdpTypeSequence, Joined(elements));
}
TElement SdpAlternative(const std::vector<TElement>& elements) {
    return Variable(kSdpTypeAlternative, Joined(elements));
}

}  // namespace qm::bt::emu
