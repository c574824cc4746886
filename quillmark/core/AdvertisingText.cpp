#include "quillmark/core/AdvertisingText.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "quillmark/core/AssignedNumbers.h"
#include "quillmark/core/Utf8.h"

namespace qm {

namespace {

using Bytes = std::span<const std::uint8_t>;

struct TTypeName {
    std::uint8_t type;
    const char* name;
};

// Sorted by type.
constexpr std::array<TTypeName, 50> kTypeNames = {{
    {0x01, "Flags"},
    {0x02, "Incomplete List of 16-bit Service UUIDs"},
    {0x03, "Complete List of 16-bit Service UUIDs"},
    {0x04, "Incomplete List of 32-bit Service UUIDs"},
    {0x05, "Complete List of 32-bit Service UUIDs"},
    {0x06, "Incomplete List of 128-bit Service UUIDs"},
    {0x07, "Complete List of 128-bit Service UUIDs"},
    {0x08, "Shortened Local Name"},
    {0x09, "Complete Local Name"},
    {0x0A, "TX Power Level"},
    {0x0D, "Class of Device"},
    {0x0E, "Simple Pairing Hash C-192"},
    {0x0F, "Simple Pairing Randomizer R-192"},
    {0x10, "Device ID"},
    {0x11, "Security Manager Out of Band Flags"},
    {0x12, "Peripheral Connection Interval Range"},
    {0x14, "List of 16-bit Service Solicitation UUIDs"},
    {0x15, "List of 128-bit Service Solicitation UUIDs"},
    {0x16, "Service Data - 16-bit UUID"},
    {0x17, "Public Target Address"},
    {0x18, "Random Target Address"},
    {0x19, "Appearance"},
    {0x1A, "Advertising Interval"},
    {0x1B, "LE Bluetooth Device Address"},
    {0x1C, "LE Role"},
    {0x1D, "Simple Pairing Hash C-256"},
    {0x1E, "Simple Pairing Randomizer R-256"},
    {0x1F, "List of 32-bit Service Solicitation UUIDs"},
    {0x20, "Service Data - 32-bit UUID"},
    {0x21, "Service Data - 128-bit UUID"},
    {0x22, "LE Secure Connections Confirmation Value"},
    {0x23, "LE Secure Connections Random Value"},
    {0x24, "URI"},
    {0x25, "Indoor Positioning"},
    {0x26, "Transport Discovery Data"},
    {0x27, "LE Supported Features"},
    {0x28, "Channel Map Update Indication"},
    {0x29, "PB-ADV"},
    {0x2A, "Mesh Message"},
    {0x2B, "Mesh Beacon"},
    {0x2C, "BIGInfo"},
    {0x2D, "Broadcast Code"},
    {0x2E, "Resolvable Set Identifier"},
    {0x2F, "Advertising Interval - long"},
    {0x30, "Broadcast Name"},
    {0x31, "Encrypted Advertising Data"},
    {0x32, "Periodic Advertising Response Timing Information"},
    {0x34, "Electronic Shelf Label"},
    {0x3D, "3D Information Data"},
    {0xFF, "Manufacturer Specific Data"},
}};

constexpr std::array<const char*, 5> kFlagNames = {
    "LE Limited Discoverable",  "LE General Discoverable", "BR/EDR Not Supported",
    "LE and BR/EDR Controller", "LE and BR/EDR Host",
};

std::string Hex(std::uint32_t value, int digits) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
    return text;
}

std::string Joined(std::string text, std::string_view more) {
    if (!text.empty()) text += ", ";
    text += more;
    return text;
}

std::string FlagsText(std::uint8_t flags) {
    std::string text;
    for (std::size_t bit = 0; bit < kFlagNames.size(); ++bit)
        if (flags & (1u << bit)) text = Joined(std::move(text), kFlagNames[bit]);
    if (const unsigned reserved = flags & 0xE0u)
        text = Joined(std::move(text), "Reserved (" + Hex(reserved, 2) + ")");
    return text.empty() ? "None" : text;
}

std::string UuidWithName(const TBluetoothUuid& uuid) {
    std::string text = UuidText(uuid);
    if (const auto short16 = uuid.Short16())
        if (const auto name = ServiceName(*short16)) text += " (" + std::string(*name) + ")";
    return text;
}

std::string UuidListText(Bytes data, std::size_t width) {
    std::string text;
    for (std::size_t at = 0; at + width <= data.size(); at += width)
        text =
            Joined(std::move(text), UuidWithName(*TBluetoothUuid::FromLittleEndian(data.subspan(at, width))));
    return text;
}

std::string OwnedPayloadText(std::string owner, Bytes payload) {
    if (payload.empty()) return owner;
    return owner + ": " + HexBytes(payload);
}

std::string ManufacturerText(Bytes data) {
    const auto company = static_cast<std::uint16_t>(data[0] | data[1] << 8);
    const auto name = CompanyName(company);
    std::string owner = name ? std::string(*name) + " (" + Hex(company, 4) + ")" : Hex(company, 4);
    return OwnedPayloadText(std::move(owner), data.subspan(2));
}

std::string AppearanceText(std::uint16_t appearance) {
    const auto name = AppearanceName(appearance);
    return name ? std::string(*name) + " (" + Hex(appearance, 4) + ")" : Hex(appearance, 4);
}

// The text of a structure whose data is long enough for its type; none for the others.
std::optional<std::string> DecodedText(std::uint8_t type, Bytes data) {
    const std::size_t width = AdUuidWidth(type);
    switch (type) {
        case ad::kFlags:
            if (data.empty()) return std::nullopt;
            return FlagsText(data[0]);
        case ad::kShortenedName:
        case ad::kCompleteName:
            return ValidUtf8(std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
        case ad::kIncomplete16:
        case ad::kComplete16:
        case ad::kIncomplete32:
        case ad::kComplete32:
        case ad::kIncomplete128:
        case ad::kComplete128:
            if (data.size() % width != 0) return std::nullopt;
            return UuidListText(data, width);
        case ad::kServiceData16:
        case ad::kServiceData32:
        case ad::kServiceData128:
            if (data.size() < width) return std::nullopt;
            return OwnedPayloadText(UuidWithName(*TBluetoothUuid::FromLittleEndian(data.first(width))),
                                    data.subspan(width));
        case ad::kManufacturerData:
            if (data.size() < 2) return std::nullopt;
            return ManufacturerText(data);
        case ad::kTxPower:
            if (data.size() != 1) return std::nullopt;
            return std::to_string(static_cast<std::int8_t>(data[0])) + " dBm";
        case ad::kAppearance:
            if (data.size() != 2) return std::nullopt;
            return AppearanceText(static_cast<std::uint16_t>(data[0] | data[1] << 8));
        default:
            return std::nullopt;
    }
}

}  // namespace

std::string AdTypeName(std::uint8_t type) {
    const auto it = std::lower_bound(kTypeNames.begin(), kTypeNames.end(), type,
                                     [](const TTypeName& entry, std::uint8_t t) { return entry.type < t; });
    if (it != kTypeNames.end() && it->type == type) return it->name;
    return "Unknown (" + Hex(type, 2) + ")";
}

std::string AdStructureText(const TAdStructure& structure) {
    if (auto text = DecodedText(structure.type, structure.data)) return std::move(*text);
    return HexBytes(structure.data);
}

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 3);
    for (const std::uint8_t byte : bytes) {
        if (!text.empty()) text += ' ';
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

}  // namespace qm
