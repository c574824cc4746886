#include "quillmark/bluetooth/platform/HciLocalRead.h"

#include <cerrno>

#include "quillmark/bluetooth/platform/ByteOrder.h"
#include "quillmark/bluetooth/platform/HciPackets.h"
#include "quillmark/bluetooth/platform/PacketIo.h"

namespace qm::bt {

namespace {

// The outcome of one event for the read of opcode: none while it is not the answer.
std::optional<int> Answer(const THciEvent& event, std::uint16_t opcode, std::vector<std::uint8_t>& returned) {
    if (const auto* status = std::get_if<THciCommandStatus>(&event))
        return status->opcode == opcode && status->status != 0 ? std::optional<int>(EIO) : std::nullopt;
    const auto* complete = std::get_if<THciCommandComplete>(&event);
    if (!complete || complete->opcode != opcode) return std::nullopt;
    if (complete->returnParameters.empty()) return EBADMSG;
    if (complete->returnParameters[0] != 0) return EIO;
    returned.assign(complete->returnParameters.begin() + 1, complete->returnParameters.end());
    return 0;
}

}  // namespace

int HciLocalRead(int fd, std::uint16_t opcode, int timeoutMs, std::vector<std::uint8_t>& returned) {
    if (const TIoStatus sent = SendPacket(fd, HciCommand(opcode)); !sent.Ok()) return sent.ErrorNumber();
    const TDeadline deadline = DeadlineIn(timeoutMs);
    std::vector<std::uint8_t> packet;
    for (;;) {
        if (const TIoStatus received = ReceivePacket(fd, deadline, packet); !received.Ok())
            return received.ErrorNumber();
        const auto event = ParseHciEvent(packet);
        if (!event) continue;
        if (const auto answer = Answer(*event, opcode, returned)) return *answer;
    }
}

// HCI version (1), HCI revision (2), LMP version (1), manufacturer (2), LMP subversion (2).
std::optional<std::uint16_t> LmpSubversionOf(std::span<const std::uint8_t> returned) {
    if (returned.size() < 8) return std::nullopt;
    return LoadLe16(&returned[6]);
}

}  // namespace qm::bt
