#include "quillmark/core/SessionState.h"

#include <algorithm>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/TextCompare.h"

namespace qm {

TSessionState::TSessionState(const IClock& clock) : FDeviceList(clock) {}

void TSessionState::SetCurrentLocation(std::string location) {
    TDeviceListLock lock(FDeviceList);
    FLocation = std::move(location);
    const bool known =
        std::any_of(FLocationList.begin(), FLocationList.end(),
                    [this](const std::string& entry) { return SameTextIgnoringCase(entry, FLocation); });
    if (known) return;
    FLocationList.push_back(FLocation);
    std::stable_sort(
        FLocationList.begin(), FLocationList.end(),
        [](const std::string& a, const std::string& b) { return CompareTextIgnoringCase(a, b) < 0; });
}

}  // namespace qm
