#pragma once
// The modal window that shows one device in full, opened by the main window's Inspect Device
// command. Created once at start-up and reused for every device.

#include <QDialog>

namespace qm::ui {

class TDeviceDetailsForm final : public QDialog {
    Q_OBJECT

public:
    explicit TDeviceDetailsForm(QWidget* parent);
};

}  // namespace qm::ui
