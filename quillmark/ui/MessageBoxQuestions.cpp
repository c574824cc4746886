#include "quillmark/ui/MessageBoxQuestions.h"

#include <QMessageBox>

namespace qm::ui {

TAnswer TMessageBoxQuestions::Ask(const std::string& question) {
    QMessageBox box(QMessageBox::Question, "Confirm", QString::fromStdString(question),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &FOwner);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return TAnswer::Yes;
        case QMessageBox::No:
            return TAnswer::No;
        default:
            return TAnswer::Cancel;
    }
}

}  // namespace qm::ui
