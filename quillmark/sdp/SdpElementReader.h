#pragma once
// Bounds-checked decoding of SDP data elements (Bluetooth Core specification, service discovery
// data element representation): a header byte holding a 5-bit type descriptor and a 3-bit size
// index, for size indexes 5 to 7 a big-endian length of 1, 2 or 4 bytes, then the data. The bytes
// come from a remote device: every read is checked against the bytes given, and nothing is
// allocated.

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quillmark/sdp/SdpElement.h"

namespace qm {

// Result of a container step after its last element.
inline constexpr int kSdpNoMoreItems = 259;
// Error number of bytes that do not form a valid element.
inline constexpr int kSdpMalformed = EBADMSG;

struct TSdpHeader {
    std::uint8_t typeDescriptor = 0;
    std::uint8_t sizeIndex = 0;
    std::size_t headerSize = 0;  // the header byte and the length field
    std::size_t dataSize = 0;
    std::size_t ElementSize() const { return headerSize + dataSize; }
};

// Reads the header of the element at the front of bytes. False when the header, or the data it
// announces, runs past the end of bytes.
bool ReadSdpHeader(std::string_view bytes, TSdpHeader& header);

// Decodes the single element that value holds exactly: 0, or kSdpMalformed.
int SdpGetElementData(std::string_view value, TSdpElement& element);

// Steps through the elements of a sequence's or alternative's contents (TSdpElement::bytes).
class TSdpContainerReader {
public:
    explicit TSdpContainerReader(std::string_view contents) : rest_(contents) {}
    // 0 and the next element; kSdpNoMoreItems after the last one; kSdpMalformed.
    int Next(TSdpElement& element);

private:
    std::string_view rest_;
};

}  // namespace qm
