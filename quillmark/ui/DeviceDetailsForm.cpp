#include "quillmark/ui/DeviceDetailsForm.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>
#include <utility>

#include "quillmark/ui/DialogCloseButton.h"

namespace qm::ui {

TDeviceDetailsForm::TDeviceDetailsForm(qm::TSessionState& session, TChooseLocationForm& chooser,
                                       std::function<void()> deviceDataChanged, QWidget* parent)
    : QDialog(parent), FSession(session), FChooser(chooser), FDeviceDataChanged(std::move(deviceDataChanged)) {
    setObjectName("DeviceDetailsForm");
    setWindowTitle("Bluetooth Device Information");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCloseButtonRow(*this));
}

void TDeviceDetailsForm::ShowDevice(const std::string& address) {
    SelectedAddress = address;
    exec();
}

}  // namespace qm::ui
