#include "quillmark/ui/ScaledPixels.h"

#include <QWidget>

namespace qm::ui {

namespace {

constexpr int kLayoutDpi = 96;

}  // namespace

int ScaledPixels(const QWidget& widget, int pixelsAt96Dpi) {
    return pixelsAt96Dpi * widget.logicalDpiX() / kLayoutDpi;
}

}  // namespace qm::ui
