// The device view on real widgets (offscreen platform) over a session on a settable clock: which
// devices are listed, the header's sort cycle and its stability, selection and scrolling across
// rebuilds, the keys and the context menu, and what the cells paint.

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/ui/DeviceView.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QHeaderView>
#include <QImage>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <algorithm>
#include <cstdlib>

#include "quillmark/core/BTDevice.h"
#include "quillmark/core/BluetoothNames.h"
#include "quillmark/ui/DeviceImages.h"
#include "quillmark/ui/DeviceItemDelegate.h"
#include "quillmark/ui/DeviceTreeModel.h"
#include "quillmark/ui/FilterTree.h"
#include "support/Grabs.h"
#include "support/InventoryFixture.h"

namespace {

using uitest::DarkPalette;
using namespace uitest;
using qm::ui::TDeviceView;
using ::testing::ElementsAre;

using TRows = std::vector<std::string>;

// Presses and releases the left button over the middle of a header section.
void ClickHeader(QHeaderView& header, int column) {
    const QPoint centre(header.sectionViewportPosition(column) + header.sectionSize(column) / 2,
                        header.height() / 2);
    const QPoint global = header.viewport()->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(header.viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(header.viewport(), &release);
}

void PressKey(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

int Luma(QRgb pixel) {
    return (qRed(pixel) * 299 + qGreen(pixel) * 587 + qBlue(pixel) * 114) / 1000;
}

// The largest brightness difference between any pixel of the image and the colour.
int InkContrast(const QImage& image, const QColor& ground) {
    int contrast = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            contrast = std::max(contrast, std::abs(Luma(image.pixel(x, y)) - Luma(ground.rgb())));
    return contrast;
}

bool IsUniform(const QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0)) return false;
    return true;
}

class DeviceView : public TInventoryTest {
protected:
    TRows Rows(qm::TFilterKind kind = qm::fkNone, const std::string& value = {}) {
        view_.Rebuild(kind, value);
        return view_.RowAddresses();
    }
    void Show(int width = 900, int height = 400) {
        view_.resize(width, height);
        view_.show();
        QApplication::processEvents();
    }
    QModelIndex Index(int row, int column = 0) const { return view_.model()->index(row, column); }
    // The whole row as painted, all columns.
    QImage GrabRow(int row) {
        const QRect cell = view_.visualRect(Index(row));
        return view_.viewport()
            ->grab(QRect(0, cell.top(), view_.viewport()->width(), cell.height()))
            .toImage();
    }

