#pragma once
// Advertising data: the run of length-type-data structures that LE advertisements, their scan
// responses and the classic extended inquiry response all carry. Each structure is one length
// byte (counting the type byte and the data), one type byte and its data. The parser takes hostile
// bytes and never reads past them.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "quillmark/core/BluetoothUuid.h"

namespace qm {

namespace ad {
inline constexpr std::uint8_t kFlags = 0x01;
inline constexpr std::uint8_t kIncomplete16 = 0x02;
inline constexpr std::uint8_t kComplete16 = 0x03;
inline constexpr std::uint8_t kIncomplete32 = 0x04;
inline constexpr std::uint8_t kComplete32 = 0x05;
inline constexpr std::uint8_t kIncomplete128 = 0x06;
inline constexpr std::uint8_t kComplete128 = 0x07;
inline constexpr std::uint8_t kShortenedName = 0x08;
inline constexpr std::uint8_t kCompleteName = 0x09;
inline constexpr std::uint8_t kTxPower = 0x0A;
inline constexpr std::uint8_t kServiceData16 = 0x16;
inline constexpr std::uint8_t kAppearance = 0x19;
inline constexpr std::uint8_t kServiceData32 = 0x20;
inline constexpr std::uint8_t kServiceData128 = 0x21;
inline constexpr std::uint8_t kManufacturerData = 0xFF;

// Bits of the flags structure.
inline constexpr std::uint8_t kLeLimitedDiscoverable = 0x01;
inline constexpr std::uint8_t kLeGeneralDiscoverable = 0x02;
inline constexpr std::uint8_t kBrEdrNotSupported = 0x04;
inline constexpr std::uint8_t kSimultaneousController = 0x08;
inline constexpr std::uint8_t kSimultaneousHost = 0x10;
}  // namespace ad

// One structure as it arrived: its type and data bytes.
struct TAdStructure {
    std::uint8_t type = 0;
    std::vector<std::uint8_t> data;
    friend bool operator==(const TAdStructure&, const TAdStructure&) = default;
};

struct TManufacturerData {
    std::uint16_t companyId = 0;
    std::vector<std::uint8_t> payload;
    friend bool operator==(const TManufacturerData&, const TManufacturerData&) = default;
};

struct TServiceData {
    TBluetoothUuid uuid;
    std::vector<std::uint8_t> payload;
    friend bool operator==(const TServiceData&, const TServiceData&) = default;
};

// The decoded advertising data. Where a single-valued field appears more than once, the first
// occurrence counts; a structure too short for its field is kept in `structures` but not decoded.
struct TAdvertisement {
    std::vector<TAdStructure> structures;  // every structure, in order
    std::optional<std::uint8_t> flags;
    std::optional<std::string> name;  // valid UTF-8: the complete local name, else the shortened one
    bool nameComplete = false;
    std::vector<TBluetoothUuid> serviceUuids;         // from the complete and incomplete lists, in order
    std::vector<TManufacturerData> manufacturerData;  // in order; the first is the device's own
    std::vector<TServiceData> serviceData;
    std::optional<std::int8_t> txPower;  // dBm
    std::optional<std::uint16_t> appearance;
};

// The structures up to the first zero length (padding) or up to the last one that fits whole.
TAdvertisement ParseAdvertisingData(std::span<const std::uint8_t> data);

// The width in bytes of the UUIDs a UUID list or service data structure carries; 0 for other types.
std::size_t AdUuidWidth(std::uint8_t type);

}  // namespace qm
