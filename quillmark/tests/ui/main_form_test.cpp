// The main window on the offscreen platform, over a session in a temporary directory and the
// emulated radio: start-up and shut-down order, the first show, the list-changed notice, the scan
// indicator, the device actions' enabled state, the status bar and the bridge to the discovery
// thread.

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "quillmark/base/Error.h"
#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionFile.h"
#include "quillmark/core/Trace.h"
#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/FilterTree.h"
#include "quillmark/ui/ListChangedEvent.h"
#include "quillmark/ui/MainForm.h"
#include "quillmark/ui/QtMainThreadBridge.h"
#include "quillmark/ui/StopSignals.h"
#include "support/Grabs.h"
#include "support/MainThreadServing.h"
#include "testsupport/ScopedTempDir.h"

namespace {

using uitest::GrabDirectory;
using qmtest::ServeUntil;
using qmtest::TSilentSound;

using qm::ui::TMainForm;
using testsupport::ScopedTempDir;

constexpr const char* kNoDevices = R"({"devices": []})";
// One device whose inquiry takes long enough for the window to close in the middle of a pass.
constexpr const char* kSlowPass = R"({"controller": {"inquiryMs": 400},
  "devices": [{"address": "00:00:00:00:00:0A", "name": "Alpha",
               "records": [{"classes": ["0x1101"], "rfcomm": 1}]}]})";

std::int32_t Now() {
    return qm::SystemClock().Now();
}

struct TSeedDevice {
    std::string address;
    std::string name;
    std::int32_t secondsAgo;
};

// A session file as a previous run left it.
void WriteSession(const std::string& path, const std::string& location, bool hideInactive,
                  const std::vector<TSeedDevice>& devices = {}) {
    qm::TSessionState state;
    if (!location.empty()) state.SetCurrentLocation(location);
    state.SetHideInactive(hideInactive);
    state.Log().push_front("an old line");
    qm::TDeviceListLock lock(state.DeviceList());
    for (const TSeedDevice& seed : devices) {
        qm::TBTDevice& device = lock->Add();
        device.SetAddress(seed.address);
        device.SetName(seed.name);
        device.SetFirstSeen(Now() - seed.secondsAgo);
        device.SetLastSeen(Now() - seed.secondsAgo);
        device.SetSeenCount(1);
    }
    qm::SaveSession(state, path);
}

// Counts the list-changed events that reach the window and the parameters they carry.
class TListChangedCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == qm::ui::UM_LISTCHANGED)
            parameters.push_back(static_cast<qm::ui::TListChangedEvent*>(event)->Parameter());
        return false;
    }
    std::vector<int> parameters;
};

class MainFormTest : public testing::Test {
protected:
    // The form over the session directory and the emulated radio playing the scenario.
    std::unique_ptr<TMainForm> Start(const char* scenario = kNoDevices) {
        const auto scenarioFile = dir.write("scenario.json", scenario);
        return std::make_unique<TMainForm>(sessionPath, qm::TRadioChoice{true, scenarioFile.string()}, sound);
    }
    std::unique_ptr<TMainForm> StartShown(const char* scenario = kNoDevices) {
        auto form = Start(scenario);
        form->show();
        return form;
    }
    std::deque<std::string> SavedLog() const { return qm::LoadSession(sessionPath)->Log(); }

    template <class T>
    static T& Child(TMainForm& form, const char* name) {
        T* child = form.findChild<T*>(name);
        EXPECT_TRUE(child) << name;
        return *child;
    }
    static QAction& Action(TMainForm& form, const char* name) { return Child<QAction>(form, name); }
    static qm::ui::TDeviceView& DeviceTree(TMainForm& form) {
        return Child<qm::ui::TDeviceView>(form, "DeviceTree");
    }
    static qm::ui::TFilterTree& FilterTree(TMainForm& form) {
        return Child<qm::ui::TFilterTree>(form, "FilterTree");
    }
    static QStringList LogListLines(TMainForm& form) {
        QStringList lines;
        const auto& list = Child<QListWidget>(form, "LogList");
        for (int row = 0; row < list.count(); ++row) lines.append(list.item(row)->text());
        return lines;
    }

