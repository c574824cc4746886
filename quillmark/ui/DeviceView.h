#pragma once
// The device view: the flat list of the inventory's devices on the Network page, one two-line row
// per device that passes the hide-inactive rule and the device filter. Rows hold address texts
// only; every paint and every sort looks the device up again under the device list's lock, so a
// row whose device was deleted paints empty until the next rebuild.
//
// A click on a column header cycles that column through ascending, descending and unsorted (rows
// in device-list order); the sort is stable in both directions.

#include <QTreeView>
#include <optional>
#include <string>
#include <vector>

#include "quillmark/core/DeviceFilter.h"
#include "quillmark/ui/CollationRanks.h"

class QMenu;

namespace qm {
class TSessionState;
}

namespace qm::ui {

class TDeviceTreeModel;

class TDeviceView : public QTreeView {
    Q_OBJECT

public:
    explicit TDeviceView(qm::TSessionState& session, QWidget* parent = nullptr);

    // RebuildDeviceTree: refills the rows from the device list with the given filter (kept for the
    // rebuilds of later header clicks), keeps the selected device and the scroll offsets, and
    // sorts by the header's sort column if there is one.
    void Rebuild(qm::TFilterKind kind, const std::string& value);
    // Repaints the visible rows from the records' current values; rows and order stay.
    void RepaintRows();

    std::optional<std::string> SelectedAddress() const;
    // The address of every row in display order.
    const std::vector<std::string>& RowAddresses() const;

    // Shown on a right click, after the row under the pointer has been selected. Not owned.
    void setContextMenu(QMenu* menu);

    // DeviceTreeHeaderClick: the sort cycle of one column, then a rebuild.
    void DeviceTreeHeaderClick(int column);
    // The header's sort column, -1 when unsorted, and its direction.
    int SortColumn() const { return FSortColumn; }
    Qt::SortOrder SortOrder() const { return FSortOrder; }

Q_SIGNALS:
    // A double click on a row, or Enter or Return while a row is selected.
    void InspectRequested();
    void SelectionChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The addresses of the listed devices in list order, or sorted by the sort column.
    std::vector<std::string> ListedRows() const;
    void SelectAddress(const std::string& address);
    void ShowSortIndicator();
    void FitColumns();
    void ColumnResized();

    qm::TSessionState& FSession;
    TDeviceTreeModel* FModel;
    QMenu* FContextMenu = nullptr;
    qm::TFilterKind FFilterKind = qm::fkNone;
    std::string FFilterValue;
    bool FFittingColumns = false;
    bool FColumnsSizedByOperator = false;
    int FSortColumn = -1;
    Qt::SortOrder FSortOrder = Qt::AscendingOrder;
    // Filled by the sorts of ListedRows; a cache, so a const rebuild of the rows may add to it.
    mutable TCollationRanks FCollationRanks;
};

}  // namespace qm::ui
