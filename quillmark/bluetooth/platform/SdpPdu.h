#pragma once
// SDP protocol data units (Bluetooth Core specification Vol 3 Part B): the
// ServiceSearchAttributeRequest the client sends, the responses it reads, and the splitting of the
// reassembled attribute lists into service records. All integers are big-endian. Parsers take
// hostile bytes and check every length.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quillmark/sdp/SdpElementReader.h"

namespace qm::bt {

namespace sdp {
inline constexpr std::uint8_t kErrorResponse = 0x01;
inline constexpr std::uint8_t kSearchAttributeRequest = 0x06;
inline constexpr std::uint8_t kSearchAttributeResponse = 0x07;
inline constexpr std::size_t kHeaderSize = 5;
inline constexpr std::size_t kMaxContinuation = 16;
inline constexpr std::uint16_t kL2capUuid = 0x0100;
}  // namespace sdp

// A request for every attribute (0x0000-0xFFFF) of every record holding the 16-bit UUID.
std::vector<std::uint8_t> SdpSearchAttributeRequest(std::uint16_t transaction, std::uint16_t uuid16,
                                                    std::uint16_t maxAttributeBytes,
                                                    std::span<const std::uint8_t> continuation);

struct TSdpResponse {
    std::uint8_t pduId = 0;
    std::uint16_t transaction = 0;
    std::uint16_t errorCode = 0;               // error response
    std::vector<std::uint8_t> attributeBytes;  // search attribute response: this part of the lists
    std::vector<std::uint8_t> continuation;    // empty on the last part
};

// A well-formed error response or search attribute response; none for anything else.
std::optional<TSdpResponse> ParseSdpResponse(std::span<const std::uint8_t> packet);

// The header of the data element sequence at the start of bytes, when header and data fit in
// bytes; false for any other element.
bool ReadSequenceHeader(std::span<const std::uint8_t> bytes, TSdpHeader& header);

// The records of reassembled attribute lists: one outer sequence exactly filling bytes, holding
// one sequence per record. Each record keeps its own header. None when malformed.
std::optional<std::vector<std::string>> SplitAttributeLists(std::span<const std::uint8_t> bytes);

}  // namespace qm::bt