    ScopedTempDir dir{ScopedTempDir::Chdir::Yes};
    std::string sessionPath = (dir / "Quillmark.dat").string();
    TSilentSound sound;
};

using Addresses = std::vector<std::string>;

// --- start-up and shut-down ---

TEST_F(MainFormTest, FirstStartInAnEmptyDirectorySavesOneLineEndingInTheBlank) {
    const auto form = Start();
    const std::deque<std::string> log = SavedLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].size(), 20 + std::string(": Scan started in location ").size());
    EXPECT_TRUE(log[0].ends_with(": Scan started in location ")) << log[0];
    EXPECT_EQ(LogListLines(*form), QStringList{QString::fromStdString(log[0])});
}

TEST_F(MainFormTest, StartInAKnownLocationNamesItInTheNewestLine) {
    WriteSession(sessionPath, "Office", false);
    const auto form = Start();
    const std::deque<std::string> log = SavedLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_TRUE(log[0].ends_with(": Scan started in location Office")) << log[0];
    EXPECT_EQ(log[1], "an old line");
}

TEST_F(MainFormTest, AFailingFirstSaveThrowsFromTheConstructor) {
    sessionPath = (dir / "missing" / "Quillmark.dat").string();
    try {
        Start();
        FAIL() << "the window was created";
    } catch (const qm::TError& error) {
        EXPECT_NE(error.Message().find(sessionPath), std::string::npos) << error.Message();
    }
}

TEST_F(MainFormTest, AMissingScenarioFileThrowsFromTheConstructor) {
    const std::string missing = (dir / "none.json").string();
    EXPECT_THROW(TMainForm(sessionPath, qm::TRadioChoice{true, missing}, sound), qm::TError);
}

TEST_F(MainFormTest, ClosingDuringAPassLeavesScanFinishedAsTheNewestSavedLine) {
    auto form = StartShown(kSlowPass);
    ASSERT_TRUE(ServeUntil(
        [&] { return form->Session().Log().front().ends_with("Found new device: (00:00:00:00:00:0A)"); }));
    // The thread goes on with the new device's hand-offs and its SDP query while the window closes.
    form->close();
    EXPECT_TRUE(SavedLog().front().ends_with("Found new device: (00:00:00:00:00:0A)"));
    form.reset();

    const std::deque<std::string> log = SavedLog();
    EXPECT_TRUE(log.front().ends_with(": Scan finished")) << log.front();
    EXPECT_TRUE(log.back().ends_with(": Scan started in location "));
    const auto session = qm::LoadSession(sessionPath);
    qm::TDeviceListLock lock(session->DeviceList());
    EXPECT_EQ(lock->Count(), 1);
}

TEST_F(MainFormTest, SigtermClosesTheWindowAndKeepsTheShutDownOrder) {
    auto form = StartShown();
    {
        const qm::ui::TStopSignals stopSignals(*form);
        std::raise(SIGTERM);
        ASSERT_TRUE(ServeUntil([&] { return !form->isVisible(); }));
    }
    form.reset();
    EXPECT_TRUE(SavedLog().front().ends_with(": Scan finished"));
}

// --- first show ---

TEST_F(MainFormTest, FirstShowTakesHideInactiveFromTheSessionAndChecksApplyFilter) {
    for (const bool hide : {false, true}) {
        SCOPED_TRACE(hide);
        WriteSession(sessionPath, "", hide);
        const auto form = StartShown();
        EXPECT_EQ(Action(*form, "HideInactive").isChecked(), hide);
        EXPECT_TRUE(Action(*form, "ApplyFilter").isChecked());
        EXPECT_EQ(Child<QTabWidget>(*form, "MainTabs").currentIndex(), 0);
        const QStringList lines = LogListLines(*form);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1], "an old line");
    }
}

