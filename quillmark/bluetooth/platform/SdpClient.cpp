#include "quillmark/bluetooth/platform/SdpClient.h"

#include <algorithm>
#include <cerrno>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/PacketIo.h"
#include "quillmark/bluetooth/platform/SdpPdu.h"

namespace qm::bt {

int TSdpClient::Query(std::uint16_t uuid16, std::vector<std::string>& records) {
    records.clear();
    const TDeadline end = DeadlineIn(limits_.sdpTotalMs);
    std::vector<std::uint8_t> lists, continuation, packet;
    for (int round = 0;; ++round) {
        if (round >= limits_.sdpMaxRounds) return EMSGSIZE;
        const std::uint16_t transaction = ++transaction_;
        const TIoStatus sent =
            SendPacket(fd_, SdpSearchAttributeRequest(transaction, uuid16, 0xFFFF, continuation));
        if (!sent.Ok()) return sent.ErrorNumber();

        const TDeadline deadline = std::min(end, DeadlineIn(limits_.sdpResponseMs));
        std::optional<TSdpResponse> response;
        while (!response) {
            const TIoStatus received = ReceivePacket(fd_, deadline, packet);
            if (!received.Ok()) return received.ErrorNumber();
            response = ParseSdpResponse(packet);
            if (!response) return EBADMSG;
            if (response->transaction != transaction) response.reset();
        }
        if (response->pduId == sdp::kErrorResponse) return EPROTO;
        if (lists.size() + response->attributeBytes.size() > limits_.sdpMaxBytes) return EMSGSIZE;
        AppendBytes(lists, response->attributeBytes);
        continuation = std::move(response->continuation);
        if (continuation.empty()) break;
    }
    auto split = SplitAttributeLists(lists);
    if (!split) return EBADMSG;
    records = std::move(*split);
    return 0;
}

}  // namespace qm::bt
