// The filter tree on real widgets (offscreen platform) over a session on a settable clock: the
// headings and counted value nodes, and the selection and filter signals across rebuilds.

#include "quillmark/ui/FilterTree.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QMouseEvent>
#include <tuple>

#include "support/InventoryFixture.h"

namespace {

using namespace uitest;
using qm::ui::TFilterTree;
using ::testing::ElementsAre;

const QStringList kHeadings = {"Last Seen", "Location", "Type", "Services", "Radio", "Address", "Maker"};

// What an LE advertiser from a random address announced: only LE, maybe a tracker.
qm::TDeviceAdvertising RandomAdvertiser(std::optional<qm::TTrackerKind> tracker = std::nullopt) {
    qm::TDeviceAdvertising advertising;
    advertising.lowEnergy = true;
    advertising.addressType = qm::TAddressType::Random;
    advertising.tracker = tracker;
    return advertising;
}

// One FilterChanged signal: whether a node is selected, its kind and its value.
using TFilterSignal = std::tuple<bool, qm::TFilterKind, QString>;

class FilterTree : public TInventoryTest {
protected:
    FilterTree() {
        QObject::connect(&tree_, &TFilterTree::FilterChanged,
                         [this](bool hasNode, qm::TFilterKind kind, QString value) {
                             signals_.emplace_back(hasNode, kind, value);
                         });
    }
    // The texts of the value nodes under one heading.
    QStringList ValueTexts(const QString& heading) const {
        const QStringList texts = tree_.NodeTexts();
        QStringList values;
        for (qsizetype i = texts.indexOf(heading) + 1; i < texts.size() && !kHeadings.contains(texts[i]); ++i)
            values.append(texts[i]);
        return values;
    }
    void Select(const QString& text) {
        ASSERT_TRUE(tree_.SelectNodeByText(text)) << text.toStdString();
        signals_.clear();
    }

