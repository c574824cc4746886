#include "quillmark/bluetooth/platform/PacketIo.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

namespace qm::bt {

namespace {

constexpr std::size_t kReceiveBuffer = 64 * 1024;

int MillisecondsUntil(TDeadline deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

TIoStatus WaitReadable(int fd, TDeadline deadline) {
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, MillisecondsUntil(deadline));
        if (ready > 0) return {};
        if (ready == 0) return {TIoCode::TimedOut, 0};
        if (errno != EINTR) return {TIoCode::Failed, errno};
    }
}

}  // namespace

int TIoStatus::ErrorNumber() const {
    switch (code) {
        case TIoCode::Ok:
            return 0;
        case TIoCode::TimedOut:
            return ETIMEDOUT;
        case TIoCode::Closed:
            return ECONNRESET;
        case TIoCode::Failed:
            break;
    }
    return systemError;
}

TDeadline DeadlineIn(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

TIoStatus SendPacket(int fd, std::span<const std::uint8_t> packet) {
    for (;;) {
        const ssize_t sent = ::send(fd, packet.data(), packet.size(), MSG_NOSIGNAL);
        if (sent == static_cast<ssize_t>(packet.size())) return {};
        if (sent >= 0) return {TIoCode::Failed, EMSGSIZE};
        if (errno == EPIPE || errno == ECONNRESET) return {TIoCode::Closed, 0};
        if (errno != EINTR) return {TIoCode::Failed, errno};
    }
}

TIoStatus ReceivePacket(int fd, TDeadline deadline, std::vector<std::uint8_t>& packet) {
    packet.resize(kReceiveBuffer);
    for (;;) {
        if (const TIoStatus ready = WaitReadable(fd, deadline); !ready.Ok()) return ready;
        const ssize_t got = ::recv(fd, packet.data(), packet.size(), MSG_DONTWAIT);
        if (got > 0) {
            packet.resize(static_cast<std::size_t>(got));
            return {};
        }
        if (got == 0) return {TIoCode::Closed, 0};
        if (errno == ECONNRESET) return {TIoCode::Closed, 0};
        if (errno != EINTR && errno != EAGAIN) return {TIoCode::Failed, errno};
    }
}

}  // namespace qm::bt
