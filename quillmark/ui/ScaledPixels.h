#pragma once
// The window layouts are measured in pixels of a 96-dpi screen. A desktop set to a larger logical
// DPI (a larger UI font) gets them scaled in proportion, so the controls keep fitting their text.

class QWidget;

namespace qm::ui {

int ScaledPixels(const QWidget& widget, int pixelsAt96Dpi);

}  // namespace qm::ui
