#pragma once
// Which devices the device view lists: the hide-inactive rule and the device filter, a kind and a
// value chosen in the filter tree.

#include <cstdint>
#include <optional>
#include <string>

#include "quillmark/core/BTDevice.h"
#include "quillmark/core/VendorRegistry.h"

namespace qm {

enum TFilterKind : int {
    fkNone = 0,
    fkLocation = 1,
    fkType = 2,
    fkLastSeen = 3,
    fkServices = 4,
    fkRadio = 5,    // "Classic", "Low Energy" or "Both"
    fkAddress = 6,  // AddressClassName of the device's address
    fkMaker = 7,    // DeviceMakerText
};

// The one value a device gives a single-valued kind (every kind but fkServices and fkNone, which
// give an empty text). The caller holds the device list's lock; now decides the last-seen bucket.
std::string DeviceFilterText(TBTDevice& device, TFilterKind kind, std::int32_t now,
                             const TVendorRegistry& vendors);

// The Services value of a device that announced a tracker, "Tracker: " and its kind's name.
std::optional<std::string> TrackerServiceText(const TDeviceAdvertising& advertising);

// The device passes when the field of the kind equals the value byte for byte, or for fkServices
// when one of the services or its tracker value does ignoring letter case. fkNone and any other
// kind admit every device. The caller holds the device list's lock; now decides the bucket.
bool PassesDeviceFilter(TBTDevice& device, TFilterKind kind, const std::string& value, std::int32_t now,
                        const TVendorRegistry& vendors = SystemVendorRegistry());

// The hide-inactive rule, then the device filter.
bool IsDeviceListed(TBTDevice& device, bool hideInactive, TFilterKind kind, const std::string& value,
                    std::int32_t now, const TVendorRegistry& vendors = SystemVendorRegistry());

}  // namespace qm
