#include "quillmark/sdp/SdpAttributeEnumerator.h"

#include <cerrno>

#include "quillmark/sdp/SdpElementReader.h"

namespace qm {

namespace {

constexpr std::uint8_t kAttributeIdHeader = 0x09;  // unsigned integer, 2 bytes
constexpr std::size_t kAttributeIdSize = 3;

// Takes the next (id, value) pair from the front of rest.
bool NextAttribute(std::string_view& rest, std::uint16_t& attributeId, std::string_view& value) {
    if (rest.size() < kAttributeIdSize || static_cast<std::uint8_t>(rest[0]) != kAttributeIdHeader)
        return false;
    attributeId = static_cast<std::uint16_t>(static_cast<std::uint8_t>(rest[1]) << 8 |
                                             static_cast<std::uint8_t>(rest[2]));
    rest.remove_prefix(kAttributeIdSize);
    TSdpHeader header;
    if (!ReadSdpHeader(rest, header)) return false;
    value = rest.substr(0, header.ElementSize());
    rest.remove_prefix(header.ElementSize());
    return true;
}

bool AttributesWellFormed(std::string_view contents) {
    std::uint16_t attributeId = 0;
    std::string_view value;
    while (!contents.empty())
        if (!NextAttribute(contents, attributeId, value)) return false;
    return true;
}

// The contents of the record's outer sequence, which must span the whole record and hold nothing
// but well-formed (id, value) pairs.
bool RecordContents(std::string_view record, std::string_view& contents) {
    TSdpHeader header;
    if (!ReadSdpHeader(record, header) || header.ElementSize() != record.size()) return false;
    if (header.typeDescriptor != kSdpTypeSequence || header.sizeIndex < 5) return false;
    contents = record.substr(header.headerSize);
    return AttributesWellFormed(contents);
}

}  // namespace

bool SdpEnumAttributes(std::string_view record, TSdpAttributeCallback callback, void* context) {
    std::string_view contents;
    if (!RecordContents(record, contents)) return false;
    std::uint16_t attributeId = 0;
    std::string_view value;
    while (!contents.empty()) {
        NextAttribute(contents, attributeId, value);
        if (!callback(attributeId, value, context)) break;
    }
    return true;
}

int SdpGetAttributeValue(std::string_view record, std::uint16_t attributeId, TSdpElement& element) {
    std::string_view contents;
    if (!RecordContents(record, contents)) return kSdpMalformed;
    std::uint16_t id = 0;
    std::string_view value;
    while (!contents.empty()) {
        NextAttribute(contents, id, value);
        if (id == attributeId) return SdpGetElementData(value, element);
    }
    return ENOENT;
}

}  // namespace qm
