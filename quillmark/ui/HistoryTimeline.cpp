#include "quillmark/ui/HistoryTimeline.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "quillmark/ui/ColourBlend.h"
#include "quillmark/ui/HistoryColours.h"
#include "quillmark/ui/TimeAxisTicks.h"

namespace qm::ui {

namespace {

constexpr int kWeakestShown = -100;
constexpr int kStrongestShown = -30;
// The axis widens to take in stronger and weaker signals, but not beyond what a receiver can
// report; readings outside are cut off at the plot's edge.
constexpr int kWeakestAxis = -130;
constexpr int kStrongestAxis = 20;
constexpr int kDbmStep = 10;
// Share of the background in the grid's colour: a faint line of the text colour.
constexpr qreal kGridGround = 0.82;
constexpr qreal kFrameGround = 0.6;
constexpr int kBandAlpha = 80;
// The size the timeline asks for, in average characters and lines of its font.
constexpr int kPreferredColumns = 70;
constexpr int kPreferredLines = 13;
constexpr int kMinimumColumns = 40;
constexpr int kMinimumLines = 10;

QString DbmText(int dbm) {
    return QStringLiteral("%1 dBm").arg(dbm);
}

int FloorToStep(double dbm) {
    return static_cast<int>(std::floor(dbm / kDbmStep)) * kDbmStep;
}

int CeilToStep(double dbm) {
    return static_cast<int>(std::ceil(dbm / kDbmStep)) * kDbmStep;
}

}  // namespace

struct THistoryTimeline::TLayout {
    int line = 0;  // the font's line height
    QRect presence;
    QRect signal;
    int axisTop = 0;  // where the tick marks start, below the signal plot
};

THistoryTimeline::THistoryTimeline(QWidget* parent)
    : QWidget(parent), FLowDbm(kWeakestShown), FHighDbm(kStrongestShown) {
    setObjectName("HistoryTimeline");
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void THistoryTimeline::SetSeries(THistorySeries series) {
    FSeries = std::move(series);
    FBucketCount = -1;
    double low = kWeakestShown;
    double high = kStrongestShown;
    for (const THistoryPoint& point : FSeries.points)
        if (point.rssiMin && point.rssiMax) {
            low = std::min(low, static_cast<double>(*point.rssiMin));
            high = std::max(high, static_cast<double>(*point.rssiMax));
        }
    FLowDbm = std::max(kWeakestAxis, FloorToStep(low));
    FHighDbm = std::min(kStrongestAxis, CeilToStep(high));
    update();
}

QSize THistoryTimeline::sizeHint() const {
    return {fontMetrics().averageCharWidth() * kPreferredColumns, fontMetrics().height() * kPreferredLines};
}

QSize THistoryTimeline::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * kMinimumColumns, fontMetrics().height() * kMinimumLines};
}

// The strip on top, one line and a half high; the plot below it, a line apart; the tick marks and
// time labels under the plot. The captions and signal labels take the column on the left; half a
// time label is left free on the right, where the last label may reach.
THistoryTimeline::TLayout THistoryTimeline::Measure() const {
    const QFontMetrics metrics = fontMetrics();
    TLayout layout;
    layout.line = metrics.height();
    const int pad = layout.line / 2;
    const int labels =
        std::max({metrics.horizontalAdvance(DbmText(FLowDbm)), metrics.horizontalAdvance(DbmText(FHighDbm)),
                  metrics.horizontalAdvance(QStringLiteral("Present"))});
    const int left = pad + labels + pad;
    const int right = width() - pad - metrics.horizontalAdvance(QStringLiteral("00:00"));
    const int plotWidth = std::max(1, right - left);
    layout.presence = QRect(left, pad, plotWidth, layout.line + pad);
    const int signalTop = layout.presence.bottom() + 1 + layout.line;
    const int axisHeight = pad + layout.line;
    layout.signal = QRect(left, signalTop, plotWidth, std::max(1, height() - pad - axisHeight - signalTop));
    layout.axisTop = layout.signal.bottom() + 1;
    return layout;
}

const std::vector<THistoryBucket>& THistoryTimeline::Buckets(int count) const {
    if (count != FBucketCount) {
        FBuckets = BucketHistory(FSeries, count);
        FBucketCount = count;
    }
    return FBuckets;
}

void THistoryTimeline::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const TLayout layout = Measure();
    const QColor base = palette().color(QPalette::Base);
    const QColor frame =
        BlendColours(palette().color(QPalette::WindowText), palette().color(QPalette::Window), kFrameGround);
    for (const QRect& area : {layout.presence, layout.signal}) {
        painter.fillRect(area, base);
        painter.setPen(frame);
        painter.drawRect(area.adjusted(-1, -1, 0, 0));
    }
    PaintSignalAxis(painter, layout);
    PaintTimeAxis(painter, layout);
    PaintPresence(painter, layout);
    PaintSignal(painter, layout);
}

// Each column stacks the locations present in its slice, in slot order, each as high as its share of
// the slice's minutes; a location present at all gets at least one pixel.
void THistoryTimeline::PaintPresence(QPainter& painter, const TLayout& layout) const {
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect caption(0, layout.presence.top(), layout.presence.left() - layout.line / 2,
                        layout.presence.height());
    painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                     QStringLiteral("Present"));
    const std::vector<THistoryBucket>& buckets = Buckets(layout.presence.width());
    const int height = layout.presence.height();
    for (std::size_t column = 0; column < buckets.size(); ++column) {
        const auto& presence = buckets[column].presence;
        std::int64_t total = 0;
        for (const std::int64_t minutes : presence) total += minutes;
        if (total <= 0) continue;
        const int x = layout.presence.left() + static_cast<int>(column);
        std::int64_t above = 0;
        for (std::size_t slot = 0; slot < presence.size(); ++slot) {
            if (presence[slot] <= 0) continue;
            const int top = static_cast<int>(above * height / total);
            above += presence[slot];
            const int bottom = std::max(top + 1, static_cast<int>(above * height / total));
            painter.fillRect(x, layout.presence.top() + top, 1, bottom - top,
                             LocationColour(static_cast<int>(slot)));
        }
    }
}

