#include "quillmark/ui/ErrorBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>

namespace qm::ui {

void ShowErrorBox(QWidget* parent, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QGuiApplication::applicationDisplayName(),
                    QString::fromStdString(message), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void ReportingErrors(QWidget* parent, const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(parent, error.what());
    }
}

}  // namespace qm::ui
