#pragma once
// The rows of the device view: one address text per row, nothing else. The delegate and the sort
// look each device up again by its address, so rows never hold a reference to a record.

#include <QAbstractTableModel>
#include <string>
#include <string_view>
#include <vector>

namespace qm::ui {

// The columns of the device view by their logical index.
enum TDeviceColumn : int { dcName, dcSeen, dcType, dcLocation, dcSignal, kDeviceColumnCount };

class TDeviceTreeModel : public QAbstractTableModel {
    Q_OBJECT

public:
    explicit TDeviceTreeModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The address text of the row in the Name column (for accessibility and keyboard search);
    // everything else the delegate paints.
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Replaces all rows in one model reset.
    void SetRows(std::vector<std::string> addresses);
    const std::vector<std::string>& Rows() const { return FRows; }
    const std::string& AddressAt(int row) const { return FRows[static_cast<std::size_t>(row)]; }
    // The first row holding the address, or -1.
    int RowOf(std::string_view address) const;

private:
    std::vector<std::string> FRows;
};

}  // namespace qm::ui
