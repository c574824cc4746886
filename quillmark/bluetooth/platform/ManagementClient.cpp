#include "quillmark/bluetooth/platform/ManagementClient.h"

#include <cerrno>

#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt {

int TManagementClient::Exchange(std::uint16_t opcode, std::uint16_t index,
                                std::span<const std::uint8_t> parameters,
                                std::vector<std::uint8_t>& returned) {
    if (const TIoStatus sent = SendPacket(fd_, MgmtPacket(opcode, index, parameters)); !sent.Ok())
        return sent.ErrorNumber();
    return AwaitReply(opcode, index, returned);
}

int TManagementClient::AwaitReply(std::uint16_t opcode, std::uint16_t index,
                                  std::vector<std::uint8_t>& returned) {
    const TDeadline deadline = DeadlineIn(replyTimeoutMs_);
    std::vector<std::uint8_t> message;
    for (;;) {
        if (const TIoStatus received = ReceivePacket(fd_, deadline, message); !received.Ok())
            return received.ErrorNumber();
        const auto event = ParseMgmtPacket(message);
        if (!event) return EBADMSG;
        if (event->code != mgmt::kEvCommandComplete && event->code != mgmt::kEvCommandStatus) continue;
        const auto reply = MgmtReplyOf(*event);
        if (!reply) return EBADMSG;
        if (reply->opcode != opcode || event->index != index) continue;
        returned = reply->returned;
        return MgmtStatusError(reply->status);
    }
}

int TManagementClient::ReadIndexList(std::vector<std::uint16_t>& indexes) {
    std::vector<std::uint8_t> returned;
    if (const int error = Exchange(mgmt::kReadIndexList, mgmt::kNoIndex, {}, returned)) return error;
    auto list = ParseMgmtIndexList(returned);
    if (!list) return EBADMSG;
    indexes = std::move(*list);
    return 0;
}

int TManagementClient::ReadInfo(std::uint16_t index, TMgmtControllerInfo& info) {
    std::vector<std::uint8_t> returned;
    if (const int error = Exchange(mgmt::kReadInfo, index, {}, returned)) return error;
    auto parsed = ParseMgmtControllerInfo(returned);
    if (!parsed) return EBADMSG;
    info = std::move(*parsed);
    return 0;
}

int TManagementClient::Set(std::uint16_t opcode, std::uint16_t index,
                           std::span<const std::uint8_t> parameters) {
    std::vector<std::uint8_t> returned;
    if (const int error = Exchange(opcode, index, parameters, returned)) return error;
    return ParseMgmtSettings(returned) ? 0 : EBADMSG;
}

}  // namespace qm::bt
