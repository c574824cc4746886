#include "quillmark/core/DeviceFilter.h"

#include <algorithm>

#include "quillmark/core/DeviceAddressClass.h"
#include "quillmark/core/DeviceMaker.h"
#include "quillmark/core/TextCompare.h"
#include "quillmark/core/TimeText.h"

namespace qm {

namespace {

// A device heard on neither transport was read from a session file, which holds classic devices.
const char* RadioText(const TDeviceAdvertising& advertising) {
    if (advertising.classic && advertising.lowEnergy) return "Both";
    return advertising.lowEnergy ? "Low Energy" : "Classic";
}

bool PassesServices(TBTDevice& device, const std::string& value) {
    const std::vector<std::string>& services = device.Services();
    if (std::any_of(services.begin(), services.end(),
                    [&](const std::string& service) { return SameTextIgnoringCase(service, value); }))
        return true;
    const std::optional<std::string> tracker = TrackerServiceText(device.Advertising());
    return tracker && SameTextIgnoringCase(*tracker, value);
}

}  // namespace

std::string DeviceFilterText(TBTDevice& device, TFilterKind kind, std::int32_t now,
                             const TVendorRegistry& vendors) {
    switch (kind) {
        case fkLocation:
            return device.Location();
        case fkType:
            return DeviceClassName(device.MajorClass(), device.MinorClass());
        case fkLastSeen:
            return LastSeenBucket(device.LastSeen(), now);
        case fkRadio:
            return RadioText(device.Advertising());
        case fkAddress:
            return AddressClassName(AddressClassOf(device));
        case fkMaker:
            return DeviceMakerText(device, vendors);
        default:
            return {};
    }
}

std::optional<std::string> TrackerServiceText(const TDeviceAdvertising& advertising) {
    if (!advertising.tracker) return std::nullopt;
    return std::string("Tracker: ") + TrackerKindName(*advertising.tracker);
}

bool PassesDeviceFilter(TBTDevice& device, TFilterKind kind, const std::string& value, std::int32_t now,
                        const TVendorRegistry& vendors) {
    switch (kind) {
        case fkLocation:
        case fkType:
        case fkLastSeen:
        case fkRadio:
        case fkAddress:
        case fkMaker:
            return DeviceFilterText(device, kind, now, vendors) == value;
        case fkServices:
            return PassesServices(device, value);
        default:
            return true;
    }
}

bool IsDeviceListed(TBTDevice& device, bool hideInactive, TFilterKind kind, const std::string& value,
                    std::int32_t now, const TVendorRegistry& vendors) {
    if (hideInactive && !device.IsActive()) return false;
    return PassesDeviceFilter(device, kind, value, now, vendors);
}

}  // namespace qm
