#include "quillmark/bluetooth/platform/SdpPdu.h"

#include "quillmark/bluetooth/platform/ByteOrder.h"

namespace qm::bt {

namespace {

using Bytes = std::span<const std::uint8_t>;

std::string_view AsChars(Bytes bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::optional<TSdpResponse> ParseAttributeResponse(TSdpResponse response, Bytes params) {
    if (params.size() < 3) return std::nullopt;
    const std::size_t count = LoadBe16(&params[0]);
    if (params.size() < 2 + count + 1) return std::nullopt;
    const std::size_t continuationLength = params[2 + count];
    if (continuationLength > sdp::kMaxContinuation || params.size() != 3 + count + continuationLength)
        return std::nullopt;
    response.attributeBytes.assign(params.begin() + 2,
                                   params.begin() + 2 + static_cast<std::ptrdiff_t>(count));
    response.continuation.assign(params.begin() + 3 + static_cast<std::ptrdiff_t>(count), params.end());
    return response;
}

}  // namespace

std::vector<std::uint8_t> SdpSearchAttributeRequest(std::uint16_t transaction, std::uint16_t uuid16,
                                                    std::uint16_t maxAttributeBytes, Bytes continuation) {
    constexpr std::size_t kFixedParameters =
        5 + 2 + 7 + 1;  // pattern, maximum, attribute range, state length
    std::vector<std::uint8_t> pdu;
    pdu.reserve(sdp::kHeaderSize + kFixedParameters + sdp::kMaxContinuation);
    pdu.push_back(sdp::kSearchAttributeRequest);
    AppendBe16(pdu, transaction);
    AppendBe16(pdu, static_cast<std::uint16_t>(kFixedParameters + continuation.size()));
    for (std::uint8_t b : {0x35, 0x03, 0x19}) pdu.push_back(b);
    AppendBe16(pdu, uuid16);
    AppendBe16(pdu, maxAttributeBytes);
    for (std::uint8_t b : {0x35, 0x05, 0x0A, 0x00, 0x00, 0xFF, 0xFF}) pdu.push_back(b);
    pdu.push_back(static_cast<std::uint8_t>(continuation.size()));
    for (std::uint8_t b : continuation) pdu.push_back(b);
    return pdu;
}

std::optional<TSdpResponse> ParseSdpResponse(Bytes packet) {
    if (packet.size() < sdp::kHeaderSize) return std::nullopt;
    TSdpResponse response;
    response.pduId = packet[0];
    response.transaction = LoadBe16(&packet[1]);
    const std::size_t length = LoadBe16(&packet[3]);
    if (packet.size() != sdp::kHeaderSize + length) return std::nullopt;
    const Bytes params = packet.subspan(sdp::kHeaderSize);
    if (response.pduId == sdp::kErrorResponse) {
        if (params.size() < 2) return std::nullopt;
        response.errorCode = LoadBe16(&params[0]);
        return response;
    }
    if (response.pduId == sdp::kSearchAttributeResponse)
        return ParseAttributeResponse(std::move(response), params);
    return std::nullopt;
}

bool ReadSequenceHeader(Bytes bytes, TSdpHeader& header) {
    return ReadSdpHeader(AsChars(bytes), header) && header.typeDescriptor == kSdpTypeSequence;
}

std::optional<std::vector<std::string>> SplitAttributeLists(Bytes bytes) {
    TSdpHeader outer;
    if (!ReadSequenceHeader(bytes, outer) || outer.ElementSize() != bytes.size()) return std::nullopt;
    std::vector<std::string> records;
    Bytes rest = bytes.subspan(outer.headerSize);
    while (!rest.empty()) {
        TSdpHeader inner;
        if (!ReadSequenceHeader(rest, inner)) return std::nullopt;
        const Bytes record = rest.first(inner.ElementSize());
        records.emplace_back(record.begin(), record.end());
        rest = rest.subspan(inner.ElementSize());
    }
    return records;
}

}  // namespace qm::bt
