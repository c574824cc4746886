#pragma once
// What kind of device an LE advertiser is, from what it announced: the closest of the fourteen
// persisted kinds and the Type column's text (the appearance's name, a well-known advertisement
// pattern's name, or "LE device"), and a finer picture for the device view.

#include <string>

#include "quillmark/core/BluetoothNames.h"
#include "quillmark/core/DeviceAdvertising.h"

namespace qm {

struct TDeviceKind {
    TDeviceType type = dtOther;
    std::string text;  // "Watch: Smartwatch", "Apple device", "Windows PC", "Tile", "LE device"
};

// A finer picture than the fourteen kinds, for devices whose picture says more than dtOther does.
enum class TDevicePicture : std::uint8_t { None, Watch, Earbuds, Tracker, Beacon, Tv };

// The kind of a device heard over LE: from its appearance when it announced one, else from its
// tracker kind or manufacturer data pattern, else dtOther with "LE device".
TDeviceKind LeDeviceKind(const TDeviceAdvertising& advertising);

// The persisted kind of an appearance: its category mapped to the closest of the fourteen.
TDeviceType DeviceTypeOfAppearance(std::uint16_t appearance);

TDevicePicture DevicePictureOf(const TDeviceAdvertising& advertising);

}  // namespace qm
