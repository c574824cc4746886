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

constexpr std::array<int, kDeviceColumnCount> kColumnWidths = {250, 170, 200, 250};
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
    SetColumnWidths();
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

void TDeviceView::SetColumnWidths() {
    const qreal scale = std::max<qreal>(1.0, fontMetrics().height() / kReferenceLineHeight);
    for (int column = 0; column < kDeviceColumnCount; ++column)
        header()->resizeSection(column, qRound(kColumnWidths[static_cast<std::size_t>(column)] * scale));
}

}  // namespace qm::ui
