// The main window: copying by drag and drop from the left tree onto the right one.

#include "workbench/main_window.h"

#include "workbench/catalogue_tree.h"
#include "workbench/copy_dialogs.h"
#include "workbench/tree_nodes.h"

#include <unordered_set>

namespace kelm {

void TForm1::SetCommentDialog(TFrmComment* comment) {
    ownCopyQuestions_ = std::make_unique<QtCopyQuestions>(this, *comment);
    if (!copyQuestions_) copyQuestions_ = ownCopyQuestions_.get();
}

void TForm1::CollectSelection(CatalogueTree* view) {
    WorkNodes.clear();
    const QModelIndex root = view->Root();
    if (!root.isValid()) return;
    const QAbstractItemModel& model = *view->model();
    const QItemSelectionModel& selection = *view->selectionModel();
    auto all = [this, &model](const QModelIndex& category) {
        for (int e = 0; e < model.rowCount(category); ++e) WorkNodes.append(model.index(e, 0, category));
    };
    if (selection.isSelected(root)) {
        for (int c = 0; c < model.rowCount(root); ++c) all(model.index(c, 0, root));
        return;
    }
    for (int c = 0; c < model.rowCount(root); ++c)
        if (selection.isSelected(model.index(c, 0, root))) all(model.index(c, 0, root));
    for (const QModelIndex& node : selection.selectedIndexes())
        if (NodeLevel(node) >= 2 && !selection.isSelected(node.parent())) WorkNodes.append(node);
}

void TForm1::RightTreeDragDrop(QAbstractItemView* source) {
    if (source != LeftTree || !LeftTree->selectionModel()->hasSelection()) return;
    // A drop onto a pane with nothing opened goes into the bare catalogue tree.
    if (!RightTree->Root().isValid()) BuildTree(RightTree, &right_.Reference());
    // The categories the type filter shows; an element of a hidden category is not copied.
    std::unordered_set<const TXMLCustomClass*> categories;
    const QModelIndex root = RightTree->Root();
    for (int c = 0; c < RightTree->model()->rowCount(root); ++c)
        categories.insert(CollectionOf(RightTree->model()->index(c, 0, root)));

    CollectSelection(LeftTree);
    std::vector<DroppedElement> elements;
    elements.reserve(static_cast<std::size_t>(WorkNodes.size()));
    for (const QModelIndex& node : WorkNodes) {
        const TBaseElement* record = RecordOf(node);
        const TXMLCustomClass* collection = right_.Reference().GetCollection(right_.Reference().CategoryOf(*record));
        if (categories.count(collection)) elements.push_back({record, node.data().toString().toStdString()});
    }
    WorkNodes.clear();

    CopyRun run(*copyQuestions_);
    Progress->setMaximum(std::max<int>(1, static_cast<int>(elements.size())));
    Progress->setValue(0);
    Progress->setVisible(true);
    PaneChanges changes =
        right_.Copy(run, elements, [this](std::size_t i, TBaseElement*, int) { StepProgress(static_cast<int>(i)); });
    // The copies are shown and selected also where "только различия" would hide them;
    // what was selected before is let go, so that Delete afterwards acts on the copies only.
    {
        const KeptPlace place({LeftTree, RightTree});
        RightTree->Filter()->Keep({changes.added.begin(), changes.added.end()});
        RightTree->Catalogue()->Follow(changes);
        FollowComparison();
    }
    ShowRightPaneState();
    QModelIndexList copies;
    for (const QModelIndex& copy : RightTree->Catalogue()->IndexesOf(changes.added))
        if (const QModelIndex node = RightTree->Filter()->mapFromSource(copy); node.isValid()) copies.append(node);
    RightTree->selectionModel()->clearSelection();
    RightTree->SelectNodes(copies);
    if (!copies.isEmpty()) {
        RightTree->selectionModel()->setCurrentIndex(copies.first(), QItemSelectionModel::NoUpdate);
        RightTree->scrollTo(copies.first());
    }
    Progress->setVisible(false);
    Remember(changes);
}

}  // namespace kelm
