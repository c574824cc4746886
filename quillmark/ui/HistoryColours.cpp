#include "quillmark/ui/HistoryColours.h"

#include <algorithm>
#include <array>

#include "quillmark/ui/HistorySeries.h"

namespace qm::ui {

namespace {

const std::array<QRgb, kLocationSlots + 1> kColours = {
    0xE69F00,  // orange
    0x3A9AD9,  // blue
    0x2CA25F,  // green
    0xD55E00,  // vermilion
    0xB05FC0,  // purple
    0x17A2A2,  // teal
    0xE0609A,  // pink
    0x9C8A3A,  // olive
    0x8A8A8A,  // grey: every other location
};

}  // namespace

QColor LocationColour(int slot) {
    return QColor(kColours[static_cast<std::size_t>(std::clamp(slot, 0, kLocationSlots))]);
}

}  // namespace qm::ui
