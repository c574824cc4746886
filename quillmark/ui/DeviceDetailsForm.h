#pragma once
// The modal window that shows one device in full: name, address and location, the services it
// advertises, the text of its raw SDP records and its sighting history, with a button that assigns
// the device to another location. Created once at start-up and refilled from the device list at every
// showing; it keeps no reference to a record, only the address of the device it shows.

#include <QDialog>
#include <functional>
#include <string>

#include "quillmark/ui/HistoryReaderOpener.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;

namespace qm {
class TBTDevice;
class TSessionState;
}  // namespace qm

namespace qm::ui {

class TChooseLocationForm;
class THistoryPage;

class TDeviceDetailsForm final : public QDialog {
    Q_OBJECT

public:
    // deviceDataChanged posts the list-changed notice 0 (records changed). The session and the
    // chooser must outlive the window. openHistory opens a reader on the sighting history for the
    // History page, at each showing that shows that page.
    TDeviceDetailsForm(qm::TSessionState& session, TChooseLocationForm& chooser,
                       std::function<void()> deviceDataChanged, TOpenHistory openHistory, QWidget* parent);

    // Shows the device with the address modally; closes at once when no such device is listed.
    void ShowDevice(const std::string& address);

private:
    QWidget* CreateHeader();
    QWidget* CreateGeneralPage();
    QWidget* CreateRawSDPPage();

    // Fills the window from the device with SelectedAddress; false when no such device is listed.
    bool FormShow();
    void FillFromDevice(qm::TBTDevice& device);
    void LocationButtonClick();
    // Reads the history when its page is in view and has not been read for this showing.
    void LoadHistoryIfShown();
    std::string CurrentLocation() const;

    qm::TSessionState& FSession;
    TChooseLocationForm& FChooser;
    std::function<void()> FDeviceDataChanged;
    std::string SelectedAddress;

    QLabel* Name;
    QLabel* DeviceAddress;
    QTabWidget* PageControl1;
    QLabel* Location;
    QToolButton* LocationButton;
    QListWidget* ServiceList;
    QPlainTextEdit* SDPMemo;
    THistoryPage* HistoryPage;
};

}  // namespace qm::ui
