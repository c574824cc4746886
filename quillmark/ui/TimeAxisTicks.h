#pragma once
// The ticks of a time axis in local time: the smallest step of a fixed list (minutes, hours, days,
// months, years) whose labels fit the axis's width side by side with room between them, each tick
// on a whole step of local time.

#include <QString>
#include <cstdint>
#include <vector>

class QFontMetrics;

namespace qm::ui {

struct TTimeTick {
    std::int64_t ms = 0;  // UTC milliseconds since 1970
    QString label;
};

// The ticks inside [fromMs, toMs) for an axis width pixels wide, labelled in local time.
std::vector<TTimeTick> TimeAxisTicks(std::int64_t fromMs, std::int64_t toMs, int width,
                                     const QFontMetrics& metrics);

}  // namespace qm::ui
