#include "quillmark/bluetooth/platform/emulated/EmulatedSdpServer.h"

#include <algorithm>
#include <optional>
#include <span>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "quillmark/bluetooth/platform/SdpPdu.h"
#include "quillmark/bluetooth/platform/emulated/SdpElementWriter.h"

namespace qm::bt::emu {

namespace {

using Packet = std::vector<std::uint8_t>;

constexpr std::uint16_t kInvalidSyntax = 0x0003;
constexpr std::uint16_t kInvalidContinuation = 0x0005;

struct TRequest {
    std::uint16_t transaction = 0;
    std::uint16_t maxBytes = 0;
    Packet continuation;
};

// Skips one data element sequence at the start of rest; false when there is none.
bool SkipSequence(std::span<const std::uint8_t>& rest) {
    TSdpHeader header;
    if (!ReadSequenceHeader(rest, header)) return false;
    rest = rest.subspan(header.ElementSize());
    return true;
}

std::optional<TRequest> ParseRequest(std::span<const std::uint8_t> pdu) {
    if (pdu.size() < sdp::kHeaderSize || pdu[0] != sdp::kSearchAttributeRequest) return std::nullopt;
    if (LoadBe16(&pdu[3]) != pdu.size() - sdp::kHeaderSize) return std::nullopt;
    TRequest request;
    request.transaction = LoadBe16(&pdu[1]);
    auto rest = pdu.subspan(sdp::kHeaderSize);
    if (!SkipSequence(rest) || rest.size() < 2) return std::nullopt;
    request.maxBytes = LoadBe16(rest.data());
    rest = rest.subspan(2);
    if (!SkipSequence(rest) || rest.empty() || rest.size() != 1u + rest[0]) return std::nullopt;
    request.continuation.assign(rest.begin() + 1, rest.end());
    return request;
}

Packet Pdu(std::uint8_t id, std::uint16_t transaction, const Packet& parameters) {
    Packet pdu{id};
    AppendBe16(pdu, transaction);
    AppendBe16(pdu, static_cast<std::uint16_t>(parameters.size()));
    AppendBytes(pdu, parameters);
    return pdu;
}

Packet ErrorResponse(std::uint16_t transaction, std::uint16_t code) {
    Packet parameters;
    AppendBe16(parameters, code);
    return Pdu(sdp::kErrorResponse, transaction, parameters);
}

std::string AttributeLists(const TEmulatedDevice& device) {
    if (device.misbehaviour.noRecords) return SdpSequence({});
    return SdpSequence(device.records);
}

// The part of the lists from the continuation's offset; the next offset travels as a 4-byte state.
Packet Response(const TRequest& request, const std::string& lists, std::size_t mtu, bool malformed) {
    std::size_t offset = 0;
    if (request.continuation.size() == 4) offset = LoadBe32(request.continuation.data());
    if ((!request.continuation.empty() && request.continuation.size() != 4) || offset > lists.size())
        return ErrorResponse(request.transaction, kInvalidContinuation);
    const std::size_t chunk =
        std::max<std::size_t>(1, std::min<std::size_t>({mtu, request.maxBytes, lists.size() - offset}));
    const std::size_t used = std::min(chunk, lists.size() - offset);
    Packet parameters;
    AppendBe16(parameters, static_cast<std::uint16_t>(malformed ? used + 7 : used));
    AppendBytes(parameters, lists.data() + offset, used);
    if (offset + used < lists.size()) {
        parameters.push_back(4);
        AppendBe32(parameters, static_cast<std::uint32_t>(offset + used));
    } else {
        parameters.push_back(0);
    }
    return Pdu(sdp::kSearchAttributeResponse, request.transaction, parameters);
}

}  // namespace

void ServeSdp(int fd, const TEmulatedDevice& device, std::size_t mtu) {
    const std::string lists = AttributeLists(device);
    const TMisbehaviour& m = device.misbehaviour;
    Packet packet;
    for (;;) {
        const TIoStatus received = ReceivePacket(fd, DeadlineIn(3600 * 1000), packet);
        if (received.code == TIoCode::TimedOut) continue;
        if (!received.Ok()) return;
        if (m.sdpSilent) continue;
        const auto request = ParseRequest(packet);
        const std::uint16_t transaction = packet.size() >= 3 ? LoadBe16(&packet[1]) : 0;
        if (!request)
            SendPacket(fd, ErrorResponse(transaction, kInvalidSyntax));
        else if (m.sdpError != 0)
            SendPacket(fd, ErrorResponse(transaction, m.sdpError));
        else
            SendPacket(fd, Response(*request, lists, mtu, m.malformedResponse));
    }
}

}  // namespace qm::bt::emu
