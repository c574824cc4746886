#include "quillmark/ui/ActionCheckBox.h"

#include <QAction>

namespace qm::ui {

TActionCheckBox::TActionCheckBox(QAction& action, QWidget* parent) : QCheckBox(parent), FAction(action) {
    ShowAction();
    connect(&action, &QAction::changed, this, &TActionCheckBox::ShowAction);
    connect(&action, &QAction::toggled, this, &QCheckBox::setChecked);
    // The click has already set the box; the action's toggle brings its mark to the same state.
    connect(this, &QCheckBox::clicked, &action, &QAction::trigger);
}

void TActionCheckBox::ShowAction() {
    setText(FAction.text());
    setStatusTip(FAction.statusTip());
    setToolTip(FAction.toolTip());
    setEnabled(FAction.isEnabled());
    setChecked(FAction.isChecked());
}

}  // namespace qm::ui
