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
inline constexpr std::uint16_t kLeSetEventMask = 0x2001;
inline constexpr std::uint16_t kLeReadLocalSupportedFeatures = 0x2003;
inline constexpr std::uint16_t kLeSetScanParameters = 0x200B;
inline constexpr std::uint16_t kLeSetScanEnable = 0x200C;
inline constexpr std::uint16_t kLeSetExtendedScanParameters = 0x2041;
inline constexpr std::uint16_t kLeSetExtendedScanEnable = 0x2042;

inline constexpr std::uint8_t kEvInquiryComplete = 0x01;
inline constexpr std::uint8_t kEvInquiryResult = 0x02;
inline constexpr std::uint8_t kEvRemoteNameComplete = 0x07;
inline constexpr std::uint8_t kEvCommandComplete = 0x0E;
inline constexpr std::uint8_t kEvCommandStatus = 0x0F;
inline constexpr std::uint8_t kEvInquiryResultRssi = 0x22;
inline constexpr std::uint8_t kEvExtendedInquiryResult = 0x2F;
inline constexpr std::uint8_t kEvLeMeta = 0x3E;

// LE meta event subevents.
inline constexpr std::uint8_t kLeAdvertisingReport = 0x02;
inline constexpr std::uint8_t kLeDirectedAdvertisingReport = 0x0B;
inline constexpr std::uint8_t kLeExtendedAdvertisingReport = 0x0D;

// The LE event mask enables subevent n with bit n - 1: the three advertising reports.
inline constexpr std::uint64_t kLeScanEventMask = 1ull << (kLeAdvertisingReport - 1) |
                                                  1ull << (kLeDirectedAdvertisingReport - 1) |
                                                  1ull << (kLeExtendedAdvertisingReport - 1);
// Bit of the LE features mask: the controller has the extended advertising commands and events.
inline constexpr std::uint64_t kLeFeatureExtendedAdvertising = 1ull << 12;

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

// LE scanning. Intervals and windows count 0.625 ms slots; the window is at most the interval.
struct TLeScanParameters {
    bool active = true;               // ask advertisers for their scan responses
    std::uint16_t interval = 0x0060;  // 60 ms
    std::uint16_t window = 0x0030;    // 30 ms
    std::uint8_t ownAddressType = 0;  // public
    std::uint8_t filterPolicy = 0;    // accept every advertiser
};

std::vector<std::uint8_t> HciLeSetEventMaskCommand(std::uint64_t mask);
std::vector<std::uint8_t> HciLeReadLocalSupportedFeaturesCommand();
std::vector<std::uint8_t> HciLeSetScanParametersCommand(const TLeScanParameters& parameters);
// Duplicates are never filtered: every report brings a fresh signal strength.
std::vector<std::uint8_t> HciLeSetScanEnableCommand(bool enable);
// The extended commands, scanning on the LE 1M PHY only, continuously until disabled.
std::vector<std::uint8_t> HciLeSetExtendedScanParametersCommand(const TLeScanParameters& parameters);
std::vector<std::uint8_t> HciLeSetExtendedScanEnableCommand(bool enable);

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

// Bits of an LE report's event type, in the extended report's form; legacy reports are mapped to it.
namespace le {
inline constexpr std::uint16_t kConnectable = 0x0001;
inline constexpr std::uint16_t kScannable = 0x0002;
inline constexpr std::uint16_t kDirected = 0x0004;
inline constexpr std::uint16_t kScanResponse = 0x0008;
inline constexpr std::uint16_t kLegacy = 0x0010;
inline constexpr std::uint16_t kDataStatusMask = 0x0060;  // 0 complete, 0x20 more to come, 0x40 truncated

// Address types of reports: 0 public, 1 random, 2 and 3 the public and random identity addresses
// the controller resolved from a private one, 0xFF anonymous (no address).
inline constexpr std::uint8_t kAddressAnonymous = 0xFF;
}  // namespace le

// One advertisement or scan response from any of the three LE advertising report formats.
struct THciLeReport {
    std::uint16_t eventType = 0;  // the le::k* bits
    std::uint8_t addressType = 0;
    TBdAddr address;
    std::uint8_t primaryPhy = 1;                    // 1 LE 1M, 3 LE Coded
    std::uint8_t secondaryPhy = 0;                  // 0 none, 1 LE 1M, 2 LE 2M, 3 LE Coded
    std::uint8_t sid = 0xFF;                        // advertising set, 0xFF none
    std::optional<std::int8_t> txPower;             // dBm, when the report carries it
    std::optional<std::int8_t> rssi;                // dBm, when the controller measured it
    std::uint16_t periodicInterval = 0;             // 1.25 ms units, 0 without periodic advertising
    std::optional<std::uint8_t> directAddressType;  // for directed advertisements: to whom
    std::optional<TBdAddr> directAddress;
    std::vector<std::uint8_t> data;  // advertising data or scan response data
    std::int64_t receivedMs = 0;     // set by the reader: when the event arrived, UTC milliseconds

    bool Legacy() const { return eventType & le::kLegacy; }
    bool Connectable() const { return eventType & le::kConnectable; }
    bool Scannable() const { return eventType & le::kScannable; }
    bool Directed() const { return eventType & le::kDirected; }
    bool ScanResponse() const { return eventType & le::kScanResponse; }
};

struct THciLeAdvertisingReports {
    std::uint8_t subevent = 0;  // which of the three formats the reports came in
    std::vector<THciLeReport> reports;
};
struct THciOtherEvent {
    std::uint8_t code = 0;
};

using THciEvent =
    std::variant<THciInquiryResults, THciInquiryComplete, THciCommandStatus, THciCommandComplete,
                 THciRemoteNameComplete, THciLeAdvertisingReports, THciOtherEvent>;

// The event of one packet read from a raw HCI socket (type byte included); none when the packet
// is not a well-formed event. An LE meta event of another subevent is a THciOtherEvent.
std::optional<THciEvent> ParseHciEvent(std::span<const std::uint8_t> packet);

// The LE features mask from the Command Complete of LE Read Local Supported Features; none for
// another command's, a failure status or return parameters too short.
std::optional<std::uint64_t> LeLocalSupportedFeatures(const THciCommandComplete& complete);

// The extended inquiry response's structures up to the first zero length (the padding that fills
// the rest of the 240 bytes) or up to the last structure that fits whole.
std::span<const std::uint8_t> EirSignificantPart(std::span<const std::uint8_t> eir);

// The name carried in extended inquiry response data: the complete local name, else the
// shortened one; none when neither is present.
std::optional<std::string> EirName(std::span<const std::uint8_t> eir);

}  // namespace qm::bt
