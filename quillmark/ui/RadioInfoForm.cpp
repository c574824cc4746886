#include "quillmark/ui/RadioInfoForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <functional>
#include <utility>

#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/DialogCloseButton.h"
#include "quillmark/ui/ErrorBox.h"
#include "quillmark/ui/FormLabels.h"
#include "quillmark/ui/ScaledPixels.h"

namespace qm::ui {

namespace {

constexpr int kBorderWidth = 5;

// A fixed-size area painted by its owner.
class TPaintBox final : public QWidget {
public:
    TPaintBox(int size, std::function<void(QPainter&)> paint, QWidget* parent)
        : QWidget(parent), FPaint(std::move(paint)) {
        setFixedSize(size, size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        FPaint(painter);
    }

private:
    std::function<void(QPainter&)> FPaint;
};

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TRadioInfoForm::TRadioInfoForm(QWidget* parent) : QDialog(parent) {
    setObjectName("RadioInfoForm");
    setWindowTitle("Bluetooth Radio Information");
    auto* layout = new QVBoxLayout(this);
    const int border = ScaledPixels(*this, kBorderWidth);
    layout->setContentsMargins(border, border, border, border);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    RadioCombo = new QComboBox(this);
    RadioCombo->setObjectName("RadioCombo");
    RadioCombo->setEditable(false);
    RadioCombo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(RadioCombo, &QComboBox::activated, this, &TRadioInfoForm::RadioComboSelect);
    layout->addWidget(RadioCombo);
    layout->addWidget(CreateRadioFrame());
    layout->addWidget(NewCloseButtonRow(*this));
}

QGroupBox* TRadioInfoForm::CreateRadioFrame() {
    GroupBox1 = new QGroupBox("Radio", this);
    GroupBox1->setObjectName("GroupBox1");
    auto* grid = new QGridLayout(GroupBox1);
    Name = NewValueLabel("Name", GroupBox1);
    TypeIcon = new TPaintBox(kDevicePictureSize, [this](QPainter& painter) { TypeIconPaint(painter); }, GroupBox1);
    TypeIcon->setObjectName("TypeIcon");
    COD = NewValueLabel("COD", GroupBox1);
    auto* type = new QHBoxLayout;
    type->addWidget(TypeIcon);
    type->addWidget(COD, 1);
    Address = NewValueLabel("Address", GroupBox1);
    Manufacturer = NewValueLabel("Manufacturer", GroupBox1);
    Version = NewValueLabel("Version", GroupBox1);
    Discoverable = NewValueLabel("Discoverable", GroupBox1);
    Connectable = NewValueLabel("Connectable", GroupBox1);
    int row = 0;
    const auto addRow = [&](const char* caption, QLabel* value) {
        grid->addWidget(NewCaptionLabel(caption, GroupBox1), row, 0);
        grid->addWidget(value, row++, 1);
    };
    addRow("Name", Name);
    grid->addWidget(NewCaptionLabel("Type", GroupBox1), row, 0);
    grid->addLayout(type, row++, 1);
    addRow("Address", Address);
    addRow("Manufacturer", Manufacturer);
    addRow("Version", Version);
    addRow("Discoverable", Discoverable);
    addRow("Connectable", Connectable);
    grid->setColumnStretch(1, 1);
    grid->setColumnMinimumWidth(1, QFontMetrics(font()).horizontalAdvance(QString(28, QLatin1Char('0'))));
    return GroupBox1;
}

void TRadioInfoForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ReportingErrors(this, [this] { FormShow(); });
}

// The layer is shut down on every way out, also when a radio cannot be read.
void TRadioInfoForm::FormShow() {
    FRadios.clear();
    RadioCombo->clear();
    TypeIcon->update();
    qm::bt::TRadioReading reading;
    FRadios = reading.ReadAll();
    for (std::size_t i = 0; i < FRadios.size(); ++i)
        RadioCombo->addItem(Text(FRadios[i].FName + " (" + FRadios[i].FManufacturer + ")"), int(i));
    RadioCombo->setCurrentIndex(FRadios.empty() ? -1 : 0);
    RadioComboSelect();
}

const qm::bt::TRadioInfo* TRadioInfoForm::SelectedRadio() const {
    const QVariant entry = RadioCombo->currentData();
    return entry.isValid() ? &FRadios.at(entry.toUInt()) : nullptr;
}

void TRadioInfoForm::RadioComboSelect() {
    const qm::bt::TRadioInfo* radio = SelectedRadio();
    const auto yesNo = [](bool value) { return QString(value ? "Yes" : "No"); };
    Name->setText(radio ? Text(radio->FName) : QString());
    Address->setText(radio ? Text(radio->FAddressText) : QString());
    Manufacturer->setText(radio ? Text(radio->FManufacturer) : QString());
    Version->setText(radio ? Text(radio->FVersion) : QString());
    COD->setText(radio ? Text(radio->FClassName) : QString());
    Discoverable->setText(radio ? yesNo(radio->FDiscoverable) : QString());
    Connectable->setText(radio ? yesNo(radio->FConnectable) : QString());
    TypeIcon->update();
}

void TRadioInfoForm::TypeIconPaint(QPainter& painter) {
    if (const qm::bt::TRadioInfo* radio = SelectedRadio())
        painter.drawPixmap(0, 0, DevicePicture(radio->FType, TypeIcon->devicePixelRatioF()));
}

}  // namespace qm::ui
