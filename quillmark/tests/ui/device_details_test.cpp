// The device details window on the offscreen platform, answered as the operator would: what it
// shows for devices with and without SDP records, the error of an unreadable record, a device
// deleted before the window opens, the page that stays chosen, copying the SDP text, and the
// location button, which moves only the shown device. Pictures of both pages are written for a
// look by eye.

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "support/Grabs.h"
#include "support/InventoryFixture.h"
#include "support/ModalWindows.h"

namespace {

using uitest::GrabDirectory;
using uitest::DarkPalette;
using qm::ui::TChooseLocationForm;
using qm::ui::TDeviceDetailsForm;
using uitest::WhenModal;

constexpr const char* kAddress = "(00:11:22:AA:BB:01)";
constexpr const char* kNeighbour = "(00:11:22:AA:BB:02)";

// A record with a handle only: no service name.
const std::string kUnnamedRecord("\x35\x08\x09\x00\x00\x0A\x00\x01\x00\x00", 10);
// A sequence that claims more bytes than it holds.
const std::string kCorruptRecord("\x35\x20\x09\x00\x00", 5);

// What the window showed while it was open.
struct TShown {
    QString name;
    QString address;
    QString location;
    QStringList services;
    QString sdpText;
    QString page;
};

class DeviceDetailsTest : public uitest::TInventoryTest {
protected:
    template <typename T>
    T& Child(const char* name) {
        return *form.findChild<T*>(name);
    }

    TShown Snapshot() {
        TShown shown{
            Child<QLabel>("Name").text(),
            Child<QLabel>("DeviceAddress").text(),
            Child<QLabel>("Location").text(),
            {},
            Child<QPlainTextEdit>("SDPMemo").toPlainText(),
            Child<QTabWidget>("PageControl1").tabText(Child<QTabWidget>("PageControl1").currentIndex())};
        for (int row = 0; row < Child<QListWidget>("ServiceList").count(); ++row)
            shown.services.append(Child<QListWidget>("ServiceList").item(row)->text());
        return shown;
    }

    // Opens the window for the address; act runs while it shows, then the window is closed.
    void Show(const std::string& address, const std::function<void()>& act) {
        WhenModal([this, act](QWidget& modal) {
            EXPECT_EQ(&modal, &form);
            act();
            form.reject();
        });
        form.ShowDevice(address);
    }

    TShown ShowAndLook(const std::string& address) {
        TShown shown;
        Show(address, [&] { shown = Snapshot(); });
        return shown;
    }

    std::string DeviceLocation(const std::string& address) {
        qm::TDeviceListLock lock(session_.DeviceList());
        return lock->FindDevice(address)->Location();
    }

    QWidget owner;
    TChooseLocationForm chooser{session_, &owner};
    int notices = 0;
    TDeviceDetailsForm form{session_, chooser, [this] { ++notices; }, qm::ui::TOpenHistory{}, &owner};
};

TEST_F(DeviceDetailsTest, ShowsTheDeviceItsServicesAndItsRecordText) {
    struct TCase {
        const char* what;
        std::vector<std::string> records;
        QStringList services;
        bool hasRecordText;
    };
    const std::vector<TCase> cases = {
        {"no SDP data", {}, {}, false},
        {"two records without a service name",
         {kUnnamedRecord, kUnnamedRecord},
         {"Unknown", "Unknown"},
         true},
        {"named records",
         {uitest::ServiceRecord("Serial Port"), uitest::ServiceRecord("<b>Fax</b>")},
         {"Serial Port", "<b>Fax</b>"},
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        DeleteDevice(kAddress);
        AddDevice({.address = kAddress, .name = "Phone <i>one</i>", .location = "Lab"});
        {
            qm::TDeviceListLock lock(session_.DeviceList());
            lock->FindDevice(kAddress)->RawSDPRecords() = c.records;
        }
        const TShown shown = ShowAndLook(kAddress);
        EXPECT_EQ(shown.name, "Phone <i>one</i>");
        EXPECT_EQ(shown.address, kAddress);
        EXPECT_EQ(shown.location, "Lab");
        EXPECT_EQ(shown.services, c.services);
        if (c.hasRecordText) {
            qm::TDeviceListLock lock(session_.DeviceList());
            EXPECT_EQ(shown.sdpText.toStdString(), lock->FindDevice(kAddress)->SDPText());
        } else {
            EXPECT_EQ(shown.sdpText, "No SDP information available.");
        }
    }
}

TEST_F(DeviceDetailsTest, UnreadableRecordShowsTheErrorThenOpensWithoutThatDevicesRecords) {
    AddDevice({.address = kNeighbour, .name = "Readable", .services = {"Headset"}});
    AddDevice({.address = kAddress, .name = "Broken"});
    std::string expectedError;
    {
        qm::TDeviceListLock lock(session_.DeviceList());
        qm::TBTDevice& device = *lock->FindDevice(kAddress);
        device.RawSDPRecords() = {uitest::ServiceRecord("Fine"), kCorruptRecord};
        try {
            device.SDPText();
        } catch (const qm::TError& error) {
            expectedError = error.Message();
        }
    }
    ASSERT_FALSE(expectedError.empty());
    ShowAndLook(kNeighbour);

    QString errorText;
    WhenModal([&](QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        ASSERT_NE(box, nullptr);
        errorText = box->text();
        EXPECT_EQ(box->textFormat(), Qt::PlainText);
        // The error box comes first: the window opens after it.
        EXPECT_FALSE(form.isVisible());
        box->button(QMessageBox::Ok)->click();
    });
    const TShown shown = ShowAndLook(kAddress);
    EXPECT_EQ(errorText.toStdString(), expectedError);
    EXPECT_EQ(shown.name, "Broken");
    EXPECT_EQ(shown.address, kAddress);
    EXPECT_TRUE(shown.services.isEmpty());
    EXPECT_TRUE(shown.sdpText.isEmpty());
}

TEST_F(DeviceDetailsTest, DeviceDeletedBeforeOpeningClosesAtOnce) {
    AddDevice({.address = kAddress});
    DeleteDevice(kAddress);
    // Would close the window if it opened; it can fire only inside a window's own event loop.
    bool opened = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        opened = true;
        form.reject();
    });
    guard.start(0);
    form.ShowDevice(kAddress);
    EXPECT_FALSE(opened);
    EXPECT_EQ(form.result(), QDialog::Rejected);
}

