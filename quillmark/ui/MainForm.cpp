#include "quillmark/ui/MainForm.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/core/Trace.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "quillmark/ui/AboutForm.h"
#include "quillmark/ui/ActionCheckBox.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/ErrorBox.h"
#include "quillmark/ui/FilterTree.h"
#include "quillmark/ui/HelpPage.h"
#include "quillmark/ui/Questions.h"
#include "quillmark/ui/RadioInfoForm.h"
#include "quillmark/ui/ScaledPixels.h"
#include "quillmark/ui/ShortcutMenuItem.h"

namespace qm::ui {

namespace {

constexpr int kWindowWidth = 932;
constexpr int kWindowHeight = 585;
// What a desktop's window frame and title bar take around the window, at most.
constexpr int kFrameAllowanceWidth = 16;
constexpr int kFrameAllowanceHeight = 48;
constexpr int kFilterPanelWidth = 233;
constexpr int kFilterPanelBorder = 5;
constexpr int kCheckBoxPanelHeight = 20;
constexpr int kSplitterWidth = 3;
constexpr int kPagePictureSize = 24;
constexpr int kStatusBarHeight = 22;
constexpr int kScanPanelWidth = 30;
constexpr const char* kScanText = "Scan";
// The hint panel leaves this much of the window's width to the scan panel and the size grip.
constexpr int kHintPanelMargin = 60;
constexpr int kScanIndicatorTickMs = 200;
constexpr int kScanIndicatorTicks = 5;

}  // namespace

TMainForm::TMainForm(const std::string& sessionPath, const qm::TRadioChoice& radio, qm::IFoundSound& sound)
    : FListChanged(*this), FBridge(*this) {
    setObjectName("MainForm");
    setWindowTitle("Tessaline Networks Quillmark - Bluetooth Device Discovery");
    setWindowIcon(WindowIcon());
    resize(OpeningSize());
    CreateActions();
    CreateMenus();
    CreatePages();
    CreateStatusBar();
    FLifeCycle = std::make_unique<qm::TProgramLifeCycle>(
        qm::TProgramParts{.sessionPath = sessionPath,
                          .makePass =
                              [this, radio](qm::TSessionState& session, qm::ISightingSink* sink) {
                                  FRadio = qm::OpenRadio(radio);
                                  return qm::MakeInquiryPass(FRadio, session, sink);
                              },
                          .openHistory = qm::OpenHistoryStore,
                          .openHistoryReader = qm::OpenHistoryReader,
                          .bridge = FBridge,
                          .sound = sound,
                          .logView = *this});
    FRadioPlatform = std::make_unique<qm::bt::TRadioLayerPlatform>(*FRadio, !radio.simulate);
    CreateViews();
    Session().DeviceList().SetNotifier(this);
    ActionList1Update();
}

TMainForm::~TMainForm() {
    ReportingErrors(this, [this] { FLifeCycle->Stop(); });
    // The views read the session, which ends with the life cycle before the window's children do.
    Session().DeviceList().SetNotifier(nullptr);
    DeviceTree->disconnect(this);
    FilterTree->disconnect(this);
    delete DeviceTree;
    delete FilterTree;
}

void TMainForm::SetDialogs(const TDialogs& dialogs) {
    FDialogs = dialogs;
}

qm::TSessionState& TMainForm::Session() {
    return FLifeCycle->Session();
}

QAction* TMainForm::NewAction(const char* name, const char* caption, const char* hint) {
    auto* action = new QAction(caption, this);
    action->setObjectName(name);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    addAction(action);
    return action;
}

void TMainForm::CreateActions() {
    Exit = NewAction("Exit", "&Exit", "Close the Quillmark application");
    RadioInformation = NewAction("RadioInformation", "&Radio Information...",
                                 "See information about the Bluetooth radios in this computer");
    SetLocation = NewAction("SetLocation", "Set &Location...", "Specify the current location");
    SetLocation->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    About = NewAction("About", "&About Quillmark...", "See the version number and copyrigjt information");
    Help = NewAction("Help", "&Help...", "Get help on Quillmark");
    DeleteDevice = NewAction("DeleteDevice", "&Delete Device", "Delete the selected device from the list");
    ClearLog = NewAction("ClearLog", "&Clear Log", "Clear all messages from the log");
    DeleteAllDevices =
        NewAction("DeleteAllDevices", "Delete &All Devices", "Delete all devices from the list");
    InspectDevice =
        NewAction("InspectDevice", "&Inspect Device...", "Inspect detailed information for the device");
    HideInactive = NewAction("HideInactive", "Hide &Inactive Devices",
                             "Hide devices which have not been active in the last 5 minutes");
    HideInactive->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    HideInactive->setCheckable(true);
    ApplyFilter = NewAction("ApplyFilter", "&Apply Filter",
                            "Apply the selected filter in the filter tree to the device list");
    ApplyFilter->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    ApplyFilter->setCheckable(true);

    connect(Exit, &QAction::triggered, this, &QWidget::close);
    connect(RadioInformation, &QAction::triggered, this, &TMainForm::RadioInformationExecute);
    connect(SetLocation, &QAction::triggered, this, &TMainForm::SetLocationExecute);
    connect(About, &QAction::triggered, this, &TMainForm::AboutExecute);
    connect(Help, &QAction::triggered, this, &TMainForm::HelpExecute);
    connect(DeleteDevice, &QAction::triggered, this, &TMainForm::DeleteDeviceExecute);
    connect(DeleteAllDevices, &QAction::triggered, this, &TMainForm::DeleteAllDevicesExecute);
    connect(ClearLog, &QAction::triggered, this, &TMainForm::ClearLogExecute);
    connect(InspectDevice, &QAction::triggered, this, &TMainForm::InspectDeviceExecute);
    connect(HideInactive, &QAction::triggered, this, &TMainForm::HideInactiveExecute);
    connect(ApplyFilter, &QAction::triggered, this, &TMainForm::ApplyFilterExecute);
}

void TMainForm::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction(Exit);
    QMenu* configure = menuBar()->addMenu("&Configure");
    configure->addAction(SetLocation);
    configure->addSeparator();
    configure->addAction(RadioInformation);
    QMenu* filter = menuBar()->addMenu("&Filter");
    filter->addAction(ApplyFilter);
    filter->addAction(HideInactive);
    QMenu* manage = menuBar()->addMenu("&Manage");
    manage->addAction(new TShortcutMenuItem(*InspectDevice, QKeySequence(Qt::CTRL | Qt::Key_I), this));
    manage->addSeparator();
    manage->addAction(DeleteDevice);
    manage->addAction(DeleteAllDevices);
    manage->addSeparator();
    manage->addAction(ClearLog);
    QMenu* help = menuBar()->addMenu("&Help");
    help->addAction(Help);
    help->addSeparator();
    help->addAction(About);

