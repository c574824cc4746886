// The radio information window on the offscreen platform over controllers the test makes up:
// what it lists and shows for each radio, choosing another radio, no radio at all, and a radio
// that cannot be read. Pictures of the window with two radios are written for a look by eye.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "quillmark/base/SystemErrorText.h"
#include "quillmark/bluetooth/radios/KvBluetoothAPI.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/RadioInfoForm.h"
#include "support/Grabs.h"
#include "support/ModalWindows.h"

namespace {

using uitest::DarkPalette;
using qm::bt::TLocalRadio;
using qm::ui::TRadioInfoForm;
using uitest::WhenModal;

class MadeUpControllers : public qm::bt::TLocalRadios {
public:
    std::vector<TLocalRadio> radios;
    std::set<std::uint16_t> unreadable;

    int List(std::vector<TLocalRadio>& list) override {
        list = radios;
        return 0;
    }
    int Read(std::uint16_t index, TLocalRadio& radio) override {
        if (unreadable.contains(index)) return ENODEV;
        radio = radios.at(index);
        return 0;
    }
    int SetPowered(std::uint16_t, bool) override { return EPERM; }
    int SetConnectable(std::uint16_t, bool) override { return EPERM; }
    int SetDiscoverable(std::uint16_t, bool) override { return EPERM; }
};

TLocalRadio Radio(std::uint16_t index, const char* name, qm::bt::TBdAddr address, std::uint32_t classOfDevice,
                  std::uint16_t manufacturer, std::uint16_t subversion, bool discoverable, bool connectable) {
    TLocalRadio radio;
    radio.index = index;
    radio.name = name;
    radio.address = address;
    radio.classOfDevice = classOfDevice;
    radio.manufacturer = manufacturer;
    radio.lmpSubversion = subversion;
    radio.discoverable = discoverable;
    radio.connectable = connectable;
    return radio;
}

struct TShown {
    QStringList entries;
    QString name, cod, address, manufacturer, version, discoverable, connectable;
    bool picture = false;

    friend bool operator==(const TShown&, const TShown&) = default;
    friend std::ostream& operator<<(std::ostream& out, const TShown& shown) {
        return out << shown.entries.join('|').toStdString() << " / " << shown.name.toStdString() << " / "
                   << shown.cod.toStdString() << " / " << shown.address.toStdString() << " / "
                   << shown.manufacturer.toStdString() << " / " << shown.version.toStdString() << " / "
                   << shown.discoverable.toStdString() << " / " << shown.connectable.toStdString() << " / "
                   << shown.picture;
    }
};

class RadioInfoFormTest : public ::testing::Test {
protected:
    void SetUp() override { qm::bt::KvBTUsePlatform(&controllers, nullptr); }
    void TearDown() override { qm::bt::KvBTUsePlatform(nullptr, nullptr); }

    template <typename T>
    T& Child(const char* name) {
        return *form.findChild<T*>(name);
    }
    QString Label(const char* name) { return Child<QLabel>(name).text(); }

    // Whether the type picture shows: its area holds more than the background.
    bool PictureShown() {
        const QImage area = Child<QWidget>("TypeIcon").grab().toImage();
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x)
                if (area.pixel(x, y) != area.pixel(0, 0)) return true;
        return false;
    }

    TShown Snapshot() {
        TShown shown;
        auto& combo = Child<QComboBox>("RadioCombo");
        for (int i = 0; i < combo.count(); ++i) shown.entries << combo.itemText(i);
        shown.name = Label("Name");
        shown.cod = Label("COD");
        shown.address = Label("Address");
        shown.manufacturer = Label("Manufacturer");
        shown.version = Label("Version");
        shown.discoverable = Label("Discoverable");
        shown.connectable = Label("Connectable");
        shown.picture = PictureShown();
        return shown;
    }

    // Opens the window; act runs while it shows, then the window is closed.
    void Show(const std::function<void()>& act) {
        WhenModal([this, act](QWidget& modal) {
            EXPECT_EQ(&modal, &form);
            act();
            form.reject();
        });
        form.exec();
    }