    TDeviceView view_{session_};
};

TEST_F(DeviceView, HideInactiveListsDevicesSeenWithinFiveMinutes) {
    AddDevices({{.address = "A", .lastSeen = kNow - 300}, {.address = "B", .lastSeen = kNow - 301}});
    EXPECT_THAT(Rows(), ElementsAre("A", "B"));
    session_.SetHideInactive(true);
    EXPECT_THAT(Rows(), ElementsAre("A"));
}

TEST_F(DeviceView, DeviceFilterOfEachKind) {
    AddDevices({
        {.address = "L1", .location = "Office"},
        {.address = "L2", .location = "office"},
        {.address = "S1", .services = {"Printer", "Serial Port"}},
        {.address = "T1", .lastSeen = kNow - 299},
        {.address = "T2", .lastSeen = kNow - 300},
        {.address = "C1", .majorClass = 1, .minorClass = 3},
    });
    const struct {
        qm::TFilterKind kind;
        std::string value;
        TRows expected;
    } cases[] = {
        {qm::fkNone, "", {"L1", "L2", "S1", "T1", "T2", "C1"}},
        {qm::fkLocation, "Office", {"L1"}},
        {qm::fkLocation, "office", {"L2"}},
        {qm::fkServices, "serial PORT", {"S1"}},
        {qm::fkServices, "Serial", {}},
        {qm::fkLastSeen, "Now", {"L1", "L2", "S1", "T1", "C1"}},
        {qm::fkLastSeen, "Last Hour", {"T2"}},
        {qm::fkType, qm::DeviceClassName(1, 3), {"C1"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Rows(c.kind, c.value), c.expected) << c.kind << " " << c.value;
}

TEST_F(DeviceView, HeaderClicksCycleAscendingDescendingUnsorted) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Locale order, not byte order: beta comes between Alpha and Gamma.
    AddDevices({{.address = "B", .name = "beta"},
                {.address = "G", .name = "Gamma"},
                {.address = "A", .name = "Alpha"}});
    Show();
    Rows();
    const struct {
        TRows rows;
        int indicator;
        Qt::SortOrder order;
    } expected[] = {
        {{"A", "B", "G"}, qm::ui::dcName, Qt::AscendingOrder},
        {{"G", "B", "A"}, qm::ui::dcName, Qt::DescendingOrder},
        {{"B", "G", "A"}, -1, Qt::DescendingOrder},
    };
    for (const auto& step : expected) {
        ClickHeader(*view_.header(), qm::ui::dcName);
        EXPECT_EQ(view_.RowAddresses(), step.rows);
        EXPECT_EQ(view_.SortColumn(), step.indicator);
        EXPECT_EQ(view_.header()->sortIndicatorSection(), step.indicator);
        if (step.indicator >= 0) {
            EXPECT_EQ(view_.header()->sortIndicatorOrder(), step.order);
        }
    }
    QLocale::setDefault(previous);
}

// E2 has the smallest key of every column; E1, E3 and E4 tie and keep their list order either way.
// The class key puts the major class first: 1/63 sorts before 2/0.
TEST_F(DeviceView, SortIsStableInBothDirectionsForEveryColumn) {
    const TDeviceFields tied{
        .name = "b", .lastSeen = kNow - 5, .location = "b", .majorClass = 2, .minorClass = 0, .signal = -50};
    TDeviceFields e1 = tied, e3 = tied, e4 = tied;
    e1.address = "E1";
    e3.address = "E3";
    e4.address = "E4";
    AddDevices({e1,
                {.address = "E2",
                 .name = "a",
                 .lastSeen = kNow - 9,
                 .location = "a",
                 .majorClass = 1,
                 .minorClass = 63,
                 .signal = -90},
                e3,
                e4});
    for (int column :
         {qm::ui::dcName, qm::ui::dcSeen, qm::ui::dcType, qm::ui::dcLocation, qm::ui::dcSignal}) {
        view_.DeviceTreeHeaderClick(column);
        EXPECT_THAT(view_.RowAddresses(), ElementsAre("E2", "E1", "E3", "E4")) << "ascending by " << column;
        view_.DeviceTreeHeaderClick(column);
        EXPECT_THAT(view_.RowAddresses(), ElementsAre("E1", "E3", "E4", "E2")) << "descending by " << column;
    }
}

// Sorted rebuilds reuse the collation order of the texts they met before; renamed devices, swapped
// names and a text that replaces another must still come out in order.
TEST_F(DeviceView, SortedRebuildsFollowRenamedDevices) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    AddDevices({{.address = "A", .name = "delta"},
                {.address = "B", .name = "Bravo"},
                {.address = "C", .name = "charlie"}});
    view_.DeviceTreeHeaderClick(qm::ui::dcName);
    EXPECT_THAT(view_.RowAddresses(), ElementsAre("B", "C", "A"));
    const struct {
        const char* address;
        const char* name;
        TRows expected;
    } renames[] = {
        {"A", "alpha", {"A", "B", "C"}},    // a new text
        {"C", "Bravo", {"A", "B", "C"}},    // one text fewer, equal names keep list order
        {"B", "alpha", {"A", "B", "C"}},    // the same two texts as before, on other devices
        {"A", "Bravo", {"B", "A", "C"}},    // the names of A and B swapped
        {"C", "charlie", {"B", "A", "C"}},  // a text that was met two rebuilds ago
    };
    for (const auto& rename : renames) {
        {
            qm::TDeviceListLock lock(session_.DeviceList());
            lock->FindDevice(rename.address)->SetName(rename.name);
        }
        EXPECT_EQ(Rows(), rename.expected) << rename.address << " " << rename.name;
    }
    QLocale::setDefault(previous);
}

TEST_F(DeviceView, RebuildKeepsTheSelectedDeviceAndTheScrollOffsets) {
    for (int i = 0; i < 100; ++i)
        AddDevice({.address = "D" + std::to_string(100 + i), .location = i % 2 ? "Odd" : ""});
    Show(600, 300);
    Rows();
    view_.verticalScrollBar()->setValue(view_.visualRect(Index(40)).height() * 20);
    const int scrolled = view_.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    view_.setCurrentIndex(Index(23));
    int selectionChanges = 0;
    QObject::connect(&view_, &TDeviceView::SelectionChanged, [&] { ++selectionChanges; });

    Rows(qm::fkLocation, "Odd");
    EXPECT_EQ(view_.SelectedAddress(), "D123");
    EXPECT_EQ(view_.verticalScrollBar()->value(), scrolled);

    selectionChanges = 0;
    Rows(qm::fkLocation, "");
    EXPECT_EQ(view_.SelectedAddress(), std::nullopt);
    EXPECT_EQ(selectionChanges, 1);
}

TEST_F(DeviceView, EnterInspectsOnlyWithASelectedRow) {
    AddDevices({{.address = "A"}, {.address = "B"}});
    Rows();
    int inspections = 0;
    QObject::connect(&view_, &TDeviceView::InspectRequested, [&] { ++inspections; });
    PressKey(view_, Qt::Key_Return);
    EXPECT_EQ(inspections, 0);
    view_.setCurrentIndex(Index(1));
    PressKey(view_, Qt::Key_Return);
    PressKey(view_, Qt::Key_Enter);
    EXPECT_EQ(inspections, 2);
}

TEST_F(DeviceView, RightClickSelectsTheRowUnderThePointerBeforeTheMenuOpens) {
    AddDevices({{.address = "A"}, {.address = "B"}, {.address = "C"}});
    QMenu menu;
    menu.addAction(QStringLiteral("Inspect"));
    view_.setContextMenu(&menu);
    Show();
    Rows();
    view_.setCurrentIndex(Index(0));
    const QPoint point = view_.visualRect(Index(2, qm::ui::dcType)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view_.viewport()->mapToGlobal(point));
    QApplication::sendEvent(view_.viewport(), &event);
    EXPECT_EQ(view_.SelectedAddress(), "C");
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

// Drawn as rich text the name would show one bold x; drawn plainly it is eight characters wide.
TEST_F(DeviceView, NamesArePaintedAsPlainText) {
    const QString hostile = QStringLiteral("<b>x</b>");
    AddDevice({.address = "(00:11:22:33:44:55)", .name = hostile.toStdString()});
    Show();
    Rows();
    const QImage cell = view_.viewport()->grab(view_.visualRect(Index(0, qm::ui::dcName))).toImage();
    const QRgb ground = cell.pixel(cell.width() - 1, 0);
    int left = cell.width();
    int right = -1;
    // The name's line, right of the picture.
    for (int y = 0; y < cell.height() / 2; ++y)
        for (int x = qm::ui::kDevicePictureSize + 6; x < cell.width(); ++x)
            if (cell.pixel(x, y) != ground) left = std::min(left, x), right = std::max(right, x);
    QFont bold = view_.font();
    bold.setBold(true);
    EXPECT_NEAR(right - left + 1, QFontMetrics(bold).boundingRect(hostile).width(), 4);
}

// The times and the signal keep the width of their contents at every width of the view; Name, Type
// and Location share the rest 250:200:250, a column whose share is below its minimum (the caption;
// for Name the picture and the address) keeping the minimum; with all three at theirs the view
// scrolls. The rounding of each share is off by a pixel at most.
TEST_F(DeviceView, ColumnsOfFixedFormKeepTheirWidthAndTheOthersShareTheRest) {
    using qm::ui::dcLocation, qm::ui::dcName, qm::ui::dcSeen, qm::ui::dcSignal, qm::ui::dcType;
    const QHeaderView& header = *view_.header();
    const auto fixed = [&](int column) {
        return std::max(*qm::ui::DeviceColumnContentWidth(column, view_.fontMetrics()),
                        header.sectionSizeHint(column));
    };
    const auto minimum = [&](int column) {
        return std::max(qm::ui::DeviceColumnMinimumWidth(column, view_.fontMetrics()),
                        header.sectionSizeHint(column));
    };
    const auto size = [&](int column) { return header.sectionSize(column); };
    enum TShare { AllShare, NameAtItsMinimum, AllAtTheirMinimums };
    for (const auto& [width, share] :
         {std::pair{1200, AllShare}, std::pair{700, NameAtItsMinimum}, std::pair{300, AllAtTheirMinimums}}) {
        SCOPED_TRACE(width);
        Show(width);
        EXPECT_EQ(size(dcSeen), fixed(dcSeen));
        EXPECT_EQ(size(dcSignal), fixed(dcSignal));
        const int viewport = view_.viewport()->width();
        switch (share) {
            case AllShare:
                EXPECT_EQ(header.length(), viewport);
                EXPECT_GT(size(dcName), minimum(dcName));
                EXPECT_NEAR(size(dcLocation), size(dcName), 2);
                EXPECT_NEAR(size(dcType) * 5, size(dcName) * 4, 9);
                break;
            case NameAtItsMinimum:
                EXPECT_EQ(header.length(), viewport);
                EXPECT_EQ(size(dcName), minimum(dcName));
                EXPECT_NEAR(size(dcType) * 5, size(dcLocation) * 4, 9);
                break;
            case AllAtTheirMinimums:
                EXPECT_GT(header.length(), viewport);
                for (const int column : {dcName, dcType, dcLocation})
                    EXPECT_EQ(size(column), minimum(column));
                break;
        }
    }
}

// Once the operator has sized a column, resizing the view leaves every width as it was.
TEST_F(DeviceView, ColumnsSizedByTheOperatorStayWhenTheViewResizes) {
    Show(700);
    QHeaderView& header = *view_.header();
    header.resizeSection(qm::ui::dcLocation, 400);
    std::vector<int> sized;
    for (int column = 0; column < header.count(); ++column) sized.push_back(header.sectionSize(column));
    Show(1200);
    for (int column = 0; column < header.count(); ++column)
        EXPECT_EQ(header.sectionSize(column), sized[static_cast<std::size_t>(column)]) << column;
}

// A device without a signal sorts before the weakest one.
TEST_F(DeviceView, SignalSortPutsDevicesWithoutOneFirst) {
    AddDevices({{.address = "S1", .signal = -40}, {.address = "S2"}, {.address = "S3", .signal = -100}});
    view_.DeviceTreeHeaderClick(qm::ui::dcSignal);
    EXPECT_THAT(view_.RowAddresses(), ElementsAre("S2", "S3", "S1"));
}

// The pixels of the signal bar's fill: those in the text colour along the middle of the cell's
// lower line, where no text is drawn.
int SignalBarLength(const QImage& cell, const QColor& ink) {
    const int y = cell.height() * 3 / 4 - 1;
    int length = 0;
    for (int x = 0; x < cell.width(); ++x) length += cell.pixelColor(x, y).rgb() == ink.rgb();
    return length;
}

TEST_F(DeviceView, SignalCellShowsTheStrengthAboveALongerBarForAStrongerSignal) {
    AddDevices({{.address = "A", .signal = -40}, {.address = "B", .signal = -90}, {.address = "C"}});
    Show();
    Rows();
    const QColor ink = view_.palette().color(QPalette::Active, QPalette::Text);
    const auto cell = [&](int row) {
        return view_.viewport()->grab(view_.visualRect(Index(row, qm::ui::dcSignal))).toImage();
    };
    const int strong = SignalBarLength(cell(0), ink);
    const int weak = SignalBarLength(cell(1), ink);
    EXPECT_GT(weak, 0);
    EXPECT_GT(strong, 4 * weak);
    EXPECT_TRUE(IsUniform(cell(2)));
    // The strength's text is in the upper half of the cell.
    const QImage text = cell(0).copy(0, 0, cell(0).width(), cell(0).height() / 2);
    EXPECT_GT(InkContrast(text, view_.palette().color(QPalette::Base)), 70);
}

TEST_F(DeviceView, RowOfADeletedDevicePaintsNothing) {
    AddDevices({{.address = "A", .name = "Alpha", .location = "Office"}, {.address = "B", .name = "Beta"}});
    Show();
    Rows();
    DeleteDevice("A");
    view_.RepaintRows();
    EXPECT_TRUE(IsUniform(GrabRow(0)));
    EXPECT_FALSE(IsUniform(GrabRow(1)));
}

std::string GrabPath(const char* name) {
    const char* directory = std::getenv("QM_GRAB_DIR");
    return QDir(QString::fromLocal8Bit(directory != nullptr ? directory : "."))
        .filePath(QString::fromLatin1(name))
        .toStdString();
}

// A populated network page, grabbed in the application's palette and in a dark one for review.
// Inactive devices are grey in both: legible, but with less contrast than active ones.
TEST_F(DeviceView, InactiveDevicesAreGreyAndLegibleOnLightAndDarkPalettes) {
    AddDevices({
        {.address = "(5C:F3:70:12:8A:01)",
         .name = "Pixel 7",
         .location = "Office",
         .majorClass = 2,
         .minorClass = 1,
         .services = {"Audio Gateway", "Phonebook Access"},
         .seenCount = 42,
         .flags = 0x08,
         .signal = -58},
        {.address = "(3C:22:FB:90:11:7E)",
         .name = "ThinkPad X1 Carbon",
         .lastSeen = kNow - 40,
         .location = "Office",
         .majorClass = 1,
         .minorClass = 3,
         .seenCount = 17,
         .signal = -71},
        {.address = "(00:1B:66:0A:44:C2)",
         .name = "WH-1000XM4",
         .lastSeen = kNow - 4000,
         .location = "Home",
         .majorClass = 4,
         .minorClass = 6,
         .services = {"Headset"},
         .seenCount = 3,
         .flags = 0x18,
         .signal = -93},
        {.address = "(A4:5E:60:E3:07:19)",
         .name = "HP LaserJet M15w",
         .lastSeen = kNow - 120,
         .location = "Print room",
         .majorClass = 6,
         .minorClass = 32,
         .services = {"Printer"},
         .seenCount = 8},
        {.address = "(D8:0F:99:5A:B2:63)", .name = "<b>x</b>", .lastSeen = kNow - 900, .seenCount = 1},
        {.address = "(F0:5C:77:20:4D:8B)",
         .name = "MX Keys",
         .location = "Office",
         .majorClass = 5,
         .minorClass = 16,
         .seenCount = 230,
         .flags = 0x20,
         .signal = -35},
    });
    QSplitter window;
    window.resize(932, 585);
    qm::ui::TFilterTree tree(session_, &window);
    window.addWidget(&tree);
    window.addWidget(&view_);
    // The fixture owns the view: take it out of the window before the window deletes its children.
    const auto releaseView = qScopeGuard([this] { view_.setParent(nullptr); });
    window.setSizes({233, 699});
    window.show();
    tree.RebuildFilterTree();
    tree.SelectNodeByText(QStringLiteral("Location"));
    Rows();
    // Each look selects a different row: an active one on the light palette, an inactive one on the
    // dark palette.
    const struct {
        const char* file;
        QPalette palette;
        int selectedRow;
    } looks[] = {{"device_view_light.png", QApplication::palette(), 1},
                 {"device_view_dark.png", DarkPalette(), 4}};
    for (const auto& look : looks) {
        window.setPalette(look.palette);
        view_.setCurrentIndex(Index(look.selectedRow));
        QApplication::processEvents();
        const auto contrast = [&](int row) {
            const QImage cell =
                view_.viewport()->grab(view_.visualRect(Index(row, qm::ui::dcLocation))).toImage();
            return InkContrast(cell, look.palette.color(QPalette::Base));
        };
        EXPECT_GT(contrast(0), contrast(2) + 40) << look.file;
        EXPECT_GT(contrast(2), 70) << look.file;
        EXPECT_TRUE(window.grab().save(QString::fromStdString(GrabPath(look.file)))) << GrabPath(look.file);
    }
}

}  // namespace