    DeviceManageMenu = new QMenu(this);
    DeviceManageMenu->setObjectName("DeviceManageMenu");
    DeviceManageMenu->addAction(InspectDevice);
    DeviceManageMenu->addSeparator();
    DeviceManageMenu->addAction(DeleteDevice);
}

void TMainForm::CreatePages() {
    MainTabs = new QTabWidget(this);
    MainTabs->setObjectName("MainTabs");
    MainTabs->setDocumentMode(true);
    MainTabs->setIconSize(QSize(kPagePictureSize, kPagePictureSize));
    MainTabs->addTab(CreateNetworkSheet(), PagePicture(0), "Network");
    MainTabs->addTab(CreateLogSheet(), PagePicture(1), "Log");
    setCentralWidget(MainTabs);
}

QWidget* TMainForm::CreateLogSheet() {
    auto* sheet = new QWidget;
    sheet->setObjectName("LogSheet");
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    LogList = new QListWidget(sheet);
    LogList->setObjectName("LogList");
    layout->addWidget(LogList);
    return sheet;
}

// The filter panel (the Apply Filter check box, room for the filter tree, the Hide Inactive check
// box) and, beyond the splitter, room for the device view.
QWidget* TMainForm::CreateNetworkSheet() {
    auto* sheet = new QWidget;
    sheet->setObjectName("NetworkSheet");
    auto* sheetLayout = new QVBoxLayout(sheet);
    sheetLayout->setContentsMargins(0, 0, 0, 0);
    Splitter1 = new QSplitter(Qt::Horizontal, sheet);
    Splitter1->setObjectName("Splitter1");
    Splitter1->setHandleWidth(kSplitterWidth);
    Splitter1->setChildrenCollapsible(false);
    sheetLayout->addWidget(Splitter1);

    auto* filterPanel = new QWidget(Splitter1);
    filterPanel->setObjectName("FilterPanel");
    FilterPanelLayout = new QVBoxLayout(filterPanel);
    const int border = ScaledPixels(*this, kFilterPanelBorder);
    FilterPanelLayout->setContentsMargins(border, border, border, border);
    ApplyFilterButton = new TActionCheckBox(*ApplyFilter, filterPanel);
    ApplyFilterButton->setObjectName("ApplyFilterButton");
    QFont bold = ApplyFilterButton->font();
    bold.setBold(true);
    ApplyFilterButton->setFont(bold);
    CheckBox1 = new TActionCheckBox(*HideInactive, filterPanel);
    CheckBox1->setObjectName("CheckBox1");
    for (QCheckBox* box : {ApplyFilterButton, CheckBox1}) {
        box->setMinimumHeight(ScaledPixels(*this, kCheckBoxPanelHeight));
        FilterPanelLayout->addWidget(box);
    }
    return sheet;
}

