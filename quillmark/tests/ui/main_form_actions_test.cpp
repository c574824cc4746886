// The main window's commands on the offscreen platform, over a session in a temporary directory
// and the emulated radio: the confirmations and what each answer leaves behind in the list, the
// session file and the sighting history, deleting by the address remembered when the command
// started, deleting everything while passes go on, clearing the log, setting the location through
// the real chooser, opening the windows, Exit, the question box itself and where the help page is
// found.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/ProgramDirectory.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/history/HistoryPath.h"
#include "quillmark/history/SqliteHistoryReader.h"
#include "quillmark/history/SqliteHistoryStore.h"
#include "quillmark/ui/AboutForm.h"
#include "quillmark/ui/ChooseLocationForm.h"
#include "quillmark/ui/DeviceDetailsForm.h"
#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/HelpPage.h"
#include "quillmark/ui/HistoryReaderOpener.h"
#include "quillmark/ui/MainForm.h"
#include "quillmark/ui/MessageBoxQuestions.h"
#include "quillmark/ui/RadioInfoForm.h"
#include "support/MainThreadServing.h"
#include "support/ModalWindows.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using qmtest::ServeUntil;
using qmtest::TSilentSound;

using qm::ui::TAnswer;
using qm::ui::TMainForm;
using testsupport::ScopedTempDir;
using uitest::WhenModal;
using Addresses = std::vector<std::string>;

constexpr const char* kNoDevices = R"({"devices": []})";
constexpr const char* kDeleteQuestion = "Are you sure you want to delete the selected device?";
constexpr const char* kDeleteAllQuestion = "Are you sure you want to delete all discovered devices?";
constexpr const char* kClearLogQuestion = "Are you sure you want to delete all messages from the log?";

// Answers for the operator; whileAsking runs while the question is open.
class TScriptedQuestions : public qm::ui::IQuestions {
public:
    TAnswer Ask(const std::string& question) override {
        asked.push_back(question);
        if (whileAsking) whileAsking();
        return answer;
    }
    TAnswer answer = TAnswer::Yes;
    std::function<void()> whileAsking;
    std::vector<std::string> asked;
};

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

struct TSeedDevice {
    std::string address;
    std::string name;
};

class MainFormActionsTest : public testing::Test {
protected:
    // A session file with the devices, all heard ten seconds ago, and the location, then the
    // window over it and the radio, shown, with its dialogs and the scripted questions.
    void Start(const std::vector<TSeedDevice>& devices, const std::string& location = "",
               const qm::TRadioChoice& radio = {true, "scenario.json"}) {
        dir.write("scenario.json", kNoDevices);
        WriteSession(devices, location);
        form = std::make_unique<TMainForm>(sessionPath, radio, sound);
        auto* chooser = new qm::ui::TChooseLocationForm(form->Session(), form.get());
        form->SetDialogs({.radioInfo = new qm::ui::TRadioInfoForm(form.get()),
                          .deviceDetails = new qm::ui::TDeviceDetailsForm(
                              form->Session(), *chooser, [this] { form->DeviceDataChanged(); },
                              qm::ui::HistoryReaderOpener(sessionPath), form.get()),
                          .chooseLocation = chooser,
                          .about = new qm::ui::TAboutForm(form.get()),
                          .questions = &questions});
        form->show();
    }

    void WriteSession(const std::vector<TSeedDevice>& devices, const std::string& location) {
        qm::TSessionState state;
        if (!location.empty()) state.SetCurrentLocation(location);
        state.Log().push_front("an old line");
        qm::TDeviceListLock lock(state.DeviceList());
        const std::int32_t now = qm::SystemClock().Now();
        for (const TSeedDevice& seed : devices) {
            qm::TBTDevice& device = lock->Add();
            device.SetAddress(seed.address);
            device.SetName(seed.name);
            device.SetFirstSeen(now - 10);
            device.SetLastSeen(now - 10);
            device.SetSeenCount(1);
        }
        qm::SaveSession(state, sessionPath);
    }