    void GiveTwoRadios() {
        controllers.radios = {
            Radio(0, "Office Dongle", {0x00, 0x0A, 0x3A, 0x12, 0x34, 0x56}, 0x000104, 10, 65535, false, true),
            Radio(1, "<b>Lab</b> radio", {0x00, 0x1A, 0x7D, 0xDA, 0x71, 0x13}, 0x00020C, 65535, 300, true, true)};
    }

    MadeUpControllers controllers;
    QWidget owner;
    TRadioInfoForm form{&owner};
};

TEST_F(RadioInfoFormTest, ListsEveryRadioAndShowsTheChosenOne) {
    GiveTwoRadios();
    controllers.radios.push_back(Radio(2, "Spare", {0, 0, 0, 0, 0, 1}, 0, 300, 0, false, false));
    const QStringList entries = {"Office Dongle (Cambridge Silicon Radio)",
                                 "<b>Lab</b> radio (** Temporary Manufacturer Code)", "Spare (Unknown)"};
    TShown first, second;
    Show([&] {
        first = Snapshot();
        auto& combo = Child<QComboBox>("RadioCombo");
        combo.setFocus();
        uitest::PressKey(combo, Qt::Key_Down);
        second = Snapshot();
    });
    EXPECT_EQ(first, (TShown{entries, "Office Dongle", "Desktop Computer", "00:0A:3A:12:34:56",
                             "Cambridge Silicon Radio", "65535", "No", "Yes", true}));
    EXPECT_EQ(second, (TShown{entries, "<b>Lab</b> radio", "Smart Phone", "00:1A:7D:DA:71:13",
                              "** Temporary Manufacturer Code", "300", "Yes", "Yes", true}));
    EXPECT_EQ(qm::bt::KvBTRadioMap(), nullptr) << "the layer is shut down while the window is open";
}

TEST_F(RadioInfoFormTest, DesktopRadioShowsTheWorkstationPicture) {
    GiveTwoRadios();
    QImage shown;
    Show([&] { shown = Child<QWidget>("TypeIcon").grab().toImage().convertToFormat(QImage::Format_ARGB32); });
    QImage expected(shown.size(), QImage::Format_ARGB32);
    expected.fill(shown.pixel(0, 0));
    QPainter painter(&expected);
    painter.drawPixmap(0, 0, qm::ui::DevicePicture(qm::dtWorkstation, shown.devicePixelRatio()));
    painter.end();
    EXPECT_EQ(shown, expected);
}

TEST_F(RadioInfoFormTest, NoRadioLeavesEverythingEmpty) {
    TShown shown;
    Show([&] { shown = Snapshot(); });
    EXPECT_EQ(shown, TShown{});
}

// The error reaches the operator in the error box; the window then opens with an empty list, the
// labels keep what the last showing put there, and the layer is shut down for the next showing.
TEST_F(RadioInfoFormTest, RadioThatCannotBeReadEndsTheShowingWithAnError) {
    GiveTwoRadios();
    Show([] {});
    controllers.unreadable = {1};
    QString message;
    WhenModal([&](QWidget& box) {
        message = static_cast<QMessageBox&>(box).text();
        static_cast<QMessageBox&>(box).accept();
    });
    TShown shown;
    Show([&] { shown = Snapshot(); });
    EXPECT_EQ(message.toStdString(), "Unable to read radio information: " + qm::SystemErrorText(ENODEV));
    EXPECT_EQ(shown, (TShown{{}, "Office Dongle", "Desktop Computer", "00:0A:3A:12:34:56", "Cambridge Silicon Radio",
                             "65535", "No", "Yes", false}));
    EXPECT_EQ(qm::bt::KvBTRadioMap(), nullptr);
}

TEST_F(RadioInfoFormTest, PicturesWithTwoRadios) {
    GiveTwoRadios();
    const char* directory = std::getenv("QM_GRAB_DIR");
    const std::filesystem::path grabs = directory ? directory : std::filesystem::current_path();
    for (const char* palette : {"", "_dark"}) {
        if (*palette != '\0') form.setPalette(DarkPalette());
        Show([&] {
            const std::string file = "radio_info" + std::string(palette) + ".png";
            EXPECT_TRUE(form.grab().save(QString::fromStdString((grabs / file).string())));
        });
    }
}

}  // namespace
