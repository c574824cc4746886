#pragma once
// The modal about box with the program's title and version. Created once at start-up and reused.

#include <QDialog>

namespace qm::ui {

class TAboutForm final : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent);
};

}  // namespace qm::ui