    void Trigger(const char* action) { form->findChild<QAction*>(action)->trigger(); }
    qm::ui::TDeviceView& View() { return *form->findChild<qm::ui::TDeviceView*>("DeviceTree"); }
    void Select(const std::string& address) {
        const Addresses& rows = View().RowAddresses();
        const auto row = std::find(rows.begin(), rows.end(), address) - rows.begin();
        ASSERT_LT(row, static_cast<std::ptrdiff_t>(rows.size())) << address;
        View().setCurrentIndex(View().model()->index(static_cast<int>(row), 0));
    }
    Addresses ListedAddresses() {
        qm::TDeviceListLock lock(form->Session().DeviceList());
        Addresses addresses;
        for (int i = 0; i < lock->Count(); ++i) addresses.push_back(lock->Items(i).Address());
        return addresses;
    }
    // Lets posted notices arrive and be handled.
    void ServePending() {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
    QStringList LogListLines() {
        QStringList lines;
        const auto& list = *form->findChild<QListWidget*>("LogList");
        for (int row = 0; row < list.count(); ++row) lines.append(list.item(row)->text());
        return lines;
    }
    // Adds a device under the list's lock, heard now.
    void AddDevice(const TSeedDevice& seed) {
        qm::TDeviceListLock lock(form->Session().DeviceList());
        qm::TBTDevice& device = lock->Add();
        device.SetAddress(seed.address);
        device.SetName(seed.name);
        device.SetLastSeen(qm::SystemClock().Now());
    }

    ScopedTempDir dir{ScopedTempDir::Chdir::Yes};
    std::string sessionPath = (dir / "Quillmark.dat").string();
    TSilentSound sound;
    TScriptedQuestions questions;
    std::unique_ptr<TMainForm> form;
};

const std::vector<TSeedDevice> kThreeDevices = {
    {"(00:00:00:00:00:01)", "Beta"}, {"(00:00:00:00:00:02)", "Delta"}, {"(00:00:00:00:00:03)", "Gamma"}};

// --- the confirmations ---

TEST_F(MainFormActionsTest, EachCommandAsksItsQuestionAndOnlyYesChangesAnything) {
    struct TCase {
        const char* action;
        const char* question;
        TAnswer answer;
        bool changes;
    };
    const TCase cases[] = {
        {"DeleteDevice", kDeleteQuestion, TAnswer::Yes, true},
        {"DeleteDevice", kDeleteQuestion, TAnswer::No, false},
        {"DeleteDevice", kDeleteQuestion, TAnswer::Cancel, false},
        {"DeleteAllDevices", kDeleteAllQuestion, TAnswer::Yes, true},
        {"DeleteAllDevices", kDeleteAllQuestion, TAnswer::No, false},
        {"DeleteAllDevices", kDeleteAllQuestion, TAnswer::Cancel, false},
        {"ClearLog", kClearLogQuestion, TAnswer::Yes, true},
        {"ClearLog", kClearLogQuestion, TAnswer::No, false},
        {"ClearLog", kClearLogQuestion, TAnswer::Cancel, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " answered " + std::to_string(static_cast<int>(c.answer)));
        Start(kThreeDevices);
        Select("(00:00:00:00:00:02)");
        ServePending();
        const std::string savedBefore = FileText(sessionPath);
        const Addresses listedBefore = ListedAddresses();
        const QStringList logBefore = LogListLines();
        questions = {};
        questions.answer = c.answer;

        Trigger(c.action);
        ServePending();
        EXPECT_EQ(questions.asked, std::vector<std::string>{c.question});
        const bool changed = ListedAddresses() != listedBefore || LogListLines() != logBefore ||
                             FileText(sessionPath) != savedBefore;
        EXPECT_EQ(changed, c.changes);
        form.reset();
    }
}

TEST_F(MainFormActionsTest, DeleteRemovesTheSelectedDeviceFromTheListTheViewAndTheSessionFile) {
    Start(kThreeDevices);
    Select("(00:00:00:00:00:02)");
    Trigger("DeleteDevice");
    EXPECT_EQ(ListedAddresses(), Addresses({"(00:00:00:00:00:01)", "(00:00:00:00:00:03)"}));
    ServePending();
    EXPECT_EQ(View().RowAddresses(), Addresses({"(00:00:00:00:00:01)", "(00:00:00:00:00:03)"}));
    const auto saved = qm::LoadSession(sessionPath);
    qm::TDeviceListLock lock(saved->DeviceList());
    EXPECT_EQ(lock->FindDevice("(00:00:00:00:00:02)"), nullptr);
    EXPECT_EQ(lock->Count(), 2);
}

// While the question is open the device listed before the selected one goes and the view is
// rebuilt, so the selected device moves up a row; Yes deletes the device selected when the
// command started, not the one now on its old row.
TEST_F(MainFormActionsTest, DeleteTakesTheDeviceSelectedWhenAskedEvenIfItsRowMoved) {
    Start(kThreeDevices);
    Select("(00:00:00:00:00:02)");
    questions.whileAsking = [this] {
        {
            qm::TDeviceListLock lock(form->Session().DeviceList());
            lock->Delete(lock->FindDevice("(00:00:00:00:00:01)")->Index());
        }
        form->DeviceListChanged();
        ASSERT_TRUE(ServeUntil([this] { return View().RowAddresses().size() == 2; }));
    };
    Trigger("DeleteDevice");
    ServePending();
    EXPECT_EQ(View().RowAddresses(), Addresses({"(00:00:00:00:00:03)"}));
}

TEST_F(MainFormActionsTest, DeleteOfADeviceGoneWhileAskedChangesNothingElse) {
    Start(kThreeDevices);
    Select("(00:00:00:00:00:02)");
    questions.whileAsking = [this] {
        qm::TDeviceListLock lock(form->Session().DeviceList());
        lock->Delete(lock->FindDevice("(00:00:00:00:00:02)")->Index());
    };
    Trigger("DeleteDevice");
    ServePending();
    EXPECT_EQ(ListedAddresses(), Addresses({"(00:00:00:00:00:01)", "(00:00:00:00:00:03)"}));
}

TEST_F(MainFormActionsTest, DeleteWithoutASelectedRowAsksNothing) {
    Start(kThreeDevices);
    Trigger("DeleteDevice");
    EXPECT_TRUE(questions.asked.empty());
    EXPECT_EQ(ListedAddresses().size(), 3u);
}

// The history store beside the session, as an earlier scan left it: one sighting of each device.
void WriteHistory(const std::string& sessionPath, const std::vector<TSeedDevice>& devices) {
    qm::TSqliteHistoryStore store(qm::HistoryStorePath(sessionPath), [](const std::string&) {});
    std::vector<qm::TRecordedSighting> batch;
    for (const TSeedDevice& seed : devices) {
        qm::TRecordedSighting recorded;
        recorded.sighting.address = seed.address;
        recorded.sighting.rssi = -60;
        recorded.sighting.receivedMs = (qm::SystemClock().Now() - 10) * std::int64_t{1000};
        recorded.location = "Office";
        batch.push_back(recorded);
    }
    store.SightingsRecorded(std::move(batch));
    store.Flush();
}

Addresses HistoryAddresses(const std::string& sessionPath) {
    Addresses addresses;
    for (const qm::THistoryDeviceSummary& device : qm::OpenHistoryReader(sessionPath)->Summary())
        addresses.push_back(device.address);
    return addresses;
}

// The window's store writes the deletions once it has closed; only the devices deleted with Yes
// lose their history, and clearing the log keeps all of it.
TEST_F(MainFormActionsTest, DeletingADeviceDeletesItsHistoryAndNothingElseDoes) {
    struct TCase {
        const char* action;
        TAnswer answer;
        Addresses remaining;
    };
    const Addresses all = {"(00:00:00:00:00:01)", "(00:00:00:00:00:02)", "(00:00:00:00:00:03)"};
    const TCase cases[] = {
        {"DeleteDevice", TAnswer::Yes, {"(00:00:00:00:00:01)", "(00:00:00:00:00:03)"}},
        {"DeleteDevice", TAnswer::No, all},
        {"DeleteAllDevices", TAnswer::Yes, {}},
        {"DeleteAllDevices", TAnswer::No, all},
        {"ClearLog", TAnswer::Yes, all},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.action) + " answered " + std::to_string(static_cast<int>(c.answer)));
        std::filesystem::remove(qm::HistoryStorePath(sessionPath));
        WriteHistory(sessionPath, kThreeDevices);
        ASSERT_EQ(HistoryAddresses(sessionPath), all);
        Start(kThreeDevices);
        Select("(00:00:00:00:00:02)");
        questions.answer = c.answer;
        Trigger(c.action);
        ServePending();
        form.reset();
        EXPECT_EQ(HistoryAddresses(sessionPath), c.remaining);
    }
}

