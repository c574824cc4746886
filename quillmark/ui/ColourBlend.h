#pragma once
// A colour moved part of the way towards another, for greys and faint lines that keep their
// contrast on light and dark palettes alike: the ink faded into the ground it is drawn on.

#include <QColor>

namespace qm::ui {

// groundWeight 0 gives the ink, 1 the ground.
QColor BlendColours(const QColor& ink, const QColor& ground, qreal groundWeight);

}  // namespace qm::ui
