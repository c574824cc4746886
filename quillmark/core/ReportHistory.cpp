#include "quillmark/core/ReportHistory.h"

namespace qm {

// One summary of every device, then the latest sighting of each address in the rows.
TReportHistory ReadReportHistory(IHistoryReader& reader, const std::vector<TDeviceReportRow>& rows) {
    TReportHistory history;
    for (const TDeviceReportRow& row : rows) history.try_emplace(row.address);
    for (const THistoryDeviceSummary& summary : reader.Summary()) {
        const auto found = history.find(summary.address);
        if (found != history.end()) found->second.minutesPresent = summary.minutesPresent;
    }
    for (auto& [address, facts] : history) {
        const std::optional<THistoryLatest> latest = reader.Latest(address);
        if (latest && latest->rssi) facts.rssi = *latest->rssi;
    }
    return history;
}

const TDeviceHistoryFacts& HistoryFactsOf(const TReportHistory& history, const std::string& address) {
    static const TDeviceHistoryFacts kNone;
    const auto found = history.find(address);
    return found == history.end() ? kNone : found->second;
}

}  // namespace qm
