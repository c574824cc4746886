#include "quillmark/sdp/SdpElementReader.h"

#include <algorithm>
#include <array>

namespace qm {

namespace {

constexpr std::uint8_t kDescriptorNil = 0;
constexpr std::uint8_t kFirstLengthFieldSize = 5;  // size indexes 5, 6, 7: length of 1, 2, 4 bytes

constexpr std::array<int, 5> kUIntSpecificTypes = {kSdpStUInt8, kSdpStUInt16, kSdpStUInt32, kSdpStUInt64,
                                                   kSdpStUInt128};
constexpr std::array<int, 5> kIntSpecificTypes = {kSdpStInt8, kSdpStInt16, kSdpStInt32, kSdpStInt64,
                                                  kSdpStInt128};

// Big-endian unsigned value of up to 8 bytes.
std::uint64_t ReadBigEndian(std::string_view bytes) {
    std::uint64_t value = 0;
    for (const char byte : bytes) value = value << 8 | static_cast<std::uint8_t>(byte);
    return value;
}

// Sign-extends a big-endian two's complement value of 1 to 8 bytes.
std::int64_t ReadSignedBigEndian(std::string_view bytes) {
    const unsigned unusedBits = 64 - 8 * static_cast<unsigned>(bytes.size());
    return static_cast<std::int64_t>(ReadBigEndian(bytes) << unusedBits) >> unusedBits;
}

int DecodeInteger(std::string_view data, std::uint8_t sizeIndex, bool isSigned, TSdpElement& element) {
    if (sizeIndex >= kUIntSpecificTypes.size()) return kSdpMalformed;
    element.type = isSigned ? kSdpTypeInt : kSdpTypeUInt;
    element.specificType = isSigned ? kIntSpecificTypes[sizeIndex] : kUIntSpecificTypes[sizeIndex];
    if (data.size() > sizeof(std::uint64_t)) {
        element.bytes = data;
    } else if (isSigned) {
        element.signedValue = ReadSignedBigEndian(data);
    } else {
        element.unsignedValue = ReadBigEndian(data);
    }
    return 0;
}

int DecodeUuid(std::string_view data, std::uint8_t sizeIndex, TSdpElement& element) {
    element.type = kSdpTypeUuid;
    switch (sizeIndex) {
        case 1:
            element.specificType = kSdpStUuid16;
            element.unsignedValue = ReadBigEndian(data);
            return 0;
        case 2:
            element.specificType = kSdpStUuid32;
            element.unsignedValue = ReadBigEndian(data);
            return 0;
        case 4:
            element.specificType = kSdpStUuid128;
            std::transform(data.begin(), data.end(), element.uuid.begin(),
                           [](char byte) { return static_cast<std::uint8_t>(byte); });
            return 0;
        default:
            return kSdpMalformed;
    }
}

// Text strings, URLs, sequences and alternatives carry an explicit length.
int DecodeRun(std::string_view data, std::uint8_t sizeIndex, int type, TSdpElement& element) {
    if (sizeIndex < kFirstLengthFieldSize) return kSdpMalformed;
    element.type = type;
    element.bytes = data;
    return 0;
}

// The reserved types 9 to 31 carry no meaning yet, but their size index tells their size like any
// other's, so they are kept with their type number and data and can be stepped over.
int DecodeReserved(const TSdpHeader& header, std::string_view data, TSdpElement& element) {
    element.type = header.typeDescriptor;
    element.bytes = data;
    return 0;
}

int DecodeElement(const TSdpHeader& header, std::string_view data, TSdpElement& element) {
    element = TSdpElement{};
    switch (header.typeDescriptor) {
        case kSdpTypeNil:
            return header.sizeIndex == 0 ? 0 : kSdpMalformed;
        case kSdpTypeUInt:
        case kSdpTypeInt:
            return DecodeInteger(data, header.sizeIndex, header.typeDescriptor == kSdpTypeInt, element);
        case kSdpTypeUuid:
            return DecodeUuid(data, header.sizeIndex, element);
        case kSdpTypeBoolean:
            if (header.sizeIndex != 0) return kSdpMalformed;
            element.type = kSdpTypeBoolean;
            element.boolean = data[0] != 0;
            return 0;
        case kSdpTypeString:
        case kSdpTypeSequence:
        case kSdpTypeAlternative:
        case kSdpTypeUrl:
            return DecodeRun(data, header.sizeIndex, header.typeDescriptor, element);
        default:
            return DecodeReserved(header, data, element);
    }
}

}  // namespace

bool ReadSdpHeader(std::string_view bytes, TSdpHeader& header) {
    if (bytes.empty()) return false;
    const auto first = static_cast<std::uint8_t>(bytes[0]);
    header.typeDescriptor = first >> 3;
    header.sizeIndex = first & 0x07;
    if (header.sizeIndex < kFirstLengthFieldSize) {
        header.headerSize = 1;
        const bool empty = header.typeDescriptor == kDescriptorNil && header.sizeIndex == 0;
        header.dataSize = empty ? 0 : std::size_t{1} << header.sizeIndex;
    } else {
        const std::size_t lengthSize = std::size_t{1} << (header.sizeIndex - kFirstLengthFieldSize);
        if (bytes.size() - 1 < lengthSize) return false;
        header.headerSize = 1 + lengthSize;
        header.dataSize = static_cast<std::size_t>(ReadBigEndian(bytes.substr(1, lengthSize)));
    }
    return header.dataSize <= bytes.size() - header.headerSize;
}

int SdpGetElementData(std::string_view value, TSdpElement& element) {
    TSdpHeader header;
    if (!ReadSdpHeader(value, header) || header.ElementSize() != value.size()) return kSdpMalformed;
    return DecodeElement(header, value.substr(header.headerSize), element);
}

int TSdpContainerReader::Next(TSdpElement& element) {
    if (rest_.empty()) return kSdpNoMoreItems;
    TSdpHeader header;
    if (!ReadSdpHeader(rest_, header)) return kSdpMalformed;
    const int result = DecodeElement(header, rest_.substr(header.headerSize, header.dataSize), element);
    if (result == 0) rest_.remove_prefix(header.ElementSize());
    return result;
}

}  // namespace qm
