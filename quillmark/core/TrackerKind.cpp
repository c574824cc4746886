#include "quillmark/core/TrackerKind.h"

#include <algorithm>

namespace qm {

namespace {

constexpr std::uint16_t kApple = 0x004C;
// Apple's Find My message in its manufacturer data: message type 0x12, its length, a status byte,
// then the public key's bytes. Public research on the offline-finding protocol reads the device's
// kind from bits 4 and 5 of the status byte, with 0b01 an AirTag; some tools mask bits 3 and 4
// instead. An AirTag is named only when both readings agree (bits 3-5 are 0b010).
constexpr std::uint8_t kFindMyMessage = 0x12;
constexpr std::uint8_t kAirTagStatusMask = 0x38;
constexpr std::uint8_t kAirTagStatus = 0x10;

constexpr std::uint16_t kTileUuid = 0xFEED;
constexpr std::uint16_t kTileOtherUuid = 0xFEEC;
constexpr std::uint16_t kSamsungUuid = 0xFD5A;
constexpr std::uint16_t kChipoloUuid = 0xFE33;
// Google's Find My Device network rides on the Eddystone service data, with frame types of its
// own: 0x40, and 0x41 while the accessory is in its unwanted-tracking protection mode.
constexpr std::uint16_t kEddystoneUuid = 0xFEAA;
constexpr std::uint8_t kFindMyDeviceFrame = 0x40;
constexpr std::uint8_t kFindMyDeviceProtectedFrame = 0x41;

std::optional<TTrackerKind> AppleKind(const TAdvertisement& ad) {
    for (const TManufacturerData& data : ad.manufacturerData) {
        if (data.companyId != kApple || data.payload.empty() || data.payload[0] != kFindMyMessage) continue;
        const bool airTag =
            data.payload.size() >= 3 && (data.payload[2] & kAirTagStatusMask) == kAirTagStatus;
        return airTag ? TTrackerKind::AppleAirTag : TTrackerKind::AppleFindMy;
    }
    return std::nullopt;
}

// The 16-bit UUID in a service UUID list or as the UUID of service data.
bool Announces(const TAdvertisement& ad, std::uint16_t uuid) {
    const auto is = [uuid](const TBluetoothUuid& u) { return u.Short16() == uuid; };
    return std::any_of(ad.serviceUuids.begin(), ad.serviceUuids.end(), is) ||
           std::any_of(ad.serviceData.begin(), ad.serviceData.end(),
                       [&](const TServiceData& data) { return is(data.uuid); });
}

bool GoogleFindMy(const TAdvertisement& ad) {
    return std::any_of(ad.serviceData.begin(), ad.serviceData.end(), [](const TServiceData& data) {
        return data.uuid.Short16() == kEddystoneUuid && !data.payload.empty() &&
               (data.payload[0] == kFindMyDeviceFrame || data.payload[0] == kFindMyDeviceProtectedFrame);
    });
}

}  // namespace

std::optional<TTrackerKind> TrackerKindOf(const TAdvertisement& ad) {
    if (const auto apple = AppleKind(ad)) return apple;
    if (Announces(ad, kTileUuid) || Announces(ad, kTileOtherUuid)) return TTrackerKind::Tile;
    if (Announces(ad, kSamsungUuid)) return TTrackerKind::SamsungSmartTag;
    if (GoogleFindMy(ad)) return TTrackerKind::GoogleFindMy;
    if (Announces(ad, kChipoloUuid)) return TTrackerKind::Chipolo;
    return std::nullopt;
}

const char* TrackerKindName(TTrackerKind kind) {
    switch (kind) {
        case TTrackerKind::AppleAirTag:
            return "Apple AirTag";
        case TTrackerKind::AppleFindMy:
            return "Apple Find My accessory";
        case TTrackerKind::Tile:
            return "Tile";
        case TTrackerKind::SamsungSmartTag:
            return "Samsung SmartTag";
        case TTrackerKind::GoogleFindMy:
            return "Google Find My";
        case TTrackerKind::Chipolo:
            return "Chipolo";
    }
    return "";
}

}  // namespace qm
