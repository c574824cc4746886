#include "quillmark/ui/ShortcutMenuItem.h"

namespace qm::ui {

TShortcutMenuItem::TShortcutMenuItem(QAction& action, const QKeySequence& shortcut, QObject* parent)
    : QAction(parent), FAction(action) {
    setShortcut(shortcut);
    ShowAction();
    connect(&action, &QAction::changed, this, &TShortcutMenuItem::ShowAction);
    connect(this, &QAction::triggered, &action, &QAction::trigger);
}

void TShortcutMenuItem::ShowAction() {
    setText(FAction.text());
    setStatusTip(FAction.statusTip());
    setToolTip(FAction.toolTip());
    setEnabled(FAction.isEnabled());
}

}  // namespace qm::ui
