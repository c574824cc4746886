#include "quillmark/ui/ColourBlend.h"

namespace qm::ui {

QColor BlendColours(const QColor& ink, const QColor& ground, qreal groundWeight) {
    const auto mix = [&](float a, float b) { return a * (1 - groundWeight) + b * groundWeight; };
    return QColor::fromRgbF(mix(ink.redF(), ground.redF()), mix(ink.greenF(), ground.greenF()),
                            mix(ink.blueF(), ground.blueF()));
}

}  // namespace qm::ui
