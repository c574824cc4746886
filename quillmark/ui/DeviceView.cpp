#include "quillmark/ui/DeviceView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <array>
#include <optional>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/ui/DeviceItemDelegate.h"
#include "quillmark/ui/DeviceTreeModel.h"
#include "quillmark/ui/DeviceTreeSort.h"

namespace qm::ui {

namespace {

using TColumnWidths = std::array<int, kDeviceColumnCount>;
using TColumnFlags = std::array<bool, kDeviceColumnCount>;

// The proportions the columns of free texts share the width in; the columns of fixed-form contents
// have the width of their contents instead.
constexpr TColumnWidths kDesignWidths = {250, 0, 200, 250, 0};

qreal DesignWidthOf(const TColumnFlags& sharing) {
    qreal design = 0;
    for (std::size_t at = 0; at < sharing.size(); ++at)
        if (sharing[at]) design += kDesignWidths[at];
    return design;
}

// Shares the width among the flexible columns in the proportions of their design widths. A column
// whose share would be below its minimum (its width on entry) keeps the minimum, and the others
// share what is left. Each column ends where the rounded sum of the shares so far ends, so that the
// rounding never adds up to more than the width.
void ShareAmongFlexible(int width, TColumnFlags sharing, TColumnWidths& widths) {
    for (bool narrowed = true; narrowed;) {
        narrowed = false;
        const qreal design = DesignWidthOf(sharing);
        for (std::size_t at = 0; at < widths.size() && !narrowed; ++at) {
            if (!sharing[at] || width * kDesignWidths[at] / design >= widths[at]) continue;
            sharing[at] = false;
            width -= widths[at];
            narrowed = true;
        }
    }
    const qreal design = DesignWidthOf(sharing);
    qreal end = 0;
    int used = 0;
    for (std::size_t at = 0; at < widths.size(); ++at) {
        if (!sharing[at]) continue;
        end += width * kDesignWidths[at] / design;
        widths[at] = qRound(end) - used;
        used += widths[at];
    }
}

}  // namespace

TDeviceView::TDeviceView(qm::TSessionState& session, QWidget* parent)
    : QTreeView(parent), FSession(session), FModel(new TDeviceTreeModel(this)) {
    setModel(FModel);
    setItemDelegate(new TDeviceItemDelegate(session, *FModel, this));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    header()->setSectionsMovable(true);
    header()->setFirstSectionMovable(true);
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(true);
    ShowSortIndicator();
    // The view sizes its columns itself, so that every column is in view at the width it opens with.
    header()->setStretchLastSection(false);
    FitColumns();
    connect(header(), &QHeaderView::sectionResized, this, &TDeviceView::ColumnResized);
    connect(header(), &QHeaderView::sectionClicked, this, &TDeviceView::DeviceTreeHeaderClick);
    connect(this, &QAbstractItemView::doubleClicked, this, &TDeviceView::InspectRequested);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TDeviceView::SelectionChanged);
}

void TDeviceView::Rebuild(qm::TFilterKind kind, const std::string& value) {
    FFilterKind = kind;
    FFilterValue = value;
    const std::optional<std::string> selected = SelectedAddress();
    const int horizontal = horizontalScrollBar()->value();
    const int vertical = verticalScrollBar()->value();
    FModel->SetRows(ListedRows());
    if (selected) SelectAddress(*selected);
    // The model reset dropped the selection silently; say so when it did not come back.
    if (selected && !SelectedAddress()) Q_EMIT SelectionChanged();
    executeDelayedItemsLayout();
    horizontalScrollBar()->setValue(horizontal);
    verticalScrollBar()->setValue(vertical);
}

void TDeviceView::RepaintRows() {
    viewport()->update();
}

std::optional<std::string> TDeviceView::SelectedAddress() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return FModel->AddressAt(rows.front().row());
}

const std::vector<std::string>& TDeviceView::RowAddresses() const {
    return FModel->Rows();
}

void TDeviceView::setContextMenu(QMenu* menu) {
    FContextMenu = menu;
}

void TDeviceView::DeviceTreeHeaderClick(int column) {
    if (column != FSortColumn) {
        FSortColumn = column;
        FSortOrder = Qt::AscendingOrder;
    } else if (FSortOrder == Qt::AscendingOrder) {
        FSortOrder = Qt::DescendingOrder;
    } else {
        FSortColumn = -1;
    }
    ShowSortIndicator();
    Rebuild(FFilterKind, FFilterValue);
}

void TDeviceView::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QTreeView::keyPressEvent(event);
        return;
    }
    if (SelectedAddress()) Q_EMIT InspectRequested();
    event->accept();
}

// A mouse request arrives in viewport coordinates; the row under the pointer is selected first.
// A keyboard request opens the menu for the row already selected.
void TDeviceView::contextMenuEvent(QContextMenuEvent* event) {
    if (FContextMenu == nullptr) {
        QTreeView::contextMenuEvent(event);
        return;
    }
    if (event->reason() == QContextMenuEvent::Mouse) {
        const QModelIndex index = indexAt(event->pos());
        if (index.isValid()) setCurrentIndex(index);
    }
    FContextMenu->popup(event->globalPos());
    event->accept();
}

std::vector<std::string> TDeviceView::ListedRows() const {
    qm::TDeviceList& list = FSession.DeviceList();
    qm::TDeviceListLock lock(list);
    const std::int32_t now = list.Clock().Now();
    std::vector<std::string> rows;
    rows.reserve(static_cast<std::size_t>(list.Count()));
    for (int i = 0; i < list.Count(); ++i) {
        qm::TBTDevice& device = list.Items(i);
        if (qm::IsDeviceListed(device, FSession.HideInactive(), FFilterKind, FFilterValue, now))
            rows.push_back(device.Address());
    }
    if (FSortColumn >= 0) SortDeviceRows(list, rows, FSortColumn, FSortOrder, FCollationRanks);
    return rows;
}

void TDeviceView::SelectAddress(const std::string& address) {
    const int row = FModel->RowOf(address);
    if (row >= 0) setCurrentIndex(FModel->index(row, dcName));
}

void TDeviceView::ShowSortIndicator() {
    header()->setSortIndicator(FSortColumn, FSortOrder);
}

// The columns of fixed-form contents (the times, the signal) get the width those need; the others
// share the rest of the view's width in the proportions of their design widths, each at least as
// wide as its caption and its own minimum, and elide their texts. Once the operator has sized a
// column, the widths are theirs.
void TDeviceView::FitColumns() {
    if (FColumnsSizedByOperator) return;
    TColumnWidths widths{};
    TColumnFlags flexible{};
    int rest = viewport()->width();
    for (int column = 0; column < kDeviceColumnCount; ++column) {
        const auto at = static_cast<std::size_t>(column);
        widths[at] =
            std::max(header()->sectionSizeHint(column), DeviceColumnMinimumWidth(column, fontMetrics()));
        const std::optional<int> content = DeviceColumnContentWidth(column, fontMetrics());
        flexible[at] = !content;
        if (content) {
            widths[at] = std::max(widths[at], *content);
            rest -= widths[at];
        }
    }
    ShareAmongFlexible(std::max(0, rest), flexible, widths);
    FFittingColumns = true;
    for (int column = 0; column < kDeviceColumnCount; ++column)
        header()->resizeSection(column, widths[static_cast<std::size_t>(column)]);
    FFittingColumns = false;
}

void TDeviceView::ColumnResized() {
    if (!FFittingColumns) FColumnsSizedByOperator = true;
}

void TDeviceView::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    FitColumns();
}

}  // namespace qm::ui