// The built-in scenario over the emulated radio: passes go on while the question is open (the
// list's lock is free), and after Yes the devices in range come back as new devices.
TEST_F(MainFormActionsTest, DeleteAllWhileAPassRunsEmptiesTheListAndDevicesInRangeReturnAsNew) {
    Start({}, "Office", qm::TRadioChoice{true, ""});
    const auto foundLines = [this](const std::string& address) {
        const std::deque<std::string>& log = form->Session().Log();
        return std::count_if(log.begin(), log.end(), [&](const std::string& line) {
            return line.ends_with("Found new device: " + address);
        });
    };
    ASSERT_TRUE(ServeUntil([this] { return !ListedAddresses().empty(); }));
    const std::string first = ListedAddresses().front();
    const std::size_t logBefore = form->Session().Log().size();
    questions.whileAsking = [this, &first] {
        ASSERT_TRUE(ServeUntil([this, &first] {
            qm::TDeviceListLock lock(form->Session().DeviceList());
            const qm::TBTDevice* device = lock->FindDevice(first);
            return device && device->SeenCount() >= 2;
        }));
    };
    Trigger("DeleteAllDevices");
    ServePending();
    EXPECT_EQ(form->Session().LocationList(), std::vector<std::string>{"Office"});
    EXPECT_GE(form->Session().Log().size(), logBefore);
    EXPECT_TRUE(ServeUntil([&] { return foundLines(first) == 2; }));
    EXPECT_TRUE(ServeUntil([&] { return View().RowAddresses() == ListedAddresses(); }));
}

