#pragma once
// Packets of the kernel's Bluetooth management channel: commands to the kernel and its events, each
// a header (code, controller index, parameter length; little-endian) and the parameters. The parser
// takes hostile bytes: every length is checked, nothing is read out of bounds.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"

namespace qm::bt {

namespace mgmt {
inline constexpr std::uint16_t kNoIndex = 0xFFFF;  // a command or event about no one controller

inline constexpr std::uint16_t kReadIndexList = 0x0003;
inline constexpr std::uint16_t kReadInfo = 0x0004;
inline constexpr std::uint16_t kSetPowered = 0x0005;
inline constexpr std::uint16_t kSetDiscoverable = 0x0006;
inline constexpr std::uint16_t kSetConnectable = 0x0007;

inline constexpr std::uint16_t kEvCommandComplete = 0x0001;
inline constexpr std::uint16_t kEvCommandStatus = 0x0002;
inline constexpr std::uint16_t kEvIndexAdded = 0x0004;
inline constexpr std::uint16_t kEvIndexRemoved = 0x0005;
inline constexpr std::uint16_t kEvNewSettings = 0x0006;

inline constexpr std::uint8_t kStatusSuccess = 0x00;
inline constexpr std::uint8_t kStatusUnknownCommand = 0x01;
inline constexpr std::uint8_t kStatusTimeout = 0x08;
inline constexpr std::uint8_t kStatusBusy = 0x0A;
inline constexpr std::uint8_t kStatusRejected = 0x0B;
inline constexpr std::uint8_t kStatusNotSupported = 0x0C;
inline constexpr std::uint8_t kStatusInvalidParameters = 0x0D;
inline constexpr std::uint8_t kStatusNotPowered = 0x0F;
inline constexpr std::uint8_t kStatusInvalidIndex = 0x11;
inline constexpr std::uint8_t kStatusRfkilled = 0x12;
inline constexpr std::uint8_t kStatusPermissionDenied = 0x14;

// Bits of a controller's settings.
inline constexpr std::uint32_t kSettingPowered = 1u << 0;
inline constexpr std::uint32_t kSettingConnectable = 1u << 1;
inline constexpr std::uint32_t kSettingDiscoverable = 1u << 3;
inline constexpr std::uint32_t kSettingBrEdr = 1u << 7;

inline constexpr std::uint8_t kDiscoverableOff = 0;
inline constexpr std::uint8_t kDiscoverableGeneral = 1;

inline constexpr std::size_t kHeaderSize = 6;
inline constexpr std::size_t kNameField = 249;
inline constexpr std::size_t kShortNameField = 11;
inline constexpr std::size_t kInfoSize = 6 + 1 + 2 + 4 + 4 + 3 + kNameField + kShortNameField;
}  // namespace mgmt

// A command or an event: the header's fields and the parameters.
struct TMgmtPacket {
    std::uint16_t code = 0;
    std::uint16_t index = mgmt::kNoIndex;
    std::vector<std::uint8_t> parameters;
};

// The kernel's answer to a command: Command Complete (with its return parameters) or Command Status.
struct TMgmtReply {
    std::uint16_t opcode = 0;
    std::uint8_t status = 0;
    std::vector<std::uint8_t> returned;
};

struct TMgmtControllerInfo {
    TBdAddr address;
    std::uint8_t version = 0;
    std::uint16_t manufacturer = 0;
    std::uint32_t supportedSettings = 0;
    std::uint32_t currentSettings = 0;
    std::uint32_t classOfDevice = 0;
    std::string name;       // raw bytes up to the first zero byte
    std::string shortName;  // the same
};

std::vector<std::uint8_t> MgmtPacket(std::uint16_t code, std::uint16_t index,
                                     std::span<const std::uint8_t> parameters = {});

// The packet of one message read from the channel; none unless its length matches its header.
std::optional<TMgmtPacket> ParseMgmtPacket(std::span<const std::uint8_t> message);

// The reply an event carries; none for any other event or a malformed reply.
std::optional<TMgmtReply> MgmtReplyOf(const TMgmtPacket& event);

// Return parameters of Read Controller Index List, Read Controller Information and the Set
// commands (the current settings); none when malformed.
std::optional<std::vector<std::uint16_t>> ParseMgmtIndexList(std::span<const std::uint8_t> returned);
std::optional<TMgmtControllerInfo> ParseMgmtControllerInfo(std::span<const std::uint8_t> returned);
std::optional<std::uint32_t> ParseMgmtSettings(std::span<const std::uint8_t> returned);

// The system error number of a status (0 for success): Permission Denied EPERM, Invalid Index
// ENODEV, Rfkilled ERFKILL, Busy EBUSY, Not Supported and Unknown Command EOPNOTSUPP, Invalid
// Parameters and Rejected EINVAL, Not Powered ENETDOWN, Timeout ETIMEDOUT, any other EIO.
int MgmtStatusError(std::uint8_t status);

}  // namespace qm::bt
