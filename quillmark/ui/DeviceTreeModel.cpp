#include "quillmark/ui/DeviceTreeModel.h"

#include <algorithm>
#include <array>

namespace qm::ui {

namespace {

const std::array<const char*, kDeviceColumnCount> kColumnTitles = {"Name", "First Seen/LastSeen",
                                                                   "Type/Flags", "Location", "Signal"};

}  // namespace

TDeviceTreeModel::TDeviceTreeModel(QObject* parent) : QAbstractTableModel(parent) {}

int TDeviceTreeModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FRows.size());
}

int TDeviceTreeModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDeviceColumnCount;
}

QVariant TDeviceTreeModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.column() != dcName ||
        !checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    return QString::fromStdString(AddressAt(index.row()));
}

QVariant TDeviceTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= kDeviceColumnCount)
        return {};
    return QString::fromLatin1(kColumnTitles[static_cast<std::size_t>(section)]);
}

void TDeviceTreeModel::SetRows(std::vector<std::string> addresses) {
    beginResetModel();
    FRows = std::move(addresses);
    endResetModel();
}

int TDeviceTreeModel::RowOf(std::string_view address) const {
    const auto found = std::find(FRows.begin(), FRows.end(), address);
    return found == FRows.end() ? -1 : static_cast<int>(found - FRows.begin());
}

}  // namespace qm::ui
