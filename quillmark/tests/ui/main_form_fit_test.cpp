// The main window as it opens on a 1920x1080 desktop, at 100% and at 200% scaling: it fits the
// screen, every column of the device view is in view without scrolling sideways, the sighting
// times, the signal and the addresses show whole, and the filter tree's elided values show whole
// as tool tips. The grab at 100% is the picture of the help page. Each scaling needs a process of its own (Qt
// reads QT_SCALE_FACTOR at start), so the test runs its own program again for each.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QHeaderView>
#include <QHelpEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/DeviceItemDelegate.h"
#include "quillmark/ui/DeviceTreeModel.h"
#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/FilterTree.h"
#include "quillmark/ui/MainForm.h"
#include "support/Grabs.h"
#include "support/MainThreadServing.h"
#include "testsupport/ScopedTempDir.h"

namespace {

constexpr const char* kChildCase = "MainFormOpening.EveryColumnInViewAndTheWindowOnTheScreen";
// Devices heard with signals from strong to the weakest the bar shows; a location longer than the
// filter tree is wide.
constexpr const char* kScenario = R"({"devices": [
  {"address": "00:11:22:AA:BB:01", "name": "Phone", "class": "0x5A020C", "format": "rssi", "signal": -48},
  {"address": "00:11:22:AA:BB:02", "name": "Headset <b>bold</b>", "class": "0x240404", "format": "rssi",
   "signal": -71},
  {"address": "00:11:22:AA:BB:03", "name": "Meeting room laptop", "class": "0x02010C", "format": "rssi",
   "signal": -100},
  {"address": "00:11:22:AA:BB:04", "name": "Keyboard", "class": "0x002540", "format": "rssi",
   "signal": -62}]})";
constexpr std::size_t kDeviceCount = 4;

bool AllHeardWithASignal(qm::TSessionState& session) {
    qm::TDeviceListLock lock(session.DeviceList());
    if (lock->Count() != static_cast<int>(kDeviceCount)) return false;
    for (int i = 0; i < lock->Count(); ++i)
        if (!lock->Items(i).Signal()) return false;
    return true;
}

// The texts of the fixed-form columns with every digit the font has in their places: the
// sighting times, the weakest signal, and the address below the name with its picture.
struct TWholeText {
    int column;
    QString form;
    QString digits;
    int besides;  // what the cell holds beside the text: the picture and its gap
};

int WidestForm(const QFontMetrics& metrics, const TWholeText& text) {
    int widest = 0;
    for (const QChar digit : text.digits)
        widest = std::max(widest, metrics.horizontalAdvance(QString(text.form).replace(u'0', digit)));
    return widest + text.besides + 2 * qm::ui::kDeviceCellMargin;
}

int RunChild(const std::string& scale) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("QT_SCALE_FACTOR", scale.c_str(), 1);
        ::setenv("QM_OPENING_CHILD", "1", 1);
        const std::string filter = std::string("--gtest_filter=") + kChildCase;
        ::execl("/proc/self/exe", "/proc/self/exe", filter.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(MainFormFit, AtOneHundredAndTwoHundredPercent) {
    for (const std::string scale : {"1", "2"}) EXPECT_EQ(RunChild(scale), 0) << "QT_SCALE_FACTOR=" << scale;
}

TEST(MainFormOpening, EveryColumnInViewAndTheWindowOnTheScreen) {
    const char* scale = std::getenv("QT_SCALE_FACTOR");
    if (!std::getenv("QM_OPENING_CHILD") || !scale) GTEST_SKIP() << "runs in the processes of MainFormFit";
    testsupport::ScopedTempDir dir;
    const std::string scenario = (dir / "two.json").string();
    std::ofstream(scenario) << kScenario;
    qmtest::TSilentSound sound;
    qm::ui::TMainForm form((dir / "Quillmark.dat").string(), qm::TRadioChoice{true, scenario}, sound);
    form.Session().SetCurrentLocation("Building 4, second floor, north meeting room");
    form.show();
    auto& view = *form.findChild<qm::ui::TDeviceView*>("DeviceTree");
    ASSERT_TRUE(qmtest::ServeUntil(
        [&] { return AllHeardWithASignal(form.Session()) && view.RowAddresses().size() == kDeviceCount; }));

    const QRect screen = form.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(form.geometry())) << "window " << form.width() << "x" << form.height();
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 0);
    const QHeaderView& header = *view.header();
    for (int column = 0; column < header.count(); ++column) {
        SCOPED_TRACE(column);
        const int caption = header.fontMetrics().horizontalAdvance(
            view.model()->headerData(column, Qt::Horizontal).toString());
        EXPECT_GE(header.sectionSize(column), caption);
        EXPECT_LE(header.sectionViewportPosition(column) + header.sectionSize(column),
                  view.viewport()->width());
    }
    const TWholeText wholeTexts[] = {
        {qm::ui::dcSeen, "00/00/00 at 00:00:00", "0123456789", 0},
        {qm::ui::dcSignal, "-000 dBm", "0123456789", 0},
        {qm::ui::dcName, "(00:00:00:00:00:00)", "0123456789ABCDEF", qm::ui::kDevicePictureSize + 4},
    };
    for (const TWholeText& text : wholeTexts) {
        SCOPED_TRACE(text.form.toStdString());
        EXPECT_GE(header.sectionSize(text.column), WidestForm(view.fontMetrics(), text));
    }

    // The location is elided in the filter tree; its tool tip shows it whole, as plain text.
    auto& tree = *form.findChild<qm::ui::TFilterTree*>("FilterTree");
    const QStringList nodes = tree.NodeTexts();
    const qsizetype location = nodes.indexOf("Location") + 1;
    ASSERT_GT(location, 0);
    const QModelIndex node = tree.model()
                                 ->match(tree.model()->index(0, 0), Qt::DisplayRole, nodes[location], 1,
                                         Qt::MatchExactly | Qt::MatchRecursive)
                                 .value(0);
    ASSERT_TRUE(node.isValid());
    const QPoint at = tree.visualRect(node).center();
    QHelpEvent help(QEvent::ToolTip, at, tree.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree.viewport(), &help);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(nodes[location].toHtmlEscaped())) << QToolTip::text().toStdString();

    const std::string picture = std::string("main_form_opening_") + scale + "x.png";
    EXPECT_TRUE(form.grab().save(QString::fromStdString((uitest::GrabDirectory() / picture).string())));
    form.close();
}

}  // namespace
