#pragma once
// Paints one device's history over a time range: a strip with the minutes it was present, coloured
// by location (locations of the same moments share the strip's height), and below it the signal
// strength as a line of the mean with the band from minimum to maximum shaded, broken where no
// signal was recorded; the time axis beneath is labelled in local time, the signal axis in dBm. The
// series is gathered into one bucket per pixel column, so painting does not grow with the number of
// rows.

#include <QWidget>
#include <vector>

#include "quillmark/ui/HistoryBuckets.h"
#include "quillmark/ui/HistorySeries.h"

namespace qm::ui {

class THistoryTimeline final : public QWidget {
    Q_OBJECT

public:
    explicit THistoryTimeline(QWidget* parent = nullptr);

    void SetSeries(THistorySeries series);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct TLayout;
    TLayout Measure() const;
    const std::vector<THistoryBucket>& Buckets(int count) const;
    void PaintPresence(QPainter& painter, const TLayout& layout) const;
    void PaintSignalAxis(QPainter& painter, const TLayout& layout) const;
    void PaintSignal(QPainter& painter, const TLayout& layout) const;
    void PaintSignalRun(QPainter& painter, const QRect& plot, const std::vector<THistoryBucket>& buckets,
                        int start, int end) const;
    void PaintTimeAxis(QPainter& painter, const TLayout& layout) const;

    THistorySeries FSeries;
    // The signal axis: -100 to -30 dBm, widened in steps of 10 to take in every signal shown, up to
    // -130 and +20 dBm.
    int FLowDbm;
    int FHighDbm;
    // The buckets of the last width painted; a cache, filled while painting.
    mutable std::vector<THistoryBucket> FBuckets;
    mutable int FBucketCount = -1;
};

}  // namespace qm::ui
