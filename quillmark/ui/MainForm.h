#pragma once
// The main window. The Network page holds the filter tree (with the Apply Filter and Hide Inactive
// check boxes) and the device view side by side; the Log page lists the session's log, newest line
// first; the status bar shows the hint of the item under the pointer and the scan indicator. Every
// menu item and check box runs one of the window's actions.
//
// The window drives the program's life cycle: its constructor starts it (session, suspended
// discovery thread, first log line), the first show sets the initial device filter and resumes
// the thread, closing saves the session, and the destructor stops the thread while still serving
// its hand-offs, logs "Scan finished" and saves once more.
//
// The discovery thread reaches the window through the bridge (hand-offs) and the list-changed
// notice, a posted event merged while one is pending (ListChangedEvent.h).

#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>

#include "quillmark/bluetooth/DiscoveryRadio.h"
#include "quillmark/bluetooth/radios/RadioLayerPlatform.h"
#include "quillmark/core/DeviceFilter.h"
#include "quillmark/core/DeviceListNotifier.h"
#include "quillmark/core/ProgramLifeCycle.h"
#include "quillmark/ui/ListChangedEvent.h"
#include "quillmark/ui/QtMainThreadBridge.h"

class QAction;
class QCheckBox;
class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QTabWidget;
class QTimer;
class QVBoxLayout;

namespace qm::ui {

class TAboutForm;
class TChooseLocationForm;
class TDeviceDetailsForm;
class TDeviceView;
class TFilterTree;
class TRadioInfoForm;
class IQuestions;

class TMainForm final : public QMainWindow, public qm::ILogView, public qm::IDeviceListNotifier {
    Q_OBJECT

public:
    // The windows that the actions open, created after the main window and owned by it, and the
    // confirmations the delete and clear commands ask, which must outlive the window's use.
    struct TDialogs {
        TRadioInfoForm* radioInfo = nullptr;
        TDeviceDetailsForm* deviceDetails = nullptr;
        TChooseLocationForm* chooseLocation = nullptr;
        TAboutForm* about = nullptr;
        IQuestions* questions = nullptr;
    };

    // Builds the window, then starts the life cycle with the session file at sessionPath and an
    // inquiry pass over the chosen radio. Throws the TError of the first save. The sound must
    // outlive the window.
    TMainForm(const std::string& sessionPath, const qm::TRadioChoice& radio, qm::IFoundSound& sound);
    // Stops the life cycle; an error of its saves is shown in the error box.
    ~TMainForm() override;

    // Before the window is shown.
    void SetDialogs(const TDialogs& dialogs);
    qm::TSessionState& Session();

    // Time text, ": " and the text on top of the session log and of the log page, then a save;
    // an error of the save passes to the caller.
    void AddLogLine(const std::string& text);
    // Refills the log page from the session log.
    void ReloadLog();
    // Posts the list-changed notice 1 (membership changed), traced.
    void DeviceListChanged();
    // Posts the list-changed notice 0 (records changed); from any thread.
    void DeviceDataChanged() override;
    // Posts the list-changed notice with any parameter; from any thread.
    void PostListChanged(int parameter);
    // Refills the device view with the device filter FFilterKind and FFilterValue.
    void RebuildDeviceTree();
    // Refills the filter tree; a selection it drops and restores rebuilds the device view once.
    void RebuildFilterTree();

    // Shows "Scan" in the status bar's second panel for the next five ticks of ScanIndicatorFade.
    void StartScanIndicator();
    // One tick of the 200 ms ScanIndicatorFade timer.
    void ScanIndicatorFadeTimer();
    QString ScanIndicatorText() const;

    void LogLineAdded(const std::string& line) override;

protected:
    bool event(QEvent* event) override;
    void customEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QAction* NewAction(const char* name, const char* caption, const char* hint);
    void CreateActions();
    void CreateMenus();
    void CreatePages();
    QWidget* CreateNetworkSheet();
    QWidget* CreateLogSheet();
    void CreateStatusBar();
    void CreateViews();
    QSize OpeningSize() const;
    void CentreOnScreen();

    void FormShow();
    void FormClose();
    void FormResize();
    void UMListChanged(int parameter);
    void ActionList1Update();
    void FilterTreeChange(bool hasNode, qm::TFilterKind kind, const QString& value);
    // Device filter := the filter tree's selected node, fkNone when no node is selected.
    void UseTreeFilter();

    void ApplyFilterExecute();
    void HideInactiveExecute();
    void InspectDeviceExecute();
    void SetLocationExecute();
    void RadioInformationExecute();
    void AboutExecute();
    void HelpExecute();
    void DeleteDeviceExecute();
    void DeleteAllDevicesExecute();
    void ClearLogExecute();
    // Asks the question; true only for the answer Yes.
    bool Confirmed(const char* question);
    bool IsListed(const std::string& address);
    // Deletes the first device with the address under the list's lock; false when none is listed.
    bool DeleteListedDevice(const std::string& address);
    void DeleteHistoryOf(std::vector<std::string> addresses);

    // Actions, as the menus and check boxes run them.
    QAction* Exit;
    QAction* RadioInformation;
    QAction* SetLocation;
    QAction* About;
    QAction* Help;
    QAction* DeleteDevice;
    QAction* ClearLog;
    QAction* DeleteAllDevices;
    QAction* InspectDevice;
    QAction* HideInactive;
    QAction* ApplyFilter;

    // Controls.
    QTabWidget* MainTabs;
    QSplitter* Splitter1;
    QVBoxLayout* FilterPanelLayout;
    QCheckBox* ApplyFilterButton;
    QCheckBox* CheckBox1;
    TFilterTree* FilterTree = nullptr;
    TDeviceView* DeviceTree = nullptr;
    QMenu* DeviceManageMenu;
    QListWidget* LogList;
    QLabel* HintPanel;
    QLabel* ScanPanel;
    QTimer* ScanIndicatorFade;

    // The radio the discovery pass scans with, and the radio layer's view of the machine's radios
    // through it, for the radio information window.
    std::shared_ptr<qm::bt::TSocketFactory> FRadio;
    std::unique_ptr<qm::bt::TRadioLayerPlatform> FRadioPlatform;
    // The notice poster and the bridge outlive the life cycle, whose thread uses both.
    TListChangedPoster FListChanged;
    TQtMainThreadBridge FBridge;
    std::unique_ptr<qm::TProgramLifeCycle> FLifeCycle;
    TDialogs FDialogs;
    bool FShown = false;

    std::int32_t FScanIndicator = 0;
    qm::TFilterKind FFilterKind = qm::fkNone;
    std::string FFilterValue;
    // The filter tree's selection as it last reported it, applied while ApplyFilter is checked.
    bool FTreeHasNode = false;
    bool FRebuildingFilterTree = false;
    bool FDeviceTreeStale = false;
    qm::TFilterKind FTreeKind = qm::fkNone;
    std::string FTreeValue;
};

}  // namespace qm::ui