// The two panels share one row of their own: the hint panel has the width FormResize gives it
// and the scan panel takes the rest, at least kScanPanelWidth. The row never holds the window at a
// width: it claims no minimum of its own.
void TMainForm::CreateStatusBar() {
    statusBar()->setObjectName("StatusBar");
    statusBar()->setMinimumHeight(ScaledPixels(*this, kStatusBarHeight));
    auto* panels = new QWidget(statusBar());
    panels->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* layout = new QHBoxLayout(panels);
    layout->setSizeConstraint(QLayout::SetNoConstraint);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    HintPanel = new QLabel(panels);
    HintPanel->setObjectName("HintPanel");
    ScanPanel = new QLabel(panels);
    ScanPanel->setObjectName("ScanPanel");
    ScanPanel->setMinimumWidth(std::max(ScaledPixels(*this, kScanPanelWidth),
                                        ScanPanel->fontMetrics().horizontalAdvance(kScanText)));
    for (QLabel* panel : {HintPanel, ScanPanel}) panel->setTextFormat(Qt::PlainText);
    layout->addWidget(HintPanel);
    layout->addWidget(ScanPanel, 1);
    statusBar()->addWidget(panels, 1);
    FormResize();

    ScanIndicatorFade = new QTimer(this);
    ScanIndicatorFade->setObjectName("ScanIndicatorFade");
    ScanIndicatorFade->setInterval(kScanIndicatorTickMs);
    connect(ScanIndicatorFade, &QTimer::timeout, this, &TMainForm::ScanIndicatorFadeTimer);
    ScanIndicatorFade->start();
}

// The two views read the session, so they come after the life cycle has loaded it.
void TMainForm::CreateViews() {
    FilterTree = new TFilterTree(Session());
    FilterTree->setObjectName("FilterTree");
    FilterPanelLayout->insertWidget(1, FilterTree, 1);
    DeviceTree = new TDeviceView(Session(), Splitter1);
    DeviceTree->setObjectName("DeviceTree");
    DeviceTree->setContextMenu(DeviceManageMenu);
    Splitter1->setStretchFactor(1, 1);
    Splitter1->setSizes({ScaledPixels(*this, kFilterPanelWidth), width()});

    connect(FilterTree, &TFilterTree::FilterChanged, this, &TMainForm::FilterTreeChange);
    connect(DeviceTree, &TDeviceView::SelectionChanged, this, &TMainForm::ActionList1Update);
    connect(DeviceTree, &TDeviceView::InspectRequested, this, &TMainForm::InspectDeviceExecute);
}

// The designed size, but no larger than the screen leaves room for with the window's frame.
QSize TMainForm::OpeningSize() const {
    const QSize designed(ScaledPixels(*this, kWindowWidth), ScaledPixels(*this, kWindowHeight));
    const QScreen* where = screen();
    if (!where) return designed;
    const QSize frame(ScaledPixels(*this, kFrameAllowanceWidth), ScaledPixels(*this, kFrameAllowanceHeight));
    return designed.boundedTo(where->availableGeometry().size() - frame);
}

