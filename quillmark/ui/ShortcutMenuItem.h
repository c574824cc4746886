#pragma once
// A menu item that runs an action under a shortcut of its own while the action itself has none
// (the Manage menu's Inspect item and Ctrl+I): it shows the action's caption and hint and follows
// the action's enabled state.

#include <QAction>

namespace qm::ui {

class TShortcutMenuItem final : public QAction {
    Q_OBJECT

public:
    TShortcutMenuItem(QAction& action, const QKeySequence& shortcut, QObject* parent);

private:
    void ShowAction();

    QAction& FAction;
};

}  // namespace qm::ui
