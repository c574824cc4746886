#pragma once
// The modal window with the properties of the computer's Bluetooth radios, opened by the main
// window's Radio Information command. Created once at start-up and reused: each showing starts the
// radio layer, reads every radio and shuts the layer down again, so the window shows a snapshot
// and talks to no stack while it is open.

#include <QDialog>
#include <vector>

#include "quillmark/bluetooth/radios/RadioInfo.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPainter;
class QPushButton;

namespace qm::ui {

class TRadioInfoForm final : public QDialog {
    Q_OBJECT

public:
    explicit TRadioInfoForm(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QGroupBox* CreateRadioFrame();
    void FormShow();
    void RadioComboSelect();
    void TypeIconPaint(QPainter& painter);
    const qm::bt::TRadioInfo* SelectedRadio() const;

    QComboBox* RadioCombo = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Name = nullptr;
    QWidget* TypeIcon = nullptr;
    QLabel* COD = nullptr;
    QLabel* Address = nullptr;
    QLabel* Manufacturer = nullptr;
    QLabel* Version = nullptr;
    QLabel* Discoverable = nullptr;
    QLabel* Connectable = nullptr;

    std::vector<qm::bt::TRadioInfo> FRadios;
};

}  // namespace qm::ui
