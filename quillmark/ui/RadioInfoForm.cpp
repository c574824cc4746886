#include "quillmark/ui/RadioInfoForm.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "quillmark/ui/DialogCloseButton.h"

namespace qm::ui {

TRadioInfoForm::TRadioInfoForm(QWidget* parent) : QDialog(parent) {
    setObjectName("RadioInfoForm");
    setWindowTitle("Bluetooth Radio Information");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCloseButtonRow(*this));
}

}  // namespace qm::ui
