#include "quillmark/core/DeviceMaker.h"

#include "quillmark/core/AssignedNumbers.h"

namespace qm {

std::string DeviceMakerText(const TBTDevice& device, const TVendorRegistry& vendors) {
    const TDeviceAdvertising& advertising = device.Advertising();
    const std::optional<std::string_view> company =
        advertising.manufacturer ? CompanyName(advertising.manufacturer->companyId) : std::nullopt;
    if (advertising.lowEnergy && advertising.addressType == TAddressType::Random)
        return std::string(company.value_or(kRandomAddressVendor));
    return std::string(vendors.VendorOf(device.Address()));
}

}  // namespace qm
