#pragma once
// One read of a controller's own information over a raw HCI socket: the command, then its Command
// Complete (a Command Status with an error ends the wait). Events of other commands are skipped.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace qm::bt {

// 0 with the return parameters after the status byte; ETIMEDOUT when no answer comes in time, EIO
// for a failing status, EBADMSG for an answer without a status, or the error of the exchange.
int HciLocalRead(int fd, std::uint16_t opcode, int timeoutMs, std::vector<std::uint8_t>& returned);

// The LMP subversion of Read Local Version Information's return parameters.
std::optional<std::uint16_t> LmpSubversionOf(std::span<const std::uint8_t> returned);

}  // namespace qm::bt