class MainFormFilterTest : public MainFormTest {
protected:
    void SetUp() override {
        WriteSession(sessionPath, "", false,
                     {{"(00:00:00:00:00:01)", "Recent", 10}, {"(00:00:00:00:00:02)", "Old", 600}});
        form = StartShown();
    }
    Addresses Rows() { return DeviceTree(*form).RowAddresses(); }

    std::unique_ptr<TMainForm> form;
    const Addresses both{"(00:00:00:00:00:01)", "(00:00:00:00:00:02)"};
    const Addresses recentOnly{"(00:00:00:00:00:01)"};
    const Addresses oldOnly{"(00:00:00:00:00:02)"};
};

TEST_F(MainFormFilterTest, StartsWithTheNowFilterAndNoSelectedNode) {
    EXPECT_EQ(Rows(), recentOnly);
    EXPECT_EQ(FilterTree(*form).SelectedCaption(), "");
    // A refresh of the tree keeps the initial filter: no node was selected.
    form->PostListChanged(1);
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Rows(), recentOnly);
}

TEST_F(MainFormFilterTest, SelectingANodeFiltersAndAHeadingListsAll) {
    ASSERT_TRUE(FilterTree(*form).SelectNodeByText("Last Hour (1)"));
    EXPECT_EQ(Rows(), oldOnly);
    ASSERT_TRUE(FilterTree(*form).SelectNodeByText("Location"));
    EXPECT_EQ(Rows(), both);
}

TEST_F(MainFormFilterTest, UncheckingApplyFilterListsAllAndGreysTheTree) {
    Action(*form, "ApplyFilter").trigger();
    EXPECT_FALSE(FilterTree(*form).isEnabled());
    EXPECT_EQ(Rows(), both);
    Action(*form, "ApplyFilter").trigger();
    EXPECT_TRUE(FilterTree(*form).isEnabled());
    // No node is selected, so checking it again applies no filter.
    EXPECT_EQ(Rows(), both);
}

TEST_F(MainFormFilterTest, WhileUncheckedASelectionWaitsUntilApplyFilterIsCheckedAgain) {
    ASSERT_TRUE(FilterTree(*form).SelectNodeByText("Now (1)"));
    Action(*form, "ApplyFilter").trigger();
    ASSERT_TRUE(FilterTree(*form).SelectNodeByText("Last Hour (1)"));
    EXPECT_EQ(Rows(), both);
    // The refresh after a sighting restores the selected node; the list stays unfiltered.
    form->PostListChanged(1);
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Rows(), both);
    Action(*form, "ApplyFilter").trigger();
    EXPECT_EQ(Rows(), oldOnly);
}

TEST_F(MainFormFilterTest, HideInactiveSavesTheSettingAndHidesTheOldDevice) {
    ASSERT_TRUE(FilterTree(*form).SelectNodeByText("Location"));
    Action(*form, "HideInactive").trigger();
    EXPECT_TRUE(form->Session().HideInactive());
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(Rows(), recentOnly);
    EXPECT_TRUE(qm::LoadSession(sessionPath)->HideInactive());
}

TEST_F(MainFormFilterTest, TheCheckBoxAndTheActionToggleHideInactiveAlike) {
    auto& box = Child<QCheckBox>(*form, "CheckBox1");
    QAction& action = Action(*form, "HideInactive");
    box.click();
    EXPECT_TRUE(action.isChecked());
    EXPECT_TRUE(form->Session().HideInactive());
    action.trigger();
    EXPECT_FALSE(box.isChecked());
    EXPECT_FALSE(form->Session().HideInactive());
}

// --- the list-changed notice ---

