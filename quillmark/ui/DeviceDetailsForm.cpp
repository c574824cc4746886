#include "quillmark/ui/DeviceDetailsForm.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <optional>
#include <utility>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DialogCloseButton.h"
#include "quillmark/ui/ErrorBox.h"
#include "quillmark/ui/FormLabels.h"
#include "quillmark/ui/HistoryPage.h"
#include "quillmark/ui/ScaledPixels.h"

// The pictures are compiled into the static window library; the registration keeps the linker
// from leaving them out. The macro must be used outside any namespace.
static void RegisterLocationPicture() {
    Q_INIT_RESOURCE(quillmark);
}

namespace qm::ui {

namespace {

constexpr int kBorderWidth = 5;
constexpr int kLocationPictureSize = 16;
// The raw page shows this many characters and lines of the SDP text without scrolling.
constexpr int kSDPColumns = 72;
constexpr int kSDPLines = 22;

QIcon LocationPicture() {
    static const bool registered = (RegisterLocationPicture(), true);
    Q_UNUSED(registered);
    QIcon icon;
    for (const int scale : {1, 2, 3}) {
        QImage image(kLocationPictureSize * scale, kLocationPictureSize * scale,
                     QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        QSvgRenderer(QStringLiteral(":/quillmark/location.svg")).render(&painter);
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace

TDeviceDetailsForm::TDeviceDetailsForm(qm::TSessionState& session, TChooseLocationForm& chooser,
                                       std::function<void()> deviceDataChanged, TOpenHistory openHistory,
                                       QWidget* parent)
    : QDialog(parent),
      FSession(session),
      FChooser(chooser),
      FDeviceDataChanged(std::move(deviceDataChanged)),
      HistoryPage(new THistoryPage(std::move(openHistory), session.Clock(), this)) {
    setObjectName("DeviceDetailsForm");
    setWindowTitle("Bluetooth Device Information");
    auto* layout = new QVBoxLayout(this);
    const int border = ScaledPixels(*this, kBorderWidth);
    layout->setContentsMargins(border, border, border, border);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(CreateHeader());
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->addTab(CreateGeneralPage(), "General");
    PageControl1->addTab(CreateRawSDPPage(), "Raw SDP");
    PageControl1->addTab(HistoryPage, "History");
    connect(PageControl1, &QTabWidget::currentChanged, this, &TDeviceDetailsForm::LoadHistoryIfShown);
    layout->addWidget(PageControl1);
    layout->addWidget(NewCloseButtonRow(*this));
}

QWidget* TDeviceDetailsForm::CreateHeader() {
    auto* header = new QWidget(this);
    auto* rows = new QFormLayout(header);
    rows->setContentsMargins(0, 0, 0, 0);
    Name = NewValueLabel("Name", header);
    QFont bold = Name->font();
    bold.setBold(true);
    Name->setFont(bold);
    DeviceAddress = NewValueLabel("DeviceAddress", header);
    rows->addRow(NewCaptionLabel("Name", header), Name);
    rows->addRow(NewCaptionLabel("Address", header), DeviceAddress);
    return header;
}

QWidget* TDeviceDetailsForm::CreateGeneralPage() {
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    Location = NewValueLabel("Location", page);
    LocationButton = new QToolButton(page);
    LocationButton->setObjectName("LocationButton");
    LocationButton->setIcon(LocationPicture());
    LocationButton->setToolTip("Choose a location for the station");
    LocationButton->setStatusTip(LocationButton->toolTip());
    connect(LocationButton, &QToolButton::clicked, this, &TDeviceDetailsForm::LocationButtonClick);
    ServiceList = new QListWidget(page);
    ServiceList->setObjectName("ServiceList");
    grid->addWidget(NewCaptionLabel("Location", page), 0, 0, 1, 2);
    grid->addWidget(Location, 1, 0);
    grid->addWidget(LocationButton, 1, 1);
    grid->addWidget(NewCaptionLabel("Advertised Services", page), 2, 0, 1, 2);
    grid->addWidget(ServiceList, 3, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TDeviceDetailsForm::CreateRawSDPPage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    SDPMemo = new QPlainTextEdit(page);
    SDPMemo->setObjectName("SDPMemo");
    SDPMemo->setReadOnly(true);
    SDPMemo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    SDPMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    SDPMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SDPMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    SDPMemo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(SDPMemo->font());
    SDPMemo->setMinimumSize(metrics.horizontalAdvance(QString(kSDPColumns, QLatin1Char('0'))),
                            metrics.lineSpacing() * kSDPLines);
    layout->addWidget(NewCaptionLabel("Service Discovery Protocol Records", page));
    layout->addWidget(SDPMemo);
    return page;
}

void TDeviceDetailsForm::ShowDevice(const std::string& address) {
    SelectedAddress = address;
    if (FormShow())
        exec();
    else
        setResult(QDialog::Rejected);
}

// The views are emptied first, so that an unreadable record leaves no other device's data behind.
// An error of the records reaches the error box after the lock is released; the window then opens
// with the labels filled.
bool TDeviceDetailsForm::FormShow() {
    SDPMemo->clear();
    ServiceList->clear();
    HistoryPage->SetDevice(SelectedAddress);
    bool found = false;
    ReportingErrors(parentWidget(), [this, &found] {
        qm::TDeviceListLock lock(FSession.DeviceList());
        qm::TBTDevice* device = lock->FindDevice(SelectedAddress);
        found = device != nullptr;
        if (found) FillFromDevice(*device);
    });
    if (found) LoadHistoryIfShown();
    return found;
}

void TDeviceDetailsForm::LoadHistoryIfShown() {
    if (PageControl1->currentWidget() == HistoryPage && HistoryPage->NeedsLoading()) HistoryPage->Load();
}

// The labels first: when the records cannot be rendered, the window still shows the device.
void TDeviceDetailsForm::FillFromDevice(qm::TBTDevice& device) {
    Name->setText(QString::fromStdString(device.Name()));
    DeviceAddress->setText(QString::fromStdString(device.Address()));
    Location->setText(QString::fromStdString(device.Location()));
    SDPMemo->setPlainText(QString::fromStdString(device.SDPText()));
    for (const std::string& service : device.Services())
        ServiceList->addItem(QString::fromStdString(service));
}

// Only this device moves: the session's current location and its known locations stay as they
// are. The chooser is shown before the lock is taken, so the discovery thread never waits on it.
void TDeviceDetailsForm::LocationButtonClick() {
    const std::optional<std::string> chosen = FChooser.ChooseLocation(CurrentLocation());
    if (!chosen || QString::fromStdString(*chosen) == Location->text()) return;
    {
        qm::TDeviceListLock lock(FSession.DeviceList());
        qm::TBTDevice* device = lock->FindDevice(SelectedAddress);
        if (device == nullptr) return;
        device->SetLocation(*chosen);
    }
    FDeviceDataChanged();
    Location->setText(QString::fromStdString(*chosen));
}

std::string TDeviceDetailsForm::CurrentLocation() const {
    qm::TDeviceListLock lock(FSession.DeviceList());
    return FSession.Location();
}

}  // namespace qm::ui
