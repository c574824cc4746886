#include "quillmark/bluetooth/platform/LeSighting.h"

#include "quillmark/core/AdvertisingData.h"

namespace qm::bt {

namespace {

// Report address types 0 and 2 are public, 1 and 3 random.
TAddressType AddressTypeOf(std::uint8_t reportType) {
    return (reportType & 0x01) ? TAddressType::Random : TAddressType::Public;
}

}  // namespace

std::optional<TSighting> LeSighting(const THciLeReport& report) {
    if (report.addressType == le::kAddressAnonymous) return std::nullopt;
    TSighting sighting;
    sighting.address = BTAddressToString(report.address);
    sighting.transport = TTransport::LowEnergy;
    sighting.addressType = AddressTypeOf(report.addressType);
    sighting.rssi = report.rssi;
    sighting.receivedMs = report.receivedMs;
    sighting.name = ParseAdvertisingData(report.data).name.value_or(std::string());
    sighting.eir.assign(report.data.begin(), report.data.end());
    sighting.scanResponse = report.ScanResponse();
    return sighting;
}

}  // namespace qm::bt