class MainFormListChangedTest : public MainFormTest {
protected:
    void SetUp() override {
        form = Start();
        form->installEventFilter(&counter);
        // A device and a log line that only a refresh shows and only a save writes.
        qm::TDeviceListLock lock(form->Session().DeviceList());
        qm::TBTDevice& device = lock->Add();
        device.SetAddress("(00:00:00:00:00:01)");
        device.SetLastSeen(Now());
        AddUnsavedLine();
    }
    void AddUnsavedLine() {
        form->Session().Log().push_front("unsaved line " + std::to_string(++unsavedLines));
    }
    // The session file holds the newest line of the session.
    bool Saved() const { return SavedLog().front() == form->Session().Log().front(); }
    bool FilterTreeCounted() { return FilterTree(*form).NodeTexts().contains("Now (1)"); }

    std::unique_ptr<TMainForm> form;
    TListChangedCounter counter;
    int unsavedLines = 0;
};

TEST_F(MainFormListChangedTest, EachParameterRefreshesWhatItSays) {
    struct TCase {
        int parameter;
        bool saved;
        bool rebuiltDeviceTree;
        bool rebuiltFilterTree;
    };
    for (const TCase& c :
         {TCase{2, false, false, false}, TCase{0, false, false, true}, TCase{1, true, true, true}}) {
        SCOPED_TRACE(c.parameter);
        form->PostListChanged(c.parameter);
        QCoreApplication::sendPostedEvents(form.get());
        EXPECT_EQ(Saved(), c.saved);
        EXPECT_EQ(DeviceTree(*form).RowAddresses().size(), c.rebuiltDeviceTree ? 1u : 0u);
        EXPECT_EQ(FilterTreeCounted(), c.rebuiltFilterTree);
    }
}

TEST_F(MainFormListChangedTest, PendingNoticesMergeIntoTheLargestAndLaterOnesQueueAgain) {
    struct TCase {
        std::vector<int> posts;
        std::vector<int> delivered;  // the parameters of the events that arrive
        bool saved;
    };
    const std::vector<TCase> cases = {
        {{0, 0, 0}, {0}, false},
        {{0, 1, 0}, {0}, true},  // the waiting 0 was raised to 1
        {{1, 0, 1}, {1}, true},
        {{2, 2, 0}, {2, 2, 0}, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.posts));
        counter.parameters.clear();
        for (int parameter : c.posts) form->PostListChanged(parameter);
        QCoreApplication::sendPostedEvents(form.get());
        EXPECT_EQ(counter.parameters, c.delivered);
        EXPECT_EQ(Saved(), c.saved);
        AddUnsavedLine();
    }
}

TEST_F(MainFormListChangedTest, TheDeviceListNotifierPostsRecordChanges) {
    form->Session().DeviceList().NotifyChanged();
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(counter.parameters, std::vector<int>{0});
    EXPECT_TRUE(FilterTreeCounted());
    EXPECT_FALSE(Saved());
}

TEST_F(MainFormListChangedTest, NoticesFromAnotherThreadArriveOnce) {
    std::thread poster([&] {
        for (int i = 0; i < 1000; ++i) form->DeviceDataChanged();
        form->DeviceListChanged();
    });
    poster.join();
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(counter.parameters, std::vector<int>{0});
    EXPECT_TRUE(Saved());
}

TEST_F(MainFormListChangedTest, EntryAndExitOfPostingAndHandlingAreTraced) {
    ASSERT_EQ(TraceStart("trace.log"), 0);
    TraceLevel(TRACE_MODULE_BLUETOOTH, qm::trace::kEntryExitBit);
    form->DeviceListChanged();
    form->PostListChanged(2);
    QCoreApplication::sendPostedEvents(form.get());
    TraceLevel(TRACE_MODULE_BLUETOOTH, 0);
    TraceStop();
    const std::string trace = ScopedTempDir::read(dir / "trace.log");
    const auto count = [&](const std::string& function, const std::string& what) {
        const std::regex point(function + R"(:\d+  ==>TRACING )" + what + R"( \.\.\.)");
        return std::distance(std::sregex_iterator(trace.begin(), trace.end(), point), std::sregex_iterator());
    };
    EXPECT_EQ(count("TMainForm::DeviceListChanged", "Enter"), 1) << trace;
    EXPECT_EQ(count("TMainForm::DeviceListChanged", "Exit"), 1);
    // Parameter 2 refreshes nothing, but its handling is traced all the same.
    EXPECT_EQ(count("TMainForm::UMListChanged", "Enter"), 2);
    EXPECT_EQ(count("TMainForm::UMListChanged", "Exit"), 2);
}

