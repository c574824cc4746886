#pragma once
// What the emulated radio plays: the local controller and the remote devices, each with its
// name, class, inquiry result format, service records, presence and signal over time and
// misbehaviours, and, for a device that advertises over Low Energy, its advertising.

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/bluetooth/platform/BluetoothAddress.h"

namespace qm::bt::emu {

enum class TResultFormat { Standard, Rssi, RssiWithMode, Extended };

// When a device is in range, in seconds since the radio started.
struct TPresence {
    std::int64_t from = std::numeric_limits<std::int64_t>::min();
    std::int64_t until = std::numeric_limits<std::int64_t>::max();
    std::int64_t period = 0;  // 0: no cycle; otherwise in range for onFor of every period
    std::int64_t onFor = 0;
    std::int64_t offset = 0;

    bool At(std::int64_t seconds) const;
};

// A device's signal strength over time: a steady rise and fall of swing dB either side of its level,
// one cycle every period seconds, each device at a phase of its own.
struct TSignal {
    int dbm = -60;
    int swing = 12;
    std::int64_t period = 180;

    // dBm at the time, within -127..20; phase shifts the cycle (in seconds).
    std::int8_t At(std::int64_t seconds, std::int64_t phase) const;
};

struct TMisbehaviour {
    bool noRecords = false;          // answers with the empty attribute lists
    std::uint16_t sdpError = 0;      // answers every request with this error code
    bool sdpSilent = false;          // never answers an SDP request
    bool connectRefused = false;     // refuses the L2CAP connection
    bool nameSilent = false;         // never completes a Remote Name Request
    bool malformedResponse = false;  // answers with a response whose lengths do not add up
    int flood = 0;                   // reports its inquiry result this many extra times
};

// How an LE advertiser's address is made from the device's address.
enum class TLeAddressKind {
    Public,         // the device's address itself
    RandomStatic,   // the device's address with the two top bits 0b11
    Resolvable,     // 0b01, a new address every rotateSeconds
    NonResolvable,  // 0b00, a new address every rotateSeconds
};

// The legacy advertising PDU types a scenario can give an advertiser.
enum class TLeEventType {
    Connectable,     // ADV_IND: answers scan requests
    Scannable,       // ADV_SCAN_IND: answers scan requests
    NonConnectable,  // ADV_NONCONN_IND: no scan response
};

struct TLeAdvertiser {
    TLeAddressKind addressKind = TLeAddressKind::Public;
    std::int64_t rotateSeconds = 900;  // private addresses: how long one address lasts
    int intervalMs = 100;              // one advertising event every this many milliseconds
    TLeEventType eventType = TLeEventType::Connectable;
    bool extended = false;             // reported as an extended advertising report
    std::string advertising;           // AD structures, as sent (possibly malformed on purpose)
    std::optional<std::string> scanResponse;
    int flood = 0;  // extra copies of each advertising report

    bool Random() const { return addressKind != TLeAddressKind::Public; }
    bool AnswersScans() const { return eventType != TLeEventType::NonConnectable; }
    // The address it advertises with at the time (seconds since the radio started).
    TBdAddr AddressAt(const TBdAddr& identity, std::int64_t seconds) const;
};

struct TEmulatedDevice {
    TBdAddr address;
    std::optional<std::string> name;  // raw bytes; none: the device gives no name
    bool shortNameOnly = false;       // extended format: the name as the shortened local name
    std::uint32_t classOfDevice = 0;
    TResultFormat format = TResultFormat::Standard;
    std::vector<std::string> records;  // raw attribute-list sequences
    TPresence presence;
    TSignal signal;  // what the formats that carry a signal strength report
    TMisbehaviour misbehaviour;
    bool classic = true;               // answers inquiries and SDP
    std::optional<TLeAdvertiser> le;   // advertises over Low Energy

    // Its signal at the time, the same on both transports; each device's cycle starts at a point
    // of its own, taken from its address.
    std::int8_t SignalAt(std::int64_t seconds) const;
};

struct TControllerSettings {
    TBdAddr address{{0x00, 0x1A, 0x7D, 0xDA, 0x71, 0x13}};
    std::string name = "Quillmark Emulated Radio";
    std::uint32_t classOfDevice = 0x1C010C;
    std::uint8_t hciVersion = 9;
    std::uint16_t hciRevision = 0x0100;
    std::uint8_t lmpVersion = 9;
    std::uint16_t manufacturer = 0x0002;
    std::uint16_t lmpSubversion = 0x0100;
    // The state at the radio's start; management Set commands change it for the radio's lifetime.
    bool powered = true;
    bool connectable = true;         // page scan
    bool discoverable = false;       // inquiry scan
    bool managementRefused = false;  // answers every management Set command with Permission Denied
    bool busy = false;               // answers Inquiry with Command Disallowed
    bool inquirySilent = false;      // never sends Inquiry Complete
    int inquiryMs = 0;               // how long an inquiry takes
    bool leExtended = false;         // supports the extended scanning commands and reports
    bool leDuringInquiry = true;     // false: refuses to scan LE while an inquiry runs
};

struct TScenario {
    TControllerSettings controller;
    std::vector<TEmulatedDevice> devices;
    std::size_t sdpMtu = 64;  // attribute bytes per SDP response, small so that continuation is used
};

}  // namespace qm::bt::emu
