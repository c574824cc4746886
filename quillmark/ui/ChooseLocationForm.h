#pragma once
// The modal dialog in which the operator picks a known location or names a new one. Created once
// at start-up and reused.

#include <QDialog>

namespace qm::ui {

class TChooseLocationForm final : public QDialog {
    Q_OBJECT

public:
    explicit TChooseLocationForm(QWidget* parent);
};

}  // namespace qm::ui
