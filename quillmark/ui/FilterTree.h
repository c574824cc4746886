#pragma once
// The filter tree beside the device view: seven bold category headings, "Last Seen", "Location",
// "Type", "Services" (with the trackers), "Radio", "Address" and "Maker", each with one node per
// distinct value of the counted devices and their number. Selecting a value node chooses the device filter;
// selecting a heading clears it.

#include <QString>
#include <QStringList>
#include <QTreeView>
#include <functional>

#include "quillmark/core/DeviceFilter.h"

namespace qm {
class TSessionState;
}

namespace qm::ui {

class TFilterTreeModel;
struct TFilterNodeData;

class TFilterTree : public QTreeView {
    Q_OBJECT

public:
    explicit TFilterTree(qm::TSessionState& session, QWidget* parent = nullptr);

    // Refills the tree from the device list. A selected node is given up first (FilterChanged with
    // no node), then the first node in display order whose caption equals the old one is selected
    // again (FilterChanged with that node).
    void RebuildFilterTree();

    // The text of every node in display order, each heading followed by its value nodes, as shown
    // (value nodes with their count, "caption (n)").
    QStringList NodeTexts() const;
    // Selects the first node whose text as shown equals the given one; false when there is none.
    bool SelectNodeByText(const QString& text);
    // The caption of the selected node; empty when none is selected.
    QString SelectedCaption() const;

Q_SIGNALS:
    // After every change of the selection: with the selected node's kind and value (a heading has
    // fkNone and an empty value), or hasNode false when nothing is selected any more.
    void FilterChanged(bool hasNode, qm::TFilterKind kind, QString value);

protected:
    // A value too long for the tree's width shows elided; its tool tip shows it whole.
    bool viewportEvent(QEvent* event) override;

private:
    bool IsElided(const QModelIndex& index) const;
    // FilterTreeChange: reports the selected node's filter, or that no node is selected.
    void FilterTreeChange();
    QModelIndex SelectedIndex() const;
    // Selects and focuses the first node in display order that matches; false when none does.
    bool SelectFirstNode(const std::function<bool(const TFilterNodeData&)>& matches);

    qm::TSessionState& FSession;
    TFilterTreeModel* FModel;
};

}  // namespace qm::ui
