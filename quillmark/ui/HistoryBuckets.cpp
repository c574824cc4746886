#include "quillmark/ui/HistoryBuckets.h"

#include <algorithm>
#include <cstdint>

namespace qm::ui {

namespace {

// What a slice gathers before it is reduced to a bucket.
struct TGathered {
    THistoryBucket bucket;
    std::int64_t weight = 0;
    double weightedSum = 0;
    std::optional<double> rssiMin;
    std::optional<double> rssiMax;
};

// The slice holding the time, with times outside the range clamped to the first or last slice.
// Long double keeps the product exact enough for any range of 64-bit milliseconds.
int SliceOf(std::int64_t ms, const THistorySeries& series, int count) {
    const long double offset = static_cast<long double>(ms) - static_cast<long double>(series.fromMs);
    const long double range = static_cast<long double>(series.toMs) - static_cast<long double>(series.fromMs);
    const long double slice = offset * count / range;
    if (slice <= 0) return 0;
    if (slice >= count - 1) return count - 1;
    return static_cast<int>(slice);
}

void Gather(TGathered& slice, const THistoryPoint& point) {
    slice.bucket.presence[static_cast<std::size_t>(std::clamp(point.slot, 0, kLocationSlots))] +=
        std::max<std::int64_t>(1, point.minutes);
    if (!point.rssiMean) return;
    slice.rssiMin = std::min(slice.rssiMin.value_or(*point.rssiMin), static_cast<double>(*point.rssiMin));
    slice.rssiMax = std::max(slice.rssiMax.value_or(*point.rssiMax), static_cast<double>(*point.rssiMax));
    const std::int64_t weight = std::max<std::int64_t>(1, point.sightings);
    slice.weight += weight;
    slice.weightedSum += *point.rssiMean * static_cast<double>(weight);
}

THistoryBucket Reduce(const TGathered& slice) {
    THistoryBucket bucket = slice.bucket;
    if (slice.weight > 0) {
        bucket.rssiMin = slice.rssiMin;
        bucket.rssiMax = slice.rssiMax;
        bucket.rssiMean = slice.weightedSum / static_cast<double>(slice.weight);
    }
    return bucket;
}

}  // namespace

std::vector<THistoryBucket> BucketHistory(const THistorySeries& series, int count) {
    if (count <= 0) return {};
    std::vector<TGathered> slices(static_cast<std::size_t>(count));
    for (const THistoryPoint& point : series.points) {
        if (point.endMs <= series.fromMs || point.startMs >= series.toMs) continue;
        const int last = SliceOf(point.endMs - 1, series, count);
        for (int slice = SliceOf(point.startMs, series, count); slice <= last; ++slice)
            Gather(slices[static_cast<std::size_t>(slice)], point);
    }
    std::vector<THistoryBucket> buckets;
    buckets.reserve(slices.size());
    for (const TGathered& slice : slices) buckets.push_back(Reduce(slice));
    return buckets;
}

}  // namespace qm::ui
