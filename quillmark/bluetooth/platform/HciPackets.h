#pragma once
// HCI command packets the program sends and the events it reads, as the Bluetooth Core spec
// defines them in its host controller interface volume. Packets on a raw HCI socket begin with
// their packet type byte.
// The event parser takes hostile bytes: every length is checked, nothing is read out of bounds.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"

namespace qm::bt {

inline constexpr std::uint8_t kHciCommandPacket = 0x01;
inline constexpr std::uint8_t kHciEventPacket = 0x04;

namespace hci {
inline constexpr std::uint16_t kInquiry = 0x0401;
inline constexpr std::uint16_t kInquiryCancel = 0x0402;
inline constexpr std::uint16_t kRemoteNameRequest = 0x0419;
inline constexpr std::uint16_t kRemoteNameRequestCancel = 0x041A;
inline constexpr std::uint16_t kReadLocalName = 0x0C14;
inline constexpr std::uint16_t kReadScanEnable = 0x0C19;
inline constexpr std::uint16_t kReadClassOfDevice = 0x0C23;
inline constexpr std::uint16_t kReadLocalVersion = 0x1001;
inline constexpr std::uint16_t kReadBdAddr = 0x1009;

inline constexpr std::uint8_t kEvInquiryComplete = 0x01;
inline constexpr std::uint8_t kEvInquiryResult = 0x02;
inline constexpr std::uint8_t kEvRemoteNameComplete = 0x07;
inline constexpr std::uint8_t kEvCommandComplete = 0x0E;
inline constexpr std::uint8_t kEvCommandStatus = 0x0F;
inline constexpr std::uint8_t kEvInquiryResultRssi = 0x22;
inline constexpr std::uint8_t kEvExtendedInquiryResult = 0x2F;

inline constexpr std::uint32_t kGeneralInquiryLap = 0x9E8B33;
inline constexpr std::uint8_t kDefaultInquiryLength = 0x08;  // 8 x 1.28 s
inline constexpr std::uint8_t kStatusCommandDisallowed = 0x0C;
}  // namespace hci

// A complete command packet: type, opcode, parameter length, parameters.
std::vector<std::uint8_t> HciCommand(std::uint16_t opcode, std::span<const std::uint8_t> parameters = {});
std::vector<std::uint8_t> HciInquiryCommand(std::uint32_t lap, std::uint8_t length,
                                            std::uint8_t maxResponses);
std::vector<std::uint8_t> HciRemoteNameRequestCommand(const TBdAddr& address,
                                                      std::uint8_t pageScanRepetitionMode,
                                                      std::uint16_t clockOffset);

// One device from any of the three inquiry result formats.
struct THciInquiryEntry {
    TBdAddr address;
    std::uint32_t classOfDevice = 0;
    std::uint8_t pageScanRepetitionMode = 0;
    std::uint16_t clockOffset = 0;
    std::optional<std::string> name;  // raw bytes of the EIR name, when present
    std::optional<std::int8_t> rssi;  // dBm, from the formats that carry it
    std::string eir;                  // the significant part of the extended inquiry response
    std::int64_t receivedMs = 0;      // set by the reader: when the event arrived, UTC milliseconds
};

struct THciInquiryResults {
    std::vector<THciInquiryEntry> entries;
};
struct THciInquiryComplete {
    std::uint8_t status = 0;
};
struct THciCommandStatus {
    std::uint8_t status = 0;
    std::uint16_t opcode = 0;
};
struct THciCommandComplete {
    std::uint16_t opcode = 0;
    std::vector<std::uint8_t> returnParameters;
};
struct THciRemoteNameComplete {
    std::uint8_t status = 0;
    TBdAddr address;
    std::string name;  // raw bytes up to the first zero byte
};
struct THciOtherEvent {
    std::uint8_t code = 0;
};

using THciEvent = std::variant<THciInquiryResults, THciInquiryComplete, THciCommandStatus,
                               THciCommandComplete, THciRemoteNameComplete, THciOtherEvent>;

// The event of one packet read from a raw HCI socket (type byte included); none when the packet
// is not a well-formed event.
std::optional<THciEvent> ParseHciEvent(std::span<const std::uint8_t> packet);

// The extended inquiry response's structures up to the first zero length (the padding that fills
// the rest of the 240 bytes) or up to the last structure that fits whole.
std::span<const std::uint8_t> EirSignificantPart(std::span<const std::uint8_t> eir);

// The name carried in extended inquiry response data: the complete local name, else the
// shortened one; none when neither is present.
std::optional<std::string> EirName(std::span<const std::uint8_t> eir);

}  // namespace qm::bt
