#include "quillmark/ui/ChooseLocationForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

#include "quillmark/core/SessionState.h"

namespace qm::ui {

TChooseLocationForm::TChooseLocationForm(qm::TSessionState& session, QWidget* parent)
    : QDialog(parent), FSession(session), LocationCombo(new QComboBox(this)) {
    setObjectName("ChooseLocationForm");
    setWindowTitle("Choose Location");
    LocationCombo->setEditable(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TChooseLocationForm::OKButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LocationCombo);
    layout->addWidget(buttons);
}

std::optional<std::string> TChooseLocationForm::ChooseLocation(const std::string& initial) {
    FormShow(initial);
    if (exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return LocationCombo->currentText().toStdString();
}

void TChooseLocationForm::FormShow(const std::string& initial) {
    LocationCombo->clear();
    for (const std::string& location : FSession.LocationList()) {
        LocationCombo->addItem(QString::fromStdString(location));
    }
    LocationCombo->setEditText(QString::fromStdString(initial));
}

void TChooseLocationForm::OKButtonClick() {
    if (!LocationCombo->currentText().isEmpty()) {
        accept();
    }
}

}  // namespace qm::ui
