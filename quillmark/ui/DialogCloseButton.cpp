#include "quillmark/ui/DialogCloseButton.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace qm::ui {

QDialogButtonBox* NewCloseButtonRow(QDialog& dialog) {
    auto* row = new QDialogButtonBox(&dialog);
    QPushButton* close = row->addButton(QObject::tr("Close"), QDialogButtonBox::RejectRole);
    close->setObjectName("CloseButton");
    close->setDefault(true);
    QObject::connect(row, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    return row;
}

}  // namespace qm::ui
