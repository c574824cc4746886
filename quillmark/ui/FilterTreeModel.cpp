#include "quillmark/ui/FilterTreeModel.h"

#include <QFont>

namespace qm::ui {

namespace {

// A value node's internal id is its heading's row plus one; headings have the id 0.
constexpr quintptr kHeadingId = 0;

}  // namespace

QString FilterTreeGetText(const TFilterNodeData& node) {
    if (node.IsCategory) return node.Caption;
    return QStringLiteral("%1 (%2)").arg(node.Caption).arg(node.Count);
}

TFilterTreeModel::TFilterTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

QModelIndex TFilterTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent)) return {};
    if (!parent.isValid()) return createIndex(row, column, kHeadingId);
    return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex TFilterTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kHeadingId) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kHeadingId);
}

int TFilterTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(FCategories.size());
    if (parent.internalId() != kHeadingId || parent.column() != 0) return 0;
    return static_cast<int>(FCategories[static_cast<std::size_t>(parent.row())].Values.size());
}

int TFilterTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TFilterTreeModel::data(const QModelIndex& index, int role) const {
    const TFilterNodeData* node = Node(index);
    if (node == nullptr) return {};
    if (role == Qt::DisplayRole) return FilterTreeGetText(*node);
    if (role == Qt::FontRole && node->IsCategory) {
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    return {};
}

Qt::ItemFlags TFilterTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable |
           (Node(index)->IsCategory ? Qt::NoItemFlags : Qt::ItemNeverHasChildren);
}

void TFilterTreeModel::SetCategories(std::vector<TFilterCategory> categories) {
    beginResetModel();
    FCategories = std::move(categories);
    endResetModel();
}

const TFilterNodeData* TFilterTreeModel::Node(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return nullptr;
    if (index.internalId() == kHeadingId) return &FCategories[static_cast<std::size_t>(index.row())].Heading;
    const TFilterCategory& category = FCategories[index.internalId() - 1];
    return &category.Values[static_cast<std::size_t>(index.row())];
}

std::vector<QModelIndex> TFilterTreeModel::NodesInDisplayOrder() const {
    std::vector<QModelIndex> nodes;
    for (int heading = 0; heading < rowCount(); ++heading) {
        const QModelIndex headingIndex = index(heading, 0);
        nodes.push_back(headingIndex);
        for (int value = 0; value < rowCount(headingIndex); ++value)
            nodes.push_back(index(value, 0, headingIndex));
    }
    return nodes;
}

}  // namespace qm::ui