void TMainForm::CentreOnScreen() {
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        HintPanel->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

void TMainForm::customEvent(QEvent* event) {
    if (event->type() != UM_LISTCHANGED) {
        QMainWindow::customEvent(event);
        return;
    }
    const int parameter = FListChanged.Take(*static_cast<TListChangedEvent*>(event));
    ReportingErrors(this, [this, parameter] { UMListChanged(parameter); });
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (FShown) return;
    FShown = true;
    ReportingErrors(this, [this] { FormShow(); });
}

void TMainForm::closeEvent(QCloseEvent* event) {
    ReportingErrors(this, [this] { FormClose(); });
    QMainWindow::closeEvent(event);
}

void TMainForm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    FormResize();
}

void TMainForm::FormShow() {
    CentreOnScreen();
    MainTabs->setCurrentIndex(0);
    HideInactive->setChecked(Session().HideInactive());
    ApplyFilter->setChecked(true);
    FFilterKind = qm::fkLastSeen;
    FFilterValue = "Now";
    FLifeCycle->Resume();
    RebuildFilterTree();
    ReloadLog();
    RebuildDeviceTree();
}

void TMainForm::FormClose() {
    FLifeCycle->SaveSession();
}

void TMainForm::FormResize() {
    HintPanel->setFixedWidth(std::max(0, frameGeometry().width() - ScaledPixels(*this, kHintPanelMargin)));
}

void TMainForm::AddLogLine(const std::string& text) {
    FLifeCycle->AddLogLine(text);
}

void TMainForm::LogLineAdded(const std::string& line) {
    LogList->insertItem(0, QString::fromStdString(line));
}

void TMainForm::ReloadLog() {
    QStringList lines;
    for (const std::string& line : Session().Log()) lines.append(QString::fromStdString(line));
    LogList->clear();
    LogList->addItems(lines);
}

void TMainForm::DeviceListChanged() {
    QM_TRACE_ENTER("TMainForm::DeviceListChanged");
    PostListChanged(1);
    QM_TRACE_EXIT("TMainForm::DeviceListChanged");
}

void TMainForm::DeviceDataChanged() {
    PostListChanged(0);
}

void TMainForm::PostListChanged(int parameter) {
    FListChanged.Post(parameter);
}

void TMainForm::UMListChanged(int parameter) {
    QM_TRACE_ENTER("TMainForm::UMListChanged");
    if (parameter == 0) {
        DeviceTree->RepaintRows();
        RebuildFilterTree();
    } else if (parameter == 1) {
        FLifeCycle->SaveSession();
        RebuildDeviceTree();
        RebuildFilterTree();
    }
    QM_TRACE_EXIT("TMainForm::UMListChanged");
}

void TMainForm::RebuildDeviceTree() {
    DeviceTree->Rebuild(FFilterKind, FFilterValue);
}

// A rebuild of the filter tree with a node selected reports the selection's end and then its
// restoration; the device view is rebuilt once, for the filter both leave behind, instead of once
// per report (with a large inventory each rebuild of the view is expensive).
void TMainForm::RebuildFilterTree() {
    FDeviceTreeStale = false;
    {
        FRebuildingFilterTree = true;
        const auto restore = qScopeGuard([this] { FRebuildingFilterTree = false; });
        FilterTree->RebuildFilterTree();
    }
    if (FDeviceTreeStale) RebuildDeviceTree();
}

void TMainForm::StartScanIndicator() {
    FScanIndicator = kScanIndicatorTicks;
    ScanPanel->setText(kScanText);
}

void TMainForm::ScanIndicatorFadeTimer() {
    if (FScanIndicator > 0) {
        statusBar()->update();
    } else if (FScanIndicator == 0) {
        ScanPanel->clear();
    }
    --FScanIndicator;
}

QString TMainForm::ScanIndicatorText() const {
    return ScanPanel->text();
}

void TMainForm::ActionList1Update() {
    const bool selected = DeviceTree->SelectedAddress().has_value();
    DeleteDevice->setEnabled(selected);
    InspectDevice->setEnabled(selected);
}

