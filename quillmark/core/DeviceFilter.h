#pragma once
// Which devices the device view lists: the hide-inactive rule and the device filter, a kind and a
// value chosen in the filter tree.

#include <cstdint>
#include <string>

#include "quillmark/core/BTDevice.h"

namespace qm {

enum TFilterKind : int { fkNone = 0, fkLocation = 1, fkType = 2, fkLastSeen = 3, fkServices = 4 };

// The device passes when the field of the kind equals the value: Location, the class description
// and the last-seen bucket byte for byte, one of the services ignoring letter case. fkNone and any
// other kind admit every device. The caller holds the device list's lock; now decides the bucket.
bool PassesDeviceFilter(TBTDevice& device, TFilterKind kind, const std::string& value, std::int32_t now);

// The hide-inactive rule, then the device filter.
bool IsDeviceListed(TBTDevice& device, bool hideInactive, TFilterKind kind, const std::string& value,
                    std::int32_t now);

}  // namespace qm