// --- the bridge ---

TEST_F(MainFormListChangedTest, HandOffsRunOnTheMainThreadAndRaiseTheirErrorsInTheCaller) {
    qm::ui::TQtMainThreadBridge bridge(*form);
    QThread* ranOn = nullptr;
    std::string caught;
    std::atomic<bool> finished = false;
    std::thread caller([&] {
        bridge.Synchronize([&] { ranOn = QThread::currentThread(); });
        try {
            bridge.Synchronize([] { throw qm::TError("refused"); });
        } catch (const qm::TError& error) {
            caught = error.Message();
        }
        bridge.Synchronize([&] { bridge.AddLogLine("from the thread"); });
        finished = true;
        bridge.DiscoveryEnded();
    });
    bridge.ServeUntil([&] { return finished.load(); });
    caller.join();
    EXPECT_EQ(ranOn, QThread::currentThread());
    EXPECT_EQ(caught, "refused");
    EXPECT_TRUE(SavedLog().front().ends_with(": from the thread"));
    EXPECT_TRUE(LogListLines(*form).front().endsWith(": from the thread"));
}

TEST_F(MainFormListChangedTest, OnTheMainThreadAHandOffRunsAtOnce) {
    qm::ui::TQtMainThreadBridge bridge(*form);
    bool ran = false;
    bridge.Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
    EXPECT_THROW(bridge.Synchronize([] { throw qm::TError("refused"); }), qm::TError);
}

TEST_F(MainFormListChangedTest, TheBridgePostsTheNoticeToTheWindow) {
    qm::ui::TQtMainThreadBridge bridge(*form);
    bridge.PostListChanged(1);
    QCoreApplication::sendPostedEvents(form.get());
    EXPECT_EQ(counter.parameters, std::vector<int>{1});
    EXPECT_TRUE(Saved());
}

// --- status bar and actions ---

TEST_F(MainFormTest, TheScanIndicatorShowsForFiveTicksAndStartsAgain) {
    const auto form = Start();
    EXPECT_EQ(form->ScanIndicatorText(), "");
    for (int round = 0; round < 2; ++round) {
        form->StartScanIndicator();
        EXPECT_EQ(form->ScanIndicatorText(), "Scan");
        for (int tick = 1; tick <= 5; ++tick) {
            form->ScanIndicatorFadeTimer();
            EXPECT_EQ(form->ScanIndicatorText(), "Scan") << "tick " << tick;
        }
        for (int tick = 6; tick <= 20; ++tick) {
            form->ScanIndicatorFadeTimer();
            EXPECT_EQ(form->ScanIndicatorText(), "") << "tick " << tick;
        }
    }
}

TEST_F(MainFormTest, APassShowsTheScanIndicator) {
    const auto form = StartShown();
    EXPECT_TRUE(ServeUntil([&] { return form->ScanIndicatorText() == "Scan"; }));
}

TEST_F(MainFormTest, DeleteAndInspectNeedASelectedRow) {
    WriteSession(sessionPath, "", false, {{"(00:00:00:00:00:01)", "Recent", 10}});
    const auto form = StartShown();
    qm::ui::TDeviceView& view = DeviceTree(*form);
    ASSERT_EQ(view.RowAddresses().size(), 1u);
    const auto enabled = [&] {
        return std::vector<bool>{Action(*form, "DeleteDevice").isEnabled(),
                                 Action(*form, "InspectDevice").isEnabled()};
    };
    EXPECT_EQ(enabled(), std::vector<bool>({false, false}));
    view.setCurrentIndex(view.model()->index(0, 0));
    EXPECT_EQ(enabled(), std::vector<bool>({true, true}));
    view.clearSelection();
    EXPECT_EQ(enabled(), std::vector<bool>({false, false}));
}

