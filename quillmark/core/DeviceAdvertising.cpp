#include "quillmark/core/DeviceAdvertising.h"

#include <algorithm>
#include <span>

namespace qm {

namespace {

std::span<const std::uint8_t> BytesOf(const std::string& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.data()), data.size()};
}

void AddUuids(std::vector<TBluetoothUuid>& known, const std::vector<TBluetoothUuid>& announced) {
    for (const TBluetoothUuid& uuid : announced)
        if (std::find(known.begin(), known.end(), uuid) == known.end()) known.push_back(uuid);
}

}  // namespace

void TakeAdvertisingData(TDeviceAdvertising& advertising, const std::string& data) {
    if (data.empty()) return;
    const TAdvertisement ad = ParseAdvertisingData(BytesOf(data));
    if (ad.txPower) advertising.txPower = ad.txPower;
    if (ad.appearance) advertising.appearance = ad.appearance;
    if (!ad.manufacturerData.empty()) advertising.manufacturer = ad.manufacturerData.front();
    AddUuids(advertising.uuids, ad.serviceUuids);
    for (const TServiceData& service : ad.serviceData) AddUuids(advertising.uuids, {service.uuid});
    if (const std::optional<TTrackerKind> tracker = TrackerKindOf(ad)) advertising.tracker = tracker;
}

void TakeSighting(TDeviceAdvertising& advertising, const TSighting& sighting) {
    if (sighting.transport == TTransport::Classic) {
        advertising.classic = true;
        if (!sighting.eir.empty()) advertising.eir = sighting.eir;
    } else {
        advertising.lowEnergy = true;
        advertising.addressType = sighting.addressType;
        if (!sighting.eir.empty())
            (sighting.scanResponse ? advertising.scanResponse : advertising.advertising) = sighting.eir;
    }
    TakeAdvertisingData(advertising, sighting.eir);
}

const char* TransportName(const TDeviceAdvertising& advertising) {
    if (advertising.lowEnergy) return advertising.classic ? "dual" : "le";
    return "classic";
}

}  // namespace qm
