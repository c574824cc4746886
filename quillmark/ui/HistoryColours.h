#pragma once
// The colours of the locations on the history timeline: saturated and of middle brightness, so
// each stands out from a light and from a dark background alike, and from each other.

#include <QColor>

namespace qm::ui {

// The colour of a location slot (HistorySeries.h); the shared last slot is grey.
QColor LocationColour(int slot);

}  // namespace qm::ui
