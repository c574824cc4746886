#pragma once
// A history series gathered into equal slices of its range, one per pixel column of the timeline,
// so that painting costs the same for an hour of rows as for a month of them.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "quillmark/ui/HistorySeries.h"

namespace qm::ui {

struct THistoryBucket {
    // The minutes present in the slice by location slot (a row's minutes count in every slice it
    // overlaps); all zero when the device was absent.
    std::array<std::int64_t, kLocationSlots + 1> presence{};
    std::optional<double> rssiMin;  // dBm over the slice's rows that carried a signal
    std::optional<double> rssiMax;
    std::optional<double> rssiMean;  // weighted by each row's sightings
};

// count slices of [series.fromMs, series.toMs); a row falls into every slice it overlaps. No
// slices when count is not positive.
std::vector<THistoryBucket> BucketHistory(const THistorySeries& series, int count);

}  // namespace qm::ui
