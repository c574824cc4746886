// The main window as it opens on a 1920x1080 desktop, at 100% and at 200% scaling: it fits the
// screen, every column of the device view is in view without scrolling sideways, and the filter
// tree's elided values show whole as tool tips. Each scaling needs a process of its own (Qt reads
// QT_SCALE_FACTOR at start), so the test runs its own program again for each.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QHeaderView>
#include <QHelpEvent>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "quillmark/ui/DeviceView.h"
#include "quillmark/ui/FilterTree.h"
#include "quillmark/ui/MainForm.h"
#include "support/Grabs.h"
#include "support/MainThreadServing.h"
#include "testsupport/ScopedTempDir.h"

namespace {

constexpr const char* kChildCase = "MainFormOpening.EveryColumnInViewAndTheWindowOnTheScreen";
// A location longer than the filter tree is wide.
constexpr const char* kScenario = R"({"devices": [
  {"address": "00:11:22:AA:BB:01", "name": "Phone", "class": "0x5A020C"},
  {"address": "00:11:22:AA:BB:02", "name": "Headset <b>bold</b>", "class": "0x240404"}]})";

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
    ASSERT_TRUE(qmtest::ServeUntil([&] { return view.RowAddresses().size() == 2; }));

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
