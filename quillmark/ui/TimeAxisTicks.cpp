#include "quillmark/ui/TimeAxisTicks.h"

#include <QDateTime>
#include <QFontMetrics>
#include <array>

namespace qm::ui {

namespace {

constexpr std::int64_t kMinute = 60000;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;
// More ticks than this are never drawn, whatever the width.
constexpr std::size_t kMostTicks = 200;

struct TStep {
    std::int64_t ms;
    const char* format;  // QDateTime::toString
};

const std::array<TStep, 20> kSteps = {{
    {kMinute, "HH:mm"},      {2 * kMinute, "HH:mm"},   {5 * kMinute, "HH:mm"},    {10 * kMinute, "HH:mm"},
    {15 * kMinute, "HH:mm"}, {30 * kMinute, "HH:mm"},  {kHour, "HH:mm"},          {2 * kHour, "HH:mm"},
    {3 * kHour, "HH:mm"},    {6 * kHour, "ddd HH:mm"}, {12 * kHour, "ddd HH:mm"}, {kDay, "ddd d MMM"},
    {2 * kDay, "d MMM"},     {7 * kDay, "d MMM"},      {14 * kDay, "d MMM"},      {30 * kDay, "MMM yyyy"},
    {91 * kDay, "MMM yyyy"}, {182 * kDay, "MMM yyyy"}, {365 * kDay, "yyyy"},      {3650 * kDay, "yyyy"},
}};

QDateTime Local(std::int64_t ms) {
    return QDateTime::fromMSecsSinceEpoch(ms);
}

// The widest label the format makes, measured on a date with wide digits and names.
int LabelWidth(const TStep& step, const QFontMetrics& metrics) {
    const QDateTime sample(QDate(2028, 12, 28), QTime(20, 48));
    return metrics.horizontalAdvance(sample.toString(QString::fromLatin1(step.format)));
}

// The first whole step of local time at or after fromMs (the local offset at fromMs).
std::int64_t FirstTick(std::int64_t fromMs, std::int64_t step) {
    const std::int64_t offset = std::int64_t{Local(fromMs).offsetFromUtc()} * 1000;
    const std::int64_t local = fromMs + offset;
    std::int64_t tick = local / step * step;
    if (tick < local) tick += step;
    return tick - offset;
}

}  // namespace

std::vector<TTimeTick> TimeAxisTicks(std::int64_t fromMs, std::int64_t toMs, int width,
                                     const QFontMetrics& metrics) {
    if (toMs <= fromMs || width <= 0) return {};
    const long double range = static_cast<long double>(toMs) - static_cast<long double>(fromMs);
    const TStep* chosen = &kSteps.back();
    for (const TStep& step : kSteps) {
        const long double ticks = range / static_cast<long double>(step.ms);
        const int room = LabelWidth(step, metrics) + 2 * metrics.height();
        if (ticks <= static_cast<long double>(kMostTicks) && ticks * room <= width) {
            chosen = &step;
            break;
        }
    }
    std::vector<TTimeTick> ticks;
    const QString format = QString::fromLatin1(chosen->format);
    for (std::int64_t tick = FirstTick(fromMs, chosen->ms); tick < toMs && ticks.size() < kMostTicks;
         tick += chosen->ms)
        ticks.push_back({tick, Local(tick).toString(format)});
    return ticks;
}

}  // namespace qm::ui
