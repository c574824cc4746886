#pragma once
// The modal window that shows one device in full: name, address and location, the services it
// advertises and the text of its raw SDP records, with a button that assigns the device to another
// location. Created once at start-up and refilled from the device list at every showing; it keeps
// no reference to a record, only the address of the device it shows.

#include <QDialog>
#include <functional>
#include <string>

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

class TDeviceDetailsForm final : public QDialog {
    Q_OBJECT

public:
    // deviceDataChanged posts the list-changed notice 0 (records changed). The session and the
    // chooser must outlive the window.
    TDeviceDetailsForm(qm::TSessionState& session, TChooseLocationForm& chooser,
                       std::function<void()> deviceDataChanged, QWidget* parent);

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
};

}  // namespace qm::ui
