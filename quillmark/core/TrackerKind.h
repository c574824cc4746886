#pragma once
// Location trackers recognised from their advertisements: the tracker networks' own manufacturer
// data and service UUIDs.

#include <cstdint>
#include <optional>

#include "quillmark/core/AdvertisingData.h"

namespace qm {

enum class TTrackerKind : std::uint8_t {
    AppleAirTag,
    AppleFindMy,  // another accessory of Apple's Find My network, or an Apple device in it
    Tile,
    SamsungSmartTag,
    GoogleFindMy,  // an accessory of Google's Find My Device network
    Chipolo,
};

// The tracker an advertisement announces; none for any other device.
std::optional<TTrackerKind> TrackerKindOf(const TAdvertisement& ad);

// "Apple AirTag", "Apple Find My accessory", "Tile", "Samsung SmartTag", "Google Find My",
// "Chipolo".
const char* TrackerKindName(TTrackerKind kind);

}  // namespace qm
