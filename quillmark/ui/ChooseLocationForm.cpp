#include "quillmark/ui/ChooseLocationForm.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "quillmark/ui/DialogCloseButton.h"

namespace qm::ui {

TChooseLocationForm::TChooseLocationForm(QWidget* parent) : QDialog(parent) {
    setObjectName("ChooseLocationForm");
    setWindowTitle("Choose Location");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCloseButtonRow(*this));
}

}  // namespace qm::ui
