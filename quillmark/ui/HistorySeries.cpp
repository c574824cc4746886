#include "quillmark/ui/HistorySeries.h"

#include <algorithm>
#include <limits>
#include <map>
#include <numeric>

namespace qm::ui {

namespace {

constexpr std::int64_t kMsPerMinute = 60000;
constexpr std::int64_t kMinutesPerHour = 60;

// The row's end, short of overflow.
std::int64_t EndOf(const qm::THistoryMinute& row) {
    const std::int64_t span = std::int64_t{row.spanMinutes} * kMsPerMinute;
    return row.minuteMs > std::numeric_limits<std::int64_t>::max() - span ? row.minuteMs
                                                                          : row.minuteMs + span;
}

bool SameMinuteAndPlace(const qm::THistoryMinute& a, const qm::THistoryMinute& b) {
    return a.minuteMs == b.minuteMs && a.spanMinutes == b.spanMinutes && a.location == b.location;
}

std::int64_t MinutesOf(const qm::THistoryMinute& row) {
    return row.spanMinutes == 1 ? 1 : std::clamp<std::int64_t>(row.sightings, 0, kMinutesPerHour);
}

// The locations with their minutes, in the order first met, and each row's index into them.
std::vector<THistoryLocation> CountLocations(const std::vector<qm::THistoryMinute>& rows,
                                             std::vector<std::size_t>& rowLocation) {
    std::vector<THistoryLocation> locations;
    std::map<std::string, std::size_t> index;
    rowLocation.resize(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto [found, added] = index.try_emplace(rows[i].location, locations.size());
        if (added) locations.push_back({rows[i].location, 0, 0});
        rowLocation[i] = found->second;
        // The rows of one minute and place (one per transport) come together.
        if (i == 0 || !SameMinuteAndPlace(rows[i - 1], rows[i]))
            locations[found->second].minutes += MinutesOf(rows[i]);
    }
    return locations;
}

}  // namespace

THistorySeries MakeHistorySeries(const std::vector<qm::THistoryMinute>& rows, std::int64_t fromMs,
                                 std::int64_t toMs) {
    THistorySeries series;
    series.fromMs = fromMs;
    series.toMs = toMs > fromMs ? toMs : fromMs + 1;
    std::vector<std::size_t> rowLocation;
    std::vector<THistoryLocation> met = CountLocations(rows, rowLocation);
    std::vector<std::size_t> ranking(met.size());
    std::iota(ranking.begin(), ranking.end(), std::size_t{0});
    std::stable_sort(ranking.begin(), ranking.end(),
                     [&](std::size_t a, std::size_t b) { return met[a].minutes > met[b].minutes; });
    std::vector<int> slotOf(met.size());
    for (std::size_t rank = 0; rank < ranking.size(); ++rank) {
        THistoryLocation location = std::move(met[ranking[rank]]);
        location.slot = static_cast<int>(std::min<std::size_t>(rank, kLocationSlots));
        slotOf[ranking[rank]] = location.slot;
        series.locations.push_back(std::move(location));
    }
    series.points.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qm::THistoryMinute& row = rows[i];
        THistoryPoint point{
            row.minuteMs, EndOf(row), slotOf[rowLocation[i]], MinutesOf(row), row.sightings, {}, {}, {}};
        if (row.rssiMin && row.rssiMax && row.rssiMean) {
            point.rssiMin = row.rssiMin;
            point.rssiMax = row.rssiMax;
            point.rssiMean = row.rssiMean;
        }
        series.points.push_back(point);
    }
    return series;
}

std::optional<TTimeRange> RowsRange(const std::vector<qm::THistoryMinute>& rows) {
    if (rows.empty()) return std::nullopt;
    TTimeRange range{rows.front().minuteMs, EndOf(rows.front())};
    for (const qm::THistoryMinute& row : rows) {
        range.fromMs = std::min(range.fromMs, row.minuteMs);
        range.toMs = std::max(range.toMs, EndOf(row));
    }
    return range;
}

}  // namespace qm::ui
