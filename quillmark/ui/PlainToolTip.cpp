#include "quillmark/ui/PlainToolTip.h"

namespace qm::ui {

QString PlainToolTip(const QString& text) {
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

}  // namespace qm::ui
