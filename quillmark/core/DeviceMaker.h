#pragma once
// The maker shown for a device. A public address names its maker in its first three bytes, looked
// up in the IEEE registry; a random LE address says nothing about its maker, so it shows the
// company of the manufacturer data it sent, else "(random)".

#include <string>

#include "quillmark/core/BTDevice.h"
#include "quillmark/core/VendorRegistry.h"

namespace qm {

// The caller holds the list's lock.
std::string DeviceMakerText(const TBTDevice& device, const TVendorRegistry& vendors);

}  // namespace qm