// --- the log ---

TEST_F(MainFormActionsTest, ClearLogEmptiesThePageAndTheSessionFileAndLogsNothing) {
    Start(kThreeDevices);
    ASSERT_FALSE(LogListLines().empty());
    Trigger("ClearLog");
    EXPECT_TRUE(LogListLines().empty());
    EXPECT_TRUE(form->Session().Log().empty());
    EXPECT_EQ(FileText(sessionPath).find("Log.Strings"), std::string::npos) << FileText(sessionPath);
    EXPECT_TRUE(qm::LoadSession(sessionPath)->Log().empty());
}

// --- the location ---

TEST_F(MainFormActionsTest, SetLocationToAKnownLocationInOtherLettersTakesTheNewSpelling) {
    Start({}, "Office");
    form->Session().SetCurrentLocation("Lab");
    QString shown;
    WhenModal([&](QWidget& chooser) {
        auto& combo = *chooser.findChild<QComboBox*>("LocationCombo");
        shown = combo.currentText();
        combo.setEditText("OFFICE");
        chooser.findChild<QPushButton*>("OKButton")->click();
    });
    Trigger("SetLocation");
    EXPECT_EQ(shown, "Lab");
    EXPECT_EQ(form->Session().Location(), "OFFICE");
    EXPECT_EQ(form->Session().LocationList(), std::vector<std::string>({"Lab", "Office"}));
    EXPECT_TRUE(form->Session().Log().front().ends_with(": Moved to location: OFFICE"));
    EXPECT_TRUE(LogListLines().front().endsWith(": Moved to location: OFFICE"));
    const auto saved = qm::LoadSession(sessionPath);
    EXPECT_EQ(saved->Location(), "OFFICE");
    EXPECT_TRUE(saved->Log().front().ends_with(": Moved to location: OFFICE"));
}

