#include "quillmark/ui/AboutForm.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "quillmark/ui/DialogCloseButton.h"

namespace qm::ui {

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutForm");
    setWindowTitle("About");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(NewCloseButtonRow(*this));
}

}  // namespace qm::ui