// Grid lines every 10 dBm, or every 20 or 40 where the plot is too low for labels that close.
void THistoryTimeline::PaintSignalAxis(QPainter& painter, const TLayout& layout) const {
    const QRect& plot = layout.signal;
    const int span = std::max(kDbmStep, FHighDbm - FLowDbm);
    int step = kDbmStep;
    while (step < span && plot.height() * step / span < layout.line + layout.line / 4) step *= 2;
    const QColor grid =
        BlendColours(palette().color(QPalette::Text), palette().color(QPalette::Base), kGridGround);
    for (int dbm = FHighDbm; dbm >= FLowDbm; dbm -= step) {
        const int y = plot.bottom() - (dbm - FLowDbm) * (plot.height() - 1) / span;
        painter.setPen(grid);
        if (dbm != FLowDbm && dbm != FHighDbm) painter.drawLine(plot.left(), y, plot.right(), y);
        painter.setPen(palette().color(QPalette::WindowText));
        const QRect label(0, y - layout.line / 2, plot.left() - layout.line / 2, layout.line);
        painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, DbmText(dbm));
    }
}

// The band from the weakest to the strongest reading and the line of the mean over the columns
// [start, end), all of which have a signal. A run of one column is drawn as wide as that column,
// so that a single reading still shows.
void THistoryTimeline::PaintSignalRun(QPainter& painter, const QRect& plot,
                                      const std::vector<THistoryBucket>& buckets, int start, int end) const {
    const double span = std::max(kDbmStep, FHighDbm - FLowDbm);
    const auto y = [&](double dbm) { return plot.bottom() + 1 - (dbm - FLowDbm) * plot.height() / span; };
    QPolygonF top;
    QPolygonF bottom;
    QPolygonF mean;
    const auto add = [&](double x, const THistoryBucket& bucket) {
        top << QPointF(plot.left() + x, y(*bucket.rssiMax));
        bottom.prepend(QPointF(plot.left() + x, y(*bucket.rssiMin)));
        mean << QPointF(plot.left() + x, y(*bucket.rssiMean));
    };
    if (end - start == 1) {
        add(start, buckets[static_cast<std::size_t>(start)]);
        add(start + 1, buckets[static_cast<std::size_t>(start)]);
    } else {
        for (int i = start; i < end; ++i) add(i + 0.5, buckets[static_cast<std::size_t>(i)]);
    }
    const QColor ink = palette().color(QPalette::Link);
    QColor band = ink;
    band.setAlpha(kBandAlpha);
    painter.setPen(Qt::NoPen);
    painter.setBrush(band);
    painter.drawPolygon(top + bottom);
    painter.setPen(QPen(ink, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(mean);
}

// Each run of columns with a signal, broken where a column has none; a plot without any signal
// says so.
void THistoryTimeline::PaintSignal(QPainter& painter, const TLayout& layout) const {
    const QRect& plot = layout.signal;
    const std::vector<THistoryBucket>& buckets = Buckets(plot.width());
    const auto hasSignal = [&](int column) {
        return buckets[static_cast<std::size_t>(column)].rssiMean.has_value();
    };
    painter.save();
    painter.setClipRect(plot);
    painter.setRenderHint(QPainter::Antialiasing);
    bool anySignal = false;
    const int count = static_cast<int>(buckets.size());
    for (int start = 0; start < count;) {
        if (!hasSignal(start)) {
            ++start;
            continue;
        }
        int end = start + 1;
        while (end < count && hasSignal(end)) ++end;
        PaintSignalRun(painter, plot, buckets, start, end);
        anySignal = true;
        start = end;
    }
    painter.restore();
    if (!anySignal) {
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(plot, Qt::AlignCenter | Qt::TextSingleLine,
                         QStringLiteral("No signal strength recorded"));
    }
}

// A faint line through the plot and a tick mark under it at each tick, the label centred below
// and kept inside the widget.
void THistoryTimeline::PaintTimeAxis(QPainter& painter, const TLayout& layout) const {
    const QRect& plot = layout.signal;
    const QFontMetrics metrics = fontMetrics();
    const long double range =
        static_cast<long double>(FSeries.toMs) - static_cast<long double>(FSeries.fromMs);
    const QColor grid =
        BlendColours(palette().color(QPalette::Text), palette().color(QPalette::Base), kGridGround);
    const int tick = layout.line / 4;
    for (const TTimeTick& mark : TimeAxisTicks(FSeries.fromMs, FSeries.toMs, plot.width(), metrics)) {
        const long double offset =
            static_cast<long double>(mark.ms) - static_cast<long double>(FSeries.fromMs);
        const int x = plot.left() + static_cast<int>(offset * plot.width() / range);
        painter.setPen(grid);
        painter.drawLine(x, plot.top(), x, plot.bottom());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawLine(x, layout.axisTop, x, layout.axisTop + tick);
        const int labelWidth = metrics.horizontalAdvance(mark.label);
        const int labelLeft = std::clamp(x - labelWidth / 2, 0, std::max(0, width() - labelWidth));
        painter.drawText(QRect(labelLeft, layout.axisTop + tick, labelWidth, layout.line),
                         Qt::AlignCenter | Qt::TextSingleLine, mark.label);
    }
}

}  // namespace qm::ui