// While ApplyFilter is unchecked the selection is only remembered: the device view keeps listing
// every device until the operator checks the action again.
void TMainForm::FilterTreeChange(bool hasNode, qm::TFilterKind kind, const QString& value) {
    FTreeHasNode = hasNode;
    if (hasNode) {
        FTreeKind = kind;
        FTreeValue = value.toStdString();
    }
    if (ApplyFilter->isChecked()) UseTreeFilter();
    if (FRebuildingFilterTree)
        FDeviceTreeStale = true;
    else
        RebuildDeviceTree();
}

void TMainForm::UseTreeFilter() {
    if (FTreeHasNode) {
        FFilterKind = FTreeKind;
        FFilterValue = FTreeValue;
    } else {
        FFilterKind = qm::fkNone;
    }
}

void TMainForm::ApplyFilterExecute() {
    const bool apply = ApplyFilter->isChecked();
    FilterTree->setEnabled(apply);
    if (apply) {
        UseTreeFilter();
    } else {
        FFilterKind = qm::fkNone;
    }
    RebuildDeviceTree();
}

void TMainForm::HideInactiveExecute() {
    Session().SetHideInactive(HideInactive->isChecked());
    DeviceListChanged();
}

// The details window looks the device up again when it opens; the check here keeps a device
// deleted since its row was selected from opening the window at all.
void TMainForm::InspectDeviceExecute() {
    const std::optional<std::string> address = DeviceTree->SelectedAddress();
    if (!address || !IsListed(*address)) return;
    FDialogs.deviceDetails->ShowDevice(*address);
}

void TMainForm::SetLocationExecute() {
    const std::optional<std::string> location = FDialogs.chooseLocation->ChooseLocation(Session().Location());
    if (!location) return;
    ReportingErrors(this, [this, &location] {
        Session().SetCurrentLocation(*location);
        AddLogLine("Moved to location: " + Session().Location());
    });
}

void TMainForm::RadioInformationExecute() {
    FDialogs.radioInfo->exec();
}

void TMainForm::AboutExecute() {
    FDialogs.about->exec();
}

// Without a handler for local HTML pages the desktop opens nothing, and nothing is shown.
void TMainForm::HelpExecute() {
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QString::fromStdString(HelpPageFile(qm::ProgramDirectory()))));
}

// The device view may be rebuilt while the question is open (the main thread goes on serving the
// discovery thread), so the device is the one whose row was selected when the command started.
void TMainForm::DeleteDeviceExecute() {
    const std::optional<std::string> address = DeviceTree->SelectedAddress();
    if (!address || !Confirmed("Are you sure you want to delete the selected device?")) return;
    if (!DeleteListedDevice(*address)) return;
    DeleteHistoryOf({*address});
    DeviceListChanged();
}

void TMainForm::DeleteAllDevicesExecute() {
    if (!Confirmed("Are you sure you want to delete all discovered devices?")) return;
    std::vector<std::string> addresses;
    {
        qm::TDeviceListLock lock(Session().DeviceList());
        for (int i = 0; i < lock->Count(); ++i) addresses.push_back(lock->Items(i).Address());
        lock->Clear();
    }
    DeleteHistoryOf(std::move(addresses));
    DeviceListChanged();
}

// The store deletes on its own thread, after the sightings it was handed before.
void TMainForm::DeleteHistoryOf(std::vector<std::string> addresses) {
    if (qm::IHistoryStore* history = FLifeCycle->History()) history->DeleteDevices(std::move(addresses));
}

// No log line records the clearing: the log stays empty until the next event.
void TMainForm::ClearLogExecute() {
    if (!Confirmed("Are you sure you want to delete all messages from the log?")) return;
    Session().Log().clear();
    ReloadLog();
    ReportingErrors(this, [this] { FLifeCycle->SaveSession(); });
}

bool TMainForm::Confirmed(const char* question) {
    return FDialogs.questions->Ask(question) == TAnswer::Yes;
}

bool TMainForm::IsListed(const std::string& address) {
    qm::TDeviceListLock lock(Session().DeviceList());
    return lock->FindDevice(address) != nullptr;
}

bool TMainForm::DeleteListedDevice(const std::string& address) {
    qm::TDeviceListLock lock(Session().DeviceList());
    const qm::TBTDevice* device = lock->FindDevice(address);
    if (!device) return false;
    lock->Delete(device->Index());
    return true;
}

}  // namespace qm::ui