TEST_F(MainFormActionsTest, CancellingTheChooserLeavesTheLocationAndTheLog) {
    Start({}, "Office");
    const std::deque<std::string> logBefore = form->Session().Log();
    WhenModal([](QWidget& chooser) { chooser.findChild<QPushButton*>("CancelButton")->click(); });
    Trigger("SetLocation");
    EXPECT_EQ(form->Session().Location(), "Office");
    EXPECT_EQ(form->Session().Log(), logBefore);
}

// --- the windows ---

// Counts the showings of one window.
class TShowCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
    int shows = 0;
};

TEST_F(MainFormActionsTest, InspectOpensTheDetailsOfAListedDeviceOnly) {
    struct TCase {
        const char* name;
        bool deleteAllFirst;
        int shows;
    };
    for (const TCase& c : {TCase{"listed", false, 1}, TCase{"deleted by Delete All meanwhile", true, 0}}) {
        SCOPED_TRACE(c.name);
        Start(kThreeDevices);
        Select("(00:00:00:00:00:03)");
        auto& details = *form->findChild<qm::ui::TDeviceDetailsForm*>();
        TShowCounter counter;
        details.installEventFilter(&counter);
        // The deletion's notice is still pending: the row stays selected in the view.
        if (c.deleteAllFirst) Trigger("DeleteAllDevices");
        if (c.shows) WhenModal([](QWidget& window) { static_cast<QDialog&>(window).reject(); });
        Trigger("InspectDevice");
        EXPECT_EQ(counter.shows, c.shows);
        form.reset();
    }
}

// The radio window reads the controller of the radio the window scans with.
TEST_F(MainFormActionsTest, RadioInformationAndAboutOpenTheirWindowsModally) {
    Start({});
    for (const char* action : {"RadioInformation", "About"}) {
        SCOPED_TRACE(action);
        QString opened;
        QStringList radios;
        WhenModal([&](QWidget& window) {
            opened = window.metaObject()->className();
            if (auto* combo = window.findChild<QComboBox*>("RadioCombo"))
                for (int i = 0; i < combo->count(); ++i) radios << combo->itemText(i);
            static_cast<QDialog&>(window).reject();
        });
        Trigger(action);
        EXPECT_EQ(opened, std::string(action) == "About" ? "qm::ui::TAboutForm" : "qm::ui::TRadioInfoForm");
        if (std::string(action) == "RadioInformation") {
            EXPECT_EQ(radios, QStringList{"Quillmark Emulated Radio (Intel Corp.)"});
        }
    }
}

TEST_F(MainFormActionsTest, ExitClosesTheWindowAndSavesTheSession) {
    Start(kThreeDevices);
    AddDevice({"(00:00:00:00:00:09)", "Late"});
    Trigger("Exit");
    EXPECT_FALSE(form->isVisible());
    const auto saved = qm::LoadSession(sessionPath);
    qm::TDeviceListLock lock(saved->DeviceList());
    EXPECT_NE(lock->FindDevice("(00:00:00:00:00:09)"), nullptr);
}

// --- the question box ---

