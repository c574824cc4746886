#pragma once
// One sighting of a device as its source reported it: what the radio (or a capture of it) told us,
// more than the session file keeps. Every source (the classic inquiry, a capture, Low Energy
// scanning) yields these, and the core records them in the device list and the history.

#include <cstdint>
#include <optional>
#include <string>

namespace qm {

enum class TTransport : std::uint8_t {
    Classic = 0,    // BR/EDR inquiry
    LowEnergy = 1,  // LE advertising
};

enum class TAddressType : std::uint8_t {
    Public = 0,  // every classic address, and an LE public address
    Random = 1,  // an LE random address (static, resolvable or non-resolvable private)
};

struct TSighting {
    std::string address;  // the record's key, "(00:11:22:AA:BB:CC)"
    TTransport transport = TTransport::Classic;
    TAddressType addressType = TAddressType::Public;
    std::optional<std::int8_t> rssi;  // dBm, when the source gave one
    std::int64_t receivedMs = 0;      // when the radio received it, UTC milliseconds since 1970
    std::string name;                 // valid UTF-8; empty when the device gave none
    std::optional<std::uint32_t> classOfDevice;
    // Raw response data: a classic device's extended inquiry response, or an LE report's
    // advertising data (or scan response data, when scanResponse is set). Empty when there was none.
    std::string eir;
    bool scanResponse = false;  // LE: the report answered our scan request
};

// A sighting as the device list recorded it: with the operator's location at that moment.
struct TRecordedSighting {
    TSighting sighting;
    std::string location;
};

}  // namespace qm
