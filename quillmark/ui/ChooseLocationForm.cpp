#include "quillmark/ui/ChooseLocationForm.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "quillmark/core/SessionState.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/ErrorBox.h"
#include "quillmark/ui/ScaledPixels.h"

namespace qm::ui {

namespace {

constexpr int kBorder = 5;
constexpr int kPictureSize = 32;
constexpr int kTextWidth = 280;

}  // namespace

TChooseLocationForm::TChooseLocationForm(qm::TSessionState& session, QWidget* parent)
    : QDialog(parent), FSession(session), LocationCombo(CreateLocationCombo()), Completer(CreateCompleter()) {
    setObjectName("ChooseLocationForm");
    setWindowTitle("Choose Location");
    auto* layout = new QGridLayout(this);
    const int border = ScaledPixels(*this, kBorder);
    layout->setContentsMargins(border, border, border, border);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(CreatePicture(), 0, 0, Qt::AlignTop);
    layout->addWidget(CreateExplanation(), 0, 1);
    layout->addWidget(LocationCombo, 1, 0, 1, 2);
    layout->addWidget(CreateButtons(), 2, 0, 1, 2);
}

QLabel* TChooseLocationForm::CreatePicture() {
    auto* picture = new QLabel(this);
    picture->setObjectName("Image1");
    picture->setPixmap(WindowIcon().pixmap(kPictureSize, kPictureSize));
    picture->setFixedSize(kPictureSize, kPictureSize);
    return picture;
}

QLabel* TChooseLocationForm::CreateExplanation() {
    auto* text =
        new QLabel("Choose an existing location from the list or enter the name of a new location.", this);
    text->setObjectName("Label1");
    text->setWordWrap(true);
    text->setMinimumWidth(ScaledPixels(*this, kTextWidth));
    return text;
}

// OK is the default button (Enter) and Cancel the escape button; Tab goes from the list to OK to
// Cancel.
QDialogButtonBox* TChooseLocationForm::CreateButtons() {
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName("OKButton");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName("CancelButton");
    connect(buttons, &QDialogButtonBox::accepted, this, &TChooseLocationForm::OKButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    setTabOrder(LocationCombo, ok);
    setTabOrder(ok, cancel);
    return buttons;
}

// An editable list that keeps exactly what the operator typed: Enter adds nothing to the list,
// and the combo box's own completer is replaced, because with case-insensitive matching the box
// would swap a typed "office" for a listed "Office" when editing ends.
QComboBox* TChooseLocationForm::CreateLocationCombo() {
    auto* combo = new QComboBox(this);
    combo->setObjectName("LocationCombo");
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    return combo;
}

// The known locations that begin with the typed text, in any letter case, drop down under the
// edit as the operator types; picking one puts it in the edit.
QCompleter* TChooseLocationForm::CreateCompleter() {
    auto* completer = new QCompleter(LocationCombo->model(), this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    completer->setWidget(LocationCombo->lineEdit());
    connect(LocationCombo->lineEdit(), &QLineEdit::textEdited, this,
            &TChooseLocationForm::LocationComboEdited);
    connect(completer, qOverload<const QString&>(&QCompleter::activated), LocationCombo->lineEdit(),
            &QLineEdit::setText);
    return completer;
}

void TChooseLocationForm::LocationComboEdited(const QString& text) {
    Completer->setCompletionPrefix(text);
    if (text.isEmpty())
        Completer->popup()->hide();
    else
        Completer->complete();
}

std::optional<std::string> TChooseLocationForm::ChooseLocation(const std::string& initial) {
    FormShow(initial);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return LocationCombo->currentText().toStdString();
}

void TChooseLocationForm::FormShow(const std::string& initial) {
    QStringList locations;
    for (const std::string& location : FSession.LocationList())
        locations.append(QString::fromStdString(location));
    LocationCombo->clear();
    LocationCombo->addItems(locations);
    LocationCombo->setEditText(QString::fromStdString(initial));
    LocationCombo->setFocus();
}

void TChooseLocationForm::OKButtonClick() {
    if (LocationCombo->currentText().isEmpty()) {
        ShowErrorBox(this, kEmptyLocationMessage);
        return;
    }
    accept();
}

}  // namespace qm::ui
