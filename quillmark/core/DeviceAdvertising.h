#pragma once
// What a device's sightings told beyond the session file's properties: the transports it was heard
// on, its LE address type, and field by field the latest of what it announced. Not persisted in the
// session file (its format is fixed); the history store keeps it, and a front end restores it from
// there at start-up.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/AdvertisingData.h"
#include "quillmark/core/BluetoothUuid.h"
#include "quillmark/core/Sighting.h"
#include "quillmark/core/TrackerKind.h"

namespace qm {

struct TDeviceAdvertising {
    bool classic = false;                             // heard in a classic inquiry (or a capture of one)
    bool lowEnergy = false;                           // heard advertising over LE
    TAddressType addressType = TAddressType::Public;  // of the latest LE sighting
    std::optional<std::int8_t> txPower;               // dBm, the latest announced
    std::optional<std::uint16_t> appearance;          // the latest announced
    std::optional<TManufacturerData> manufacturer;    // the latest first manufacturer data structure
    std::vector<TBluetoothUuid> uuids;                // every service UUID announced, in first-heard order
    std::optional<TTrackerKind> tracker;              // set once an advertisement announced one
    std::string eir;                                  // the latest classic extended inquiry response
    std::string advertising;                          // the latest LE advertising data
    std::string scanResponse;                         // the latest LE scan response data

    friend bool operator==(const TDeviceAdvertising&, const TDeviceAdvertising&) = default;
};

// Takes one sighting into the device's fields: the transport, the raw bytes it carried and, from
// their decoded structures, each field it announced (fields it did not announce keep their value).
void TakeSighting(TDeviceAdvertising& advertising, const TSighting& sighting);

// Decodes raw data (advertising data, scan response or EIR, which share one structure) into the
// fields, as TakeSighting does for a sighting's data.
void TakeAdvertisingData(TDeviceAdvertising& advertising, const std::string& data);

// "classic", "le" or "dual"; "classic" for a device heard on neither (one read from a session file
// without history).
const char* TransportName(const TDeviceAdvertising& advertising);

}  // namespace qm