TEST_F(DeviceDetailsTest, PageChosenLastStaysChosenAndEnterOrEscapeClose) {
    AddDevice({.address = kAddress, .services = {"Headset"}});
    Show(kAddress, [&] {
        EXPECT_EQ(Snapshot().page, "General");
        Child<QTabWidget>("PageControl1").setCurrentIndex(1);
    });
    EXPECT_EQ(ShowAndLook(kAddress).page, "Raw SDP");
    for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
        WhenModal([key](QWidget& modal) { uitest::PressKey(modal, key); });
        form.ShowDevice(kAddress);
        EXPECT_EQ(form.result(), QDialog::Rejected);
    }
}

TEST_F(DeviceDetailsTest, RecordTextIsReadOnlyAndCanBeCopied) {
    AddDevice({.address = kAddress, .services = {"Serial Port"}});
    Show(kAddress, [&] {
        auto& memo = Child<QPlainTextEdit>("SDPMemo");
        EXPECT_TRUE(memo.isReadOnly());
        EXPECT_TRUE(memo.textInteractionFlags() & Qt::TextSelectableByKeyboard);
        memo.selectAll();
        memo.copy();
        EXPECT_EQ(QApplication::clipboard()->text(), memo.toPlainText());
    });
}

class DeviceLocationTest : public DeviceDetailsTest {
protected:
    void SetUp() override {
        for (const char* location : {"Lab", "Office"}) session_.SetCurrentLocation(location);
        AddDevices({{.address = kAddress, .location = "Lab"}, {.address = kNeighbour, .location = "Lab"}});
    }

    // Clicks the location button; answer runs on the chooser. Returns the Location label after.
    QString ChooseWith(const std::function<void(TChooseLocationForm&)>& answer) {
        QString label;
        Show(kAddress, [&] {
            WhenModal([&](QWidget& modal) {
                EXPECT_EQ(&modal, &chooser);
                answer(chooser);
            });
            Child<QToolButton>("LocationButton").click();
            label = Child<QLabel>("Location").text();
        });
        return label;
    }

    static std::function<void(TChooseLocationForm&)> Typing(const char* text) {
        return [text](TChooseLocationForm& dialog) {
            dialog.findChild<QComboBox*>("LocationCombo")->setEditText(text);
            dialog.findChild<QPushButton*>("OKButton")->click();
        };
    }
};

TEST_F(DeviceLocationTest, NewLocationMovesOnlyThisDeviceAndPostsOneNotice) {
    // The chooser starts from the session's current location, not from the device's.
    EXPECT_EQ(ChooseWith([](TChooseLocationForm& dialog) {
                  EXPECT_EQ(dialog.findChild<QComboBox*>("LocationCombo")->currentText(), "Office");
                  Typing("Attic ")(dialog);
              }),
              "Attic ");
    EXPECT_EQ(DeviceLocation(kAddress), "Attic ");
    EXPECT_EQ(DeviceLocation(kNeighbour), "Lab");
    EXPECT_EQ(session_.Location(), "Office");
    EXPECT_EQ(session_.LocationList(), (std::vector<std::string>{"Lab", "Office"}));
    EXPECT_EQ(notices, 1);
}

TEST_F(DeviceLocationTest, SameLocationCancelOrDeletedDeviceChangeNothing) {
    struct TCase {
        const char* what;
        std::function<void(TChooseLocationForm&)> answer;
    };
    const std::vector<TCase> cases = {
        {"the location shown", Typing("Lab")},
        {"cancel", [](TChooseLocationForm& dialog) { dialog.reject(); }},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ChooseWith(c.answer), "Lab");
        EXPECT_EQ(DeviceLocation(kAddress), "Lab");
        EXPECT_EQ(notices, 0);
    }
    SCOPED_TRACE("deleted while the chooser is open");
    EXPECT_EQ(ChooseWith([this](TChooseLocationForm& dialog) {
                  DeleteDevice(kAddress);
                  Typing("Attic")(dialog);
              }),
              "Lab");
    EXPECT_EQ(DeviceLocation(kNeighbour), "Lab");
    EXPECT_EQ(notices, 0);
}

TEST_F(DeviceDetailsTest, PicturesOfBothPages) {
    const std::filesystem::path grabs = GrabDirectory();
    AddDevice({.address = kAddress,
               .name = "Ines's Headset",
               .location = "Meeting Room 2",
               .services = {"Headset", "Hands-Free unit", "Audio Sink", "AVRCP Target"}});
    const auto grabPages = [&](const char* palette) {
        Show(kAddress, [&] {
            auto& pages = Child<QTabWidget>("PageControl1");
            for (const int page : {0, 1}) {
                pages.setCurrentIndex(page);
                const std::string file =
                    "device_details_" + std::string(page == 0 ? "general" : "raw_sdp") + palette;
                EXPECT_TRUE(form.grab().save(QString::fromStdString((grabs / (file + ".png")).string())));
            }
            pages.setCurrentIndex(0);
        });
    };
    grabPages("");
    form.setPalette(DarkPalette());
    grabPages("_dark");
}

}  // namespace