TEST_F(MainFormTest, TheHintPanelIsTheWindowWidthLessSixty) {
    const auto form = StartShown();
    const QLabel& hint = Child<QLabel>(*form, "HintPanel");
    for (const int width : {700, 800, 1100}) {
        SCOPED_TRACE(width);
        form->resize(width, 500);
        ASSERT_TRUE(ServeUntil([&] { return form->width() == width; }));
        QCoreApplication::sendPostedEvents();
        EXPECT_EQ(hint.width(), form->frameGeometry().width() - 60);
    }
}

TEST_F(MainFormTest, TheHintPanelShowsTheHintOfTheItemUnderThePointer) {
    const auto form = Start();
    Action(*form, "ClearLog").showStatusText(form.get());
    EXPECT_EQ(Child<QLabel>(*form, "HintPanel").text(), "Clear all messages from the log");
}

// Each item as its caption and shortcut; "-" for a separator line.
QStringList MenuItems(const QMenu& menu) {
    QStringList items;
    for (const QAction* item : menu.actions())
        items.append(item->isSeparator() ? "-"
                                         : (item->text() + " " + item->shortcut().toString()).trimmed());
    return items;
}

TEST_F(MainFormTest, TheMenusOfferTheActionsInTheirOrder) {
    const auto form = Start();
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"&File", {"&Exit"}},
        {"&Configure", {"Set &Location... Ctrl+L", "-", "&Radio Information..."}},
        {"&Filter", {"&Apply Filter Ctrl+F", "Hide &Inactive Devices Ctrl+H"}},
        {"&Manage",
         {"&Inspect Device... Ctrl+I", "-", "&Delete Device", "Delete &All Devices", "-", "&Clear Log"}},
        {"&Help", {"&Help...", "-", "&About Quillmark..."}},
    };
    const QList<QAction*> menus = form->menuBar()->actions();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(menus[static_cast<qsizetype>(i)]->text(), expected[i].first);
        EXPECT_EQ(MenuItems(*menus[static_cast<qsizetype>(i)]->menu()), expected[i].second) << i;
    }
    // The context menu runs the same actions; Ctrl+I belongs to the Manage menu's item only.
    EXPECT_EQ(MenuItems(Child<QMenu>(*form, "DeviceManageMenu")),
              QStringList({"&Inspect Device...", "-", "&Delete Device"}));
}

// --- pictures of the window for a look by eye ---

TEST(MainFormGrab, NetworkAndLogPagesAfterASimulatedScan) {
    const std::filesystem::path grabs = GrabDirectory();
    ScopedTempDir dir;
    TSilentSound sound;
    TMainForm form((dir / "Quillmark.dat").string(), qm::TRadioChoice{true, ""}, sound);
    form.show();
    ASSERT_TRUE(ServeUntil(
        [&] { return form.findChild<qm::ui::TDeviceView*>("DeviceTree")->RowAddresses().size() >= 6; }));
    auto& tabs = *form.findChild<QTabWidget*>("MainTabs");
    form.StartScanIndicator();
    EXPECT_TRUE(form.grab().save(QString::fromStdString((grabs / "main_form_network.png").string())));
    tabs.setCurrentIndex(1);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((grabs / "main_form_log.png").string())));
    // The first value under "Type" selected: the device view lists that type only.
    tabs.setCurrentIndex(0);
    auto& tree = *form.findChild<qm::ui::TFilterTree*>("FilterTree");
    const QStringList nodes = tree.NodeTexts();
    const qsizetype type = nodes.indexOf("Type");
    ASSERT_TRUE(type >= 0 && type + 1 < nodes.size());
    ASSERT_TRUE(tree.SelectNodeByText(nodes[type + 1]));
    EXPECT_TRUE(form.grab().save(QString::fromStdString((grabs / "main_form_filtered.png").string())));
    form.close();
}

}  // namespace
