#pragma once
// One device's history over a time range, made compact for painting: every row keeps its time,
// span, location slot and signal; the locations are ranked by the minutes the device was present
// there. The first kLocationSlots locations of the ranking get a colour slot of their own, the
// others share the last slot.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/HistoryStore.h"

namespace qm::ui {

// Colour slots for locations of their own; slot kLocationSlots is shared by the rest.
inline constexpr int kLocationSlots = 8;

struct THistoryLocation {
    std::string name;
    // Minute rows count one minute each (several transports in one minute count once); an hour row
    // counts its sightings, at most 60, since each minute present holds at least one sighting.
    std::int64_t minutes = 0;
    int slot = 0;
};

struct THistoryPoint {
    std::int64_t startMs = 0;
    std::int64_t endMs = 0;
    int slot = 0;
    std::int64_t minutes = 0;  // counted as THistoryLocation counts them
    std::int64_t sightings = 0;
    std::optional<int> rssiMin;  // dBm; min, max and mean are there together or not at all
    std::optional<int> rssiMax;
    std::optional<double> rssiMean;
};

struct THistorySeries {
    std::int64_t fromMs = 0;  // the range painted, [fromMs, toMs), never empty
    std::int64_t toMs = 1;
    std::vector<THistoryLocation> locations;  // most minutes first; ties in the order first met
    std::vector<THistoryPoint> points;        // oldest first
};

// The rows as the reader gave them for [fromMs, toMs); an empty or reversed range becomes one
// millisecond long.
THistorySeries MakeHistorySeries(const std::vector<qm::THistoryMinute>& rows, std::int64_t fromMs,
                                 std::int64_t toMs);

// [fromMs, toMs) reaching from the first row's start to the last row's end; nullopt without rows.
struct TTimeRange {
    std::int64_t fromMs = 0;
    std::int64_t toMs = 0;
};
std::optional<TTimeRange> RowsRange(const std::vector<qm::THistoryMinute>& rows);

}  // namespace qm::ui