    TFilterTree tree_{session_};
    std::vector<TFilterSignal> signals_;
};

TEST_F(FilterTree, EmptyListGivesTheSevenBoldHeadings) {
    tree_.RebuildFilterTree();
    EXPECT_EQ(tree_.NodeTexts(), kHeadings);
    const QAbstractItemModel& model = *tree_.model();
    for (int row = 0; row < model.rowCount(); ++row) {
        EXPECT_TRUE(model.data(model.index(row, 0), Qt::FontRole).value<QFont>().bold()) << row;
        EXPECT_TRUE(tree_.isExpanded(model.index(row, 0)));
    }
}

TEST_F(FilterTree, ValueNodesCountDevicesInTheOrderOfFirstAppearance) {
    const struct {
        const char* name;
        std::vector<TDeviceFields> devices;
        bool hideInactive;
        QString heading;
        QStringList expected;
    } cases[] = {
        {"empty location is None",
         {{.address = "A", .location = "Office"}, {.address = "B"}, {.address = "C"}, {.address = "D"}},
         false,
         "Location",
         {"Office (1)", "None (3)"}},
        {"letter case variants share the first spelling",
         {{.address = "A", .location = "Office"},
          {.address = "B", .location = "OFFICE"},
          {.address = "C", .location = "Lab"},
          {.address = "D", .location = "office"}},
         false,
         "Location",
         {"Office (3)", "Lab (1)"}},
        {"each record naming a service counts",
         {{.address = "A", .services = {"Serial Port", "Serial Port"}},
          {.address = "B", .services = {"Fax"}}},
         false,
         "Services",
         {"Serial Port (2)", "Fax (1)"}},
        {"hide inactive counts active devices only",
         {{.address = "A", .lastSeen = kNow - 301, .location = "Attic"},
          {.address = "B", .location = "Lab"},
          {.address = "C", .lastSeen = kNow - 300, .location = "Lab"}},
         true,
         "Location",
         {"Lab (2)"}},
        {"last seen buckets",
         {{.address = "A", .lastSeen = kNow - 300}, {.address = "B", .lastSeen = kNow - 299}},
         false,
         "Last Seen",
         {"Last Hour (1)", "Now (1)"}},
        {"trackers are services",
         {{.address = "(C1:00:00:00:00:01)",
           .services = {"Fax"},
           .advertising = RandomAdvertiser(qm::TTrackerKind::Tile)}},
         false,
         "Services",
         {"Fax (1)", "Tracker: Tile (1)"}},
        {"radio in its fixed order",
         {{.address = "(C1:00:00:00:00:01)", .advertising = RandomAdvertiser()},
          {.address = "(00:00:00:00:00:01)"}},
         false,
         "Radio",
         {"Classic (1)", "Low Energy (1)"}},
        {"address classes",
         {{.address = "(41:00:00:00:00:01)", .advertising = RandomAdvertiser()},
          {.address = "(C1:00:00:00:00:01)", .advertising = RandomAdvertiser()},
          {.address = "(00:00:00:00:00:01)"}},
         false,
         "Address",
         {"Public (1)", "Random static (1)", "Private (1)"}},
        {"a random address without manufacturer data has no maker",
         {{.address = "(41:00:00:00:00:01)", .advertising = RandomAdvertiser()}},
         false,
         "Maker",
         {"(random) (1)"}},
        {"values are shown as they are",
         {{.address = "A", .location = "<b>Lab</b>"}},
         false,
         "Location",
         {"<b>Lab</b> (1)"}},
    };
    for (const auto& c : cases) {
        session_.DeviceList().Clear();
        AddDevices(c.devices);
        session_.SetHideInactive(c.hideInactive);
        tree_.RebuildFilterTree();
        EXPECT_EQ(ValueTexts(c.heading), c.expected) << c.name;
    }
}

TEST_F(FilterTree, SelectionReportsTheNodesFilter) {
    AddDevices({{.address = "A", .location = "Office"}});
    tree_.RebuildFilterTree();
    EXPECT_TRUE(signals_.empty());
    tree_.SelectNodeByText("Office (1)");
    tree_.SelectNodeByText("Location");
    tree_.clearSelection();
    EXPECT_THAT(signals_,
                ElementsAre(TFilterSignal{true, qm::fkLocation, "Office"},
                            TFilterSignal{true, qm::fkNone, ""}, TFilterSignal{false, qm::fkNone, ""}));
}

TEST_F(FilterTree, RebuildReselectsTheNodeByCaption) {
    AddDevices({{.address = "A", .location = "Office"}, {.address = "B"}});
    tree_.RebuildFilterTree();
    Select("Office (1)");
    AddDevice({.address = "C", .location = "Office"});
    tree_.RebuildFilterTree();
    EXPECT_THAT(signals_, ElementsAre(TFilterSignal{false, qm::fkNone, ""},
                                      TFilterSignal{true, qm::fkLocation, "Office"}));
    EXPECT_EQ(tree_.SelectedCaption(), "Office");
    EXPECT_EQ(ValueTexts("Location"), QStringList({"Office (2)", "None (1)"}));
}

TEST_F(FilterTree, RebuildWithoutSelectionReportsNothing) {
    AddDevices({{.address = "A", .location = "Office"}});
    tree_.RebuildFilterTree();
    tree_.RebuildFilterTree();
    EXPECT_TRUE(signals_.empty());
}

TEST_F(FilterTree, VanishedValueLeavesNoSelection) {
    AddDevices({{.address = "A", .location = "Office"}, {.address = "B", .location = "Lab"}});
    tree_.RebuildFilterTree();
    Select("Office (1)");
    DeleteDevice("A");
    tree_.RebuildFilterTree();
    EXPECT_THAT(signals_, ElementsAre(TFilterSignal{false, qm::fkNone, ""}));
    EXPECT_EQ(tree_.SelectedCaption(), "");
}

// A location named like a service: the caption is restored to its first node in display order.
TEST_F(FilterTree, CaptionInTwoCategoriesIsRestoredToTheFirst) {
    AddDevices({{.address = "A", .location = "Fax"}, {.address = "B", .services = {"Fax"}}});
    tree_.RebuildFilterTree();
    const QModelIndex services = tree_.model()->index(3, 0);
    tree_.setCurrentIndex(tree_.model()->index(0, 0, services));
    ASSERT_EQ(signals_.back(), (TFilterSignal{true, qm::fkServices, "Fax"}));
    signals_.clear();
    tree_.RebuildFilterTree();
    EXPECT_THAT(signals_, ElementsAre(TFilterSignal{false, qm::fkNone, ""},
                                      TFilterSignal{true, qm::fkLocation, "Fax"}));
}

TEST_F(FilterTree, RightClickSelectsTheNodeUnderThePointer) {
    AddDevices({{.address = "A", .location = "Office"}});
    tree_.resize(233, 400);
    tree_.show();
    tree_.RebuildFilterTree();
    QApplication::processEvents();
    const QModelIndex location = tree_.model()->index(1, 0);
    const QPoint point = tree_.visualRect(tree_.model()->index(0, 0, location)).center();
    QMouseEvent press(QEvent::MouseButtonPress, point, tree_.viewport()->mapToGlobal(point), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(tree_.viewport(), &press);
    EXPECT_EQ(tree_.SelectedCaption(), "Office");
}

}  // namespace
