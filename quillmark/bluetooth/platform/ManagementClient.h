#pragma once
// Commands on a management channel socket and their replies. The kernel interleaves events nobody
// asked for (controllers added and removed, new settings) with the replies: they are skipped while
// a reply is awaited. Every wait is bounded; a reply that does not come in time is ETIMEDOUT, and a
// message that is not a well-formed packet or reply is EBADMSG.

#include <cstdint>
#include <span>
#include <vector>

#include "quillmark/bluetooth/platform/ManagementPackets.h"

namespace qm::bt {

class TManagementClient {
public:
    TManagementClient(int fd, int replyTimeoutMs) : fd_(fd), replyTimeoutMs_(replyTimeoutMs) {}

    // Sends the command and waits for its reply. 0 with the return parameters, the error number of
    // a failing status, or of the failed exchange.
    int Exchange(std::uint16_t opcode, std::uint16_t index, std::span<const std::uint8_t> parameters,
                 std::vector<std::uint8_t>& returned);

    int ReadIndexList(std::vector<std::uint16_t>& indexes);
    int ReadInfo(std::uint16_t index, TMgmtControllerInfo& info);
    // A Set command, whose reply is the controller's settings after it.
    int Set(std::uint16_t opcode, std::uint16_t index, std::span<const std::uint8_t> parameters);

private:
    int AwaitReply(std::uint16_t opcode, std::uint16_t index, std::vector<std::uint8_t>& returned);

    int fd_;
    int replyTimeoutMs_;
};

}  // namespace qm::bt
