// What the History page's timeline is drawn from: the series made of the reader's rows (minutes
// per location, colour slots), its pixel buckets (presence, signal band and gaps), and the time
// axis ticks, over plain rows, hour rows, rows outside the range and times at the edges of what
// the store can hold.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "quillmark/ui/HistoryBuckets.h"
#include "quillmark/ui/HistorySeries.h"
#include "quillmark/ui/TimeAxisTicks.h"

namespace {

using qm::ui::BucketHistory;
using qm::ui::MakeHistorySeries;

constexpr std::int64_t kMinuteMs = 60'000;
constexpr std::int64_t kHourMs = 60 * kMinuteMs;
constexpr std::int64_t kStartMs = 1'700'000'000'000 / kHourMs * kHourMs;

qm::THistoryMinute Row(std::int64_t minute, const std::string& location, std::int64_t sightings = 1,
                       std::optional<int> rssi = {}, int span = 1) {
    qm::THistoryMinute row;
    row.minuteMs = kStartMs + minute * kMinuteMs;
    row.spanMinutes = span;
    row.location = location;
    row.sightings = sightings;
    if (rssi) {
        row.rssiMin = *rssi - 5;
        row.rssiMax = *rssi + 5;
        row.rssiMean = *rssi;
    }
    return row;
}

std::int64_t Present(const qm::ui::THistoryBucket& bucket) {
    std::int64_t minutes = 0;
    for (const std::int64_t slot : bucket.presence) minutes += slot;
    return minutes;
}

TEST(HistorySeries, MinutesPerLocationRankAndSlots) {
    std::vector<qm::THistoryMinute> rows = {
        Row(0, "A"),
        Row(1, "B"),
        Row(1, "B"),  // two transports in one minute count once
        Row(2, "B"),
        Row(3, "C", 200, {}, 60),  // an hour row counts its sightings, at most 60
        Row(63, "D", 7, {}, 60),
    };
    rows[2].transport = qm::TTransport::LowEnergy;
    const qm::ui::THistorySeries series = MakeHistorySeries(rows, kStartMs, kStartMs + 2 * kHourMs);
    std::vector<std::pair<std::string, std::int64_t>> minutes;
    for (const auto& location : series.locations) minutes.emplace_back(location.name, location.minutes);
    EXPECT_EQ(minutes,
              (std::vector<std::pair<std::string, std::int64_t>>{{"C", 60}, {"D", 7}, {"B", 2}, {"A", 1}}));
    for (std::size_t rank = 0; rank < series.locations.size(); ++rank)
        EXPECT_EQ(series.locations[rank].slot, static_cast<int>(rank));
    EXPECT_EQ(series.points.size(), rows.size());
}

TEST(HistorySeries, LocationsBeyondTheColoursShareTheLastSlot) {
    std::vector<qm::THistoryMinute> rows;
    for (int location = 0; location < qm::ui::kLocationSlots + 3; ++location)
        for (int minute = 0; minute <= 20 - location; ++minute)
            rows.push_back(Row(minute, std::to_string(location)));
    const qm::ui::THistorySeries series = MakeHistorySeries(rows, kStartMs, kStartMs + kHourMs);
    ASSERT_EQ(series.locations.size(), static_cast<std::size_t>(qm::ui::kLocationSlots + 3));
    for (std::size_t rank = 0; rank < series.locations.size(); ++rank)
        EXPECT_EQ(series.locations[rank].slot, std::min<int>(static_cast<int>(rank), qm::ui::kLocationSlots));
}

TEST(HistoryBuckets, PresenceAndSignalBySliceWithGaps) {
    // An hour in six slices of ten minutes.
    const std::vector<qm::THistoryMinute> rows = {
        Row(-5, "A", 1, -40),                       // before the range: nowhere
        Row(0, "A", 1, -60),  Row(1, "A", 3, -80),  // slice 0: mean weighted by sightings
        Row(25, "B"),                               // slice 2: present, no signal
        Row(60, "A", 1, -40),                       // at the range's end: nowhere
    };
    const qm::ui::THistorySeries series = MakeHistorySeries(rows, kStartMs, kStartMs + kHourMs);
    const std::vector<qm::ui::THistoryBucket> buckets = BucketHistory(series, 6);
    ASSERT_EQ(buckets.size(), 6u);
    EXPECT_EQ(buckets[0].presence[0], 2);
    EXPECT_EQ(buckets[0].rssiMin, -85);
    EXPECT_EQ(buckets[0].rssiMax, -55);
    EXPECT_DOUBLE_EQ(*buckets[0].rssiMean, -75);
    EXPECT_EQ(buckets[2].presence[1], 1);
    EXPECT_FALSE(buckets[2].rssiMean);
    for (const int empty : {1, 3, 4, 5}) {
        SCOPED_TRACE(empty);
        EXPECT_EQ(Present(buckets[static_cast<std::size_t>(empty)]), 0);
        EXPECT_FALSE(buckets[static_cast<std::size_t>(empty)].rssiMean);
    }
    EXPECT_TRUE(BucketHistory(series, 0).empty());
}

TEST(HistoryBuckets, AnHourRowFillsEverySliceItOverlaps) {
    const std::vector<qm::THistoryMinute> rows = {Row(0, "A", 30, -70, 60)};
    const std::vector<qm::ui::THistoryBucket> buckets =
        BucketHistory(MakeHistorySeries(rows, kStartMs + 30 * kMinuteMs, kStartMs + 90 * kMinuteMs), 4);
    ASSERT_EQ(buckets.size(), 4u);
    for (std::size_t slice = 0; slice < 4; ++slice) {
        SCOPED_TRACE(slice);
        EXPECT_EQ(Present(buckets[slice]) > 0, slice < 2);
        EXPECT_EQ(buckets[slice].rssiMean.has_value(), slice < 2);
    }
}

// Rows at the far ends of what the reader gives (it clamps times to half the int64 range of
// milliseconds), whose range is wider than an int64 holds, and a reversed range neither overflow
// nor lose the rows inside.
TEST(HistoryBuckets, ExtremeTimesAndAnEmptyRange) {
    constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 2 / kMinuteMs * kMinuteMs;
    std::vector<qm::THistoryMinute> rows = {Row(0, "A", 1, -50), Row(0, "B", 1, -50, 60)};
    rows[0].minuteMs = -kFar;
    rows[1].minuteMs = kFar;
    const auto range = qm::ui::RowsRange(rows);
    ASSERT_TRUE(range);
    const std::vector<qm::ui::THistoryBucket> buckets =
        BucketHistory(MakeHistorySeries(rows, range->fromMs, range->toMs), 100);
    EXPECT_EQ(buckets.front().presence[0] + buckets.front().presence[1], 1);
    EXPECT_EQ(Present(buckets.back()), 1);
    const qm::ui::THistorySeries reversed = MakeHistorySeries(rows, 10, 5);
    EXPECT_LT(reversed.fromMs, reversed.toMs);
    EXPECT_FALSE(qm::ui::RowsRange({}));
}

// For ranges from an hour to years and widths from narrow to wide: the ticks lie in the range, on
// whole steps of local time, and far enough apart for their labels.
TEST(TimeAxisTicks, LabelsFitAndFallOnWholeLocalSteps) {
    const QFontMetrics metrics(QApplication::font());
    const struct {
        std::int64_t lengthMs;
        int width;
    } cases[] = {{kHourMs, 200},          {kHourMs, 900},           {24 * kHourMs, 400},
                 {7 * 24 * kHourMs, 400}, {30 * 24 * kHourMs, 700}, {3 * 365 * 24 * kHourMs, 500}};
    const std::int64_t fromMs = kStartMs + 17 * kMinuteMs + 1234;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lengthMs << " ms over " << c.width << " px");
        const auto ticks = qm::ui::TimeAxisTicks(fromMs, fromMs + c.lengthMs, c.width, metrics);
        ASSERT_GE(ticks.size(), 2u);
        const long double pxPerMs = static_cast<long double>(c.width) / c.lengthMs;
        for (std::size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_GE(ticks[i].ms, fromMs);
            EXPECT_LT(ticks[i].ms, fromMs + c.lengthMs);
            EXPECT_FALSE(ticks[i].label.isEmpty());
            EXPECT_EQ(QDateTime::fromMSecsSinceEpoch(ticks[i].ms).time().second(), 0);
            if (i == 0) continue;
            const long double apart = (ticks[i].ms - ticks[i - 1].ms) * pxPerMs;
            EXPECT_GE(apart, (metrics.horizontalAdvance(ticks[i].label) +
                              metrics.horizontalAdvance(ticks[i - 1].label)) /
                                 2.0L);
        }
    }
    EXPECT_TRUE(qm::ui::TimeAxisTicks(5, 5, 100, metrics).empty());
    EXPECT_TRUE(qm::ui::TimeAxisTicks(0, kHourMs, 0, metrics).empty());
}

}  // namespace
