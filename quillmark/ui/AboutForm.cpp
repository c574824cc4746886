#include "quillmark/ui/AboutForm.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>

#include "quillmark/ui/DialogCloseButton.h"
#include "quillmark/ui/Emblem.h"
#include "quillmark/ui/ScaledPixels.h"
#include "quillmark/ui/VersionText.h"

namespace qm::ui {

namespace {

constexpr int kBorderWidth = 5;
constexpr int kTitleHeight = 16;
constexpr int kNoticeWidth = 260;

constexpr const char* kTitle = "Tessaline Networks Quillmark";
constexpr const char* kNotice =
    "Made by Tessaline Networks: a live inventory of the Bluetooth devices around this computer.";

QLabel* NewLabel(const char* objectName, const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutForm");
    setWindowTitle("About");
    UseWhiteBackground();

    auto* icon = new QLabel(this);
    icon->setObjectName("IconImage");
    icon->setPixmap(QPixmap::fromImage(EmblemImage()));
    icon->setFixedSize(kEmblemWidth, kEmblemHeight);
    QLabel* title = NewLabel("Title", kTitle, this);
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPixelSize(ScaledPixels(*this, kTitleHeight));
    title->setFont(titleFont);
    QLabel* notice = NewLabel("Label2", kNotice, this);
    notice->setWordWrap(true);
    notice->setFixedWidth(ScaledPixels(*this, kNoticeWidth));
    Version = NewLabel("Version", "Version", this);

    auto* layout = new QGridLayout(this);
    const int border = ScaledPixels(*this, kBorderWidth);
    layout->setContentsMargins(border, border, border, border);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setHorizontalSpacing(ScaledPixels(*this, 2 * kBorderWidth));
    layout->addWidget(icon, 0, 0, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(notice, 1, 1);
    layout->addWidget(Version, 2, 1);
    layout->addWidget(NewCloseButtonRow(*this), 3, 0, 1, 2);
}

// The box is white with black text on every desktop palette; the button keeps the desktop's look.
void TAboutForm::UseWhiteBackground() {
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    setPalette(white);
    setAutoFillBackground(true);
}

void TAboutForm::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
    Version->setText(QString::fromStdString("Version: " + ProgramVersionText()));
}

}  // namespace qm::ui
