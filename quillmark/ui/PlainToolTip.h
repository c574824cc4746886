#pragma once
// Tool tips show rich text whenever their text looks like markup; texts from strangers (device
// names, locations) must show as typed, so they go through this first.

#include <QString>

namespace qm::ui {

// The text as a tool tip shows it character for character, on one line.
QString PlainToolTip(const QString& text);

}  // namespace qm::ui
