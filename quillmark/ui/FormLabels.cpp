#include "quillmark/ui/FormLabels.h"

#include <QLabel>

namespace qm::ui {

QLabel* NewCaptionLabel(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setForegroundRole(QPalette::Link);
    return label;
}

QLabel* NewValueLabel(const char* objectName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace qm::ui
