#pragma once
// What the sighting history adds to the inventory report: per device, the signal of its latest
// sighting and the number of minutes it was present. A report made without history leaves these
// columns out; one made with history shows them for every device, empty where the history knows
// nothing.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/DeviceReport.h"
#include "quillmark/core/HistoryStore.h"

namespace qm {

struct TDeviceHistoryFacts {
    std::optional<int> rssi;  // dBm
    std::int64_t minutesPresent = 0;
};

// By address; a device that is not in it has no signal and no minutes.
using TReportHistory = std::map<std::string, TDeviceHistoryFacts, std::less<>>;

// The facts of the devices of the rows. Raises TError when the history cannot be read.
TReportHistory ReadReportHistory(IHistoryReader& reader, const std::vector<TDeviceReportRow>& rows);

// The facts of one device, the empty ones when the history has none.
const TDeviceHistoryFacts& HistoryFactsOf(const TReportHistory& history, const std::string& address);

}  // namespace qm
