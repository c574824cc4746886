#include "quillmark/core/RestoreSignals.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"

namespace qm {

namespace {

std::vector<std::string> Addresses(TDeviceList& list) {
    TDeviceListLock lock(list);
    std::vector<std::string> addresses;
    addresses.reserve(static_cast<std::size_t>(lock->Count()));
    for (int i = 0; i < lock->Count(); ++i) addresses.push_back(lock->Items(i).Address());
    return addresses;
}

}  // namespace

void RestoreSignals(TDeviceList& list, IHistoryReader& history) {
    std::vector<std::pair<std::string, std::int8_t>> signals;
    try {
        for (std::string& address : Addresses(list))
            if (const std::optional<THistoryLatest> latest = history.Latest(address); latest && latest->rssi)
                signals.emplace_back(std::move(address), *latest->rssi);
    } catch (const TError&) {
        return;
    }
    TDeviceListLock lock(list);
    for (const auto& [address, rssi] : signals)
        if (TBTDevice* device = lock->FindDevice(address); device && !device->Signal()) device->SetSignal(rssi);
}

}  // namespace qm
