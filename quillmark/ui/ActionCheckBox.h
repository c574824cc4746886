#pragma once
// A check box that stands for a checkable action, as the filter panel's two check boxes do: it
// shows the action's caption (with its access key), hint and check mark, follows the action's
// enabled state, and a click runs the action, which toggles its check mark before its handlers run.

#include <QCheckBox>

class QAction;

namespace qm::ui {

class TActionCheckBox final : public QCheckBox {
    Q_OBJECT

public:
    TActionCheckBox(QAction& action, QWidget* parent);

private:
    void ShowAction();

    QAction& FAction;
};

}  // namespace qm::ui
