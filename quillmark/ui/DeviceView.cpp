#include "quillmark/ui/DeviceView.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <algorithm>
#include <array>

#include "quillmark/core/DeviceListLock.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/ui/DeviceItemDelegate.h"
#include "quillmark/ui/DeviceTreeModel.h"
#include "quillmark/ui/DeviceTreeSort.h"

namespace qm::ui {

namespace {

constexpr std::array<int, kDeviceColumnCount> kColumnWidths = {250, 170, 200, 250, 90};
// The line height the column widths were chosen for; larger fonts widen the columns in proportion.
constexpr qreal kReferenceLineHeight = 13;

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

// The columns share the view's width in the proportions of their design widths: narrower than
// designed when the view is, and the last column in view takes any width to spare. Once the
// operator has sized a column, the widths are theirs.
void TDeviceView::FitColumns() {
    if (FColumnsSizedByOperator) return;
    const qreal scale = std::max<qreal>(1.0, fontMetrics().height() / kReferenceLineHeight);
    qreal designed = 0;
    for (const int width : kColumnWidths) designed += width * scale;
    const int available = viewport()->width();
    const qreal shrink = available > 0 ? std::min<qreal>(1.0, available / designed) : 1.0;
    FFittingColumns = true;
    // Each column ends where the rounded sum of the widths so far ends, so that the rounding of
    // the columns never adds up to more than the view's width.
    int used = 0;
    qreal end = 0;
    for (int column = 0; column < kDeviceColumnCount; ++column) {
        end += kColumnWidths[static_cast<std::size_t>(column)] * scale * shrink;
        const int width = qRound(end) - used;
        header()->resizeSection(column, width);
        used += width;
    }
    const int last = header()->logicalIndex(kDeviceColumnCount - 1);
    if (available > used) header()->resizeSection(last, header()->sectionSize(last) + available - used);
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
