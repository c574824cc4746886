#include "quillmark/core/DeviceFilter.h"

#include <algorithm>

#include "quillmark/core/TextCompare.h"
#include "quillmark/core/TimeText.h"

namespace qm {

bool PassesDeviceFilter(TBTDevice& device, TFilterKind kind, const std::string& value, std::int32_t now) {
    switch (kind) {
        case fkLocation:
            return device.Location() == value;
        case fkType:
            return DeviceClassName(device.MajorClass(), device.MinorClass()) == value;
        case fkLastSeen:
            return value == LastSeenBucket(device.LastSeen(), now);
        case fkServices: {
            const std::vector<std::string>& services = device.Services();
            return std::any_of(services.begin(), services.end(),
                               [&](const std::string& service) { return SameTextIgnoringCase(service, value); });
        }
        default:
            return true;
    }
}

bool IsDeviceListed(TBTDevice& device, bool hideInactive, TFilterKind kind, const std::string& value,
                    std::int32_t now) {
    if (hideInactive && !device.IsActive()) return false;
    return PassesDeviceFilter(device, kind, value, now);
}

}  // namespace qm