TEST(MessageBoxQuestionsTest, EachWayOfAnsweringGivesItsAnswer) {
    struct TCase {
        const char* name;
        std::function<void(QMessageBox&)> answer;
        TAnswer expected;
    };
    const TCase cases[] = {
        {"Yes", [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); }, TAnswer::Yes},
        {"No", [](QMessageBox& box) { box.button(QMessageBox::No)->click(); }, TAnswer::No},
        {"Cancel", [](QMessageBox& box) { box.button(QMessageBox::Cancel)->click(); }, TAnswer::Cancel},
        {"Escape", [](QMessageBox& box) { uitest::PressKey(box, Qt::Key_Escape); }, TAnswer::Cancel},
        {"closed", [](QMessageBox& box) { box.close(); }, TAnswer::Cancel},
    };
    QWidget owner;
    qm::ui::TMessageBoxQuestions questions(owner);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        WhenModal([&](QWidget& modal) {
            auto& box = dynamic_cast<QMessageBox&>(modal);
            EXPECT_EQ(box.icon(), QMessageBox::Question);
            EXPECT_EQ(box.windowTitle(), "Confirm");
            EXPECT_EQ(box.text(), "<b>Delete</b> all?");
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(box.buttons().size(), 3);
            c.answer(box);
        });
        EXPECT_EQ(questions.Ask("<b>Delete</b> all?"), c.expected);
    }
}

TEST(MessageBoxQuestionsTest, GrabOfAQuestion) {
    const char* directory = std::getenv("QM_GRAB_DIR");
    const std::filesystem::path grabs = directory ? directory : std::filesystem::current_path();
    QWidget owner;
    qm::ui::TMessageBoxQuestions questions(owner);
    WhenModal([&](QWidget& box) {
        EXPECT_TRUE(box.grab().save(QString::fromStdString((grabs / "confirm_question.png").string())));
        dynamic_cast<QMessageBox&>(box).button(QMessageBox::No)->click();
    });
    questions.Ask(kDeleteAllQuestion);
}

// --- the help page ---

TEST(HelpPageTest, BesideTheProgramWhenThereElseInTheInstalledShareDirectory) {
    ScopedTempDir dir;
    const std::string program = (dir / "bin").string() + "/";
    std::filesystem::create_directories(dir / "bin" / "help");
    EXPECT_EQ(qm::ui::HelpPageFile(program), program + "../share/quillmark/help/index.html");
    dir.write("bin/help/index.html", "<html></html>");
    EXPECT_EQ(qm::ui::HelpPageFile(program), program + "help/index.html");
}

// The copy beside the program in the build tree (the tests are built beside the window program's
// folder): it names every command of the main window, every column of the device view and every
// page of the details window, and its pictures are beside it.
TEST_F(MainFormActionsTest, TheHelpPageBesideTheProgramNamesEveryCommandAndHasItsPictures) {
    const std::filesystem::path page = qm::ProgramDirectory() + "../ui/help/index.html";
    const std::string html = FileText(page.string());
    ASSERT_FALSE(html.empty()) << page;
    Start({});
    for (const QAction* action : form->actions()) {
        const std::string caption = action->text().remove(QChar('&')).toStdString();
        EXPECT_NE(html.find(">" + caption + "<"), std::string::npos) << caption;
    }
    const QAbstractItemModel& columns = *form->findChild<qm::ui::TDeviceView*>("DeviceTree")->model();
    for (int column = 0; column < columns.columnCount(); ++column) {
        const std::string caption = columns.headerData(column, Qt::Horizontal).toString().toStdString();
        EXPECT_NE(html.find("<td>" + caption + "</td>"), std::string::npos) << caption;
    }
    const auto& pages =
        *form->findChild<qm::ui::TDeviceDetailsForm*>()->findChild<QTabWidget*>("PageControl1");
    for (int page = 0; page < pages.count(); ++page)
        EXPECT_NE(html.find("<b>" + pages.tabText(page).toStdString() + "</b>"), std::string::npos)
            << pages.tabText(page).toStdString();
    const std::regex picture(R"re(<img src="([^"]+)")re");
    int pictures = 0;
    for (auto match = std::sregex_iterator(html.begin(), html.end(), picture);
         match != std::sregex_iterator(); ++match, ++pictures)
        EXPECT_TRUE(std::filesystem::is_regular_file(page.parent_path() / (*match)[1].str())) << (*match)[1];
    EXPECT_GE(pictures, 1);
}

}  // namespace
