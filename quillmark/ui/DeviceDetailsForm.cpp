#include "quillmark/ui/DeviceDetailsForm.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "quillmark/ui/DialogCloseButton.h"

namespace qm::ui {

TDeviceDetailsForm::TDeviceDetailsForm(QWidget* parent) : QDialog(parent) {
    setObjectName("DeviceDetailsForm");
    setWindowTitle("Bluetooth Device Information");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCloseButtonRow(*this));
}

}  // namespace qm::ui
