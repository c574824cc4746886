#include "quillmark/ui/FilterTree.h"

#include <QHelpEvent>
#include <QToolTip>
#include <array>
#include <vector>

#include "quillmark/core/FilterValues.h"
#include "quillmark/core/SessionState.h"
#include "quillmark/ui/FilterTreeModel.h"
#include "quillmark/ui/PlainToolTip.h"

namespace qm::ui {

namespace {

struct TCategoryHeading {
    const char* heading;
    qm::TFilterKind kind;
};

constexpr std::array<TCategoryHeading, 7> kCategories = {{
    {"Last Seen", qm::fkLastSeen},
    {"Location", qm::fkLocation},
    {"Type", qm::fkType},
    {"Services", qm::fkServices},
    {"Radio", qm::fkRadio},
    {"Address", qm::fkAddress},
    {"Maker", qm::fkMaker},
}};

// Appends a heading node at the top level and returns its category for the value nodes.
TFilterCategory& AddFilterCategory(std::vector<TFilterCategory>& tree, const QString& heading) {
    TFilterCategory& category = tree.emplace_back();
    category.Heading = TFilterNodeData{true, heading, qm::fkNone, {}, 0};
    return category;
}

void AddValueNodes(TFilterCategory& category, qm::TFilterKind kind,
                   const std::vector<qm::TFilterValueCount>& counts) {
    category.Values.reserve(counts.size());
    for (const qm::TFilterValueCount& entry : counts) {
        const QString caption =
            entry.value.empty() ? QStringLiteral("None") : QString::fromStdString(entry.value);
        category.Values.push_back(TFilterNodeData{false, caption, kind, entry.value, entry.count});
    }
}

}  // namespace

TFilterTree::TFilterTree(qm::TSessionState& session, QWidget* parent)
    : QTreeView(parent), FSession(session), FModel(new TFilterTreeModel(this)) {
    setModel(FModel);
    setHeaderHidden(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFilterTree::FilterTreeChange);
}

void TFilterTree::RebuildFilterTree() {
    const bool hadSelection = SelectedIndex().isValid();
    const QString caption = SelectedCaption();
    std::vector<TFilterCategory> tree;
    for (const TCategoryHeading& category : kCategories)
        AddValueNodes(AddFilterCategory(tree, QString::fromLatin1(category.heading)), category.kind,
                      qm::CountFilterValues(FSession.DeviceList(), category.kind, FSession.HideInactive()));
    // The reset drops the selection without a selection signal; report it as one.
    FModel->SetCategories(std::move(tree));
    if (hadSelection) Q_EMIT FilterChanged(false, qm::fkNone, QString());
    expandAll();
    if (hadSelection) SelectFirstNode([&](const TFilterNodeData& node) { return node.Caption == caption; });
}

QStringList TFilterTree::NodeTexts() const {
    QStringList texts;
    for (const QModelIndex& index : FModel->NodesInDisplayOrder())
        texts.append(FilterTreeGetText(*FModel->Node(index)));
    return texts;
}

bool TFilterTree::SelectNodeByText(const QString& text) {
    return SelectFirstNode([&](const TFilterNodeData& node) { return FilterTreeGetText(node) == text; });
}

QString TFilterTree::SelectedCaption() const {
    const TFilterNodeData* node = FModel->Node(SelectedIndex());
    return node != nullptr ? node->Caption : QString();
}

void TFilterTree::FilterTreeChange() {
    const TFilterNodeData* node = FModel->Node(SelectedIndex());
    if (node != nullptr)
        Q_EMIT FilterChanged(true, node->Kind, QString::fromStdString(node->Value));
    else
        Q_EMIT FilterChanged(false, qm::fkNone, QString());
}

QModelIndex TFilterTree::SelectedIndex() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.front();
}

bool TFilterTree::SelectFirstNode(const std::function<bool(const TFilterNodeData&)>& matches) {
    for (const QModelIndex& index : FModel->NodesInDisplayOrder()) {
        if (!matches(*FModel->Node(index))) continue;
        setCurrentIndex(index);
        return true;
    }
    return false;
}

bool TFilterTree::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QTreeView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = indexAt(help->pos());
    if (index.isValid() && IsElided(index)) {
        QToolTip::showText(help->globalPos(), PlainToolTip(index.data(Qt::DisplayRole).toString()),
                           viewport(), visualRect(index));
    } else {
        QToolTip::hideText();
    }
    return true;
}

// Whether the node's text needs more width than the tree shows of it.
bool TFilterTree::IsElided(const QModelIndex& index) const {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int needed = itemDelegateForIndex(index)->sizeHint(option, index).width();
    return needed > visualRect(index).intersected(viewport()->rect()).width();
}

}  // namespace qm::ui
