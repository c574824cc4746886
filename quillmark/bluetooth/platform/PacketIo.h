#pragma once
// Whole-message send and receive on a message socket, each bounded in time.

#include <chrono>
#include <cstdint>
#include <span>
#include <vector>

namespace qm::bt {

enum class TIoCode { Ok, TimedOut, Closed, Failed };

struct TIoStatus {
    TIoCode code = TIoCode::Ok;
    int systemError = 0;  // for Failed
    bool Ok() const { return code == TIoCode::Ok; }
    // The error number to report for anything but Ok.
    int ErrorNumber() const;
};

using TDeadline = std::chrono::steady_clock::time_point;
TDeadline DeadlineIn(int milliseconds);

TIoStatus SendPacket(int fd, std::span<const std::uint8_t> packet);

// Receives one message into packet (resized to its length) unless the deadline passes first.
// The receive buffer is 64 KiB: a message socket silently drops what does not fit.
TIoStatus ReceivePacket(int fd, TDeadline deadline, std::vector<std::uint8_t>& packet);

}  // namespace qm::bt
