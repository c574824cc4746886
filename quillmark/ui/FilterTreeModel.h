#pragma once
// The nodes of the filter tree: category headings at the top level, each with its value nodes.
// The whole tree is replaced at each rebuild; it holds a few hundred nodes at most.

#include <QAbstractItemModel>
#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "quillmark/core/DeviceFilter.h"

namespace qm::ui {

struct TFilterNodeData {
    bool IsCategory = false;
    QString Caption;  // the heading text, the value, or "None" for an empty value
    qm::TFilterKind Kind = qm::fkNone;
    std::string Value;  // empty for headings and for the "None" node
    std::int32_t Count = 0;
};

struct TFilterCategory {
    TFilterNodeData Heading;
    std::vector<TFilterNodeData> Values;
};

// FilterTreeGetText: the caption, followed by " (count)" for a value node.
QString FilterTreeGetText(const TFilterNodeData& node);

class TFilterTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit TFilterTreeModel(QObject* parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    // The node's text for display; bold type for headings (FilterTreePaintText).
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Replaces every node in one model reset.
    void SetCategories(std::vector<TFilterCategory> categories);
    // The node of an index of this model, or nullptr.
    const TFilterNodeData* Node(const QModelIndex& index) const;
    // Every node's index in display order: each heading followed by its value nodes.
    std::vector<QModelIndex> NodesInDisplayOrder() const;

private:
    std::vector<TFilterCategory> FCategories;
};

}  // namespace qm::ui
