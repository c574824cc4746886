#pragma once
// The modal window with the properties of the computer's Bluetooth radios, opened by the main
// window's Radio Information command. Created once at start-up and reused for every showing.

#include <QDialog>

namespace qm::ui {

class TRadioInfoForm final : public QDialog {
    Q_OBJECT

public:
    explicit TRadioInfoForm(QWidget* parent);
};

}  // namespace qm::ui
