#pragma once
// Plain display texts of advertising data structures: the name of a structure's type and its
// decoded value, for a window that lists each structure beside its raw bytes. The texts are valid
// UTF-8 and are shown as plain text.

#include <cstdint>
#include <span>
#include <string>

#include "quillmark/core/AdvertisingData.h"

namespace qm {

// "Flags", "Complete Local Name", "Manufacturer Specific Data", ...; "Unknown (0xNN)" for a type
// without an assigned name.
std::string AdTypeName(std::uint8_t type);

// The structure's value decoded for display: flags by name ("LE General Discoverable, BR/EDR Not
// Supported"), UUIDs with their service names ("0x180F (Battery Service)"), the TX power in dBm,
// the appearance by name, manufacturer and service data as the owner's name then the payload in
// hex. A type not decoded here, or data too short for its type, is shown as hex bytes.
std::string AdStructureText(const TAdStructure& structure);

// Bytes as upper-case hex pairs separated by spaces: "4C 00 12".
std::string HexBytes(std::span<const std::uint8_t> bytes);

}  // namespace qm
