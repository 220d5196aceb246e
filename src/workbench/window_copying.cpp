// The main window: copying by drag and drop from the left tree onto the right one.

#include "workbench/main_window.h"

#include "workbench/catalogue_tree.h"
#include "workbench/copy_dialogs.h"
#include "workbench/tree_nodes.h"

namespace kelm {

void TForm1::SetCommentDialog(TFrmComment* comment) {
    ownCopyQuestions_ = std::make_unique<QtCopyQuestions>(this, *comment);
    if (!copyQuestions_) copyQuestions_ = ownCopyQuestions_.get();
}

void TForm1::CollectSelection(QTreeWidget* view) {
    WorkNodes.clear();
    QTreeWidgetItem* root = view->topLevelItem(0);
    if (!root) return;
    if (root->isSelected()) {
        for (int c = 0; c < root->childCount(); ++c)
            for (int e = 0; e < root->child(c)->childCount(); ++e) WorkNodes.append(root->child(c)->child(e));
        return;
    }
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        if (!category->isSelected()) continue;
        for (int e = 0; e < category->childCount(); ++e) WorkNodes.append(category->child(e));
    }
    for (QTreeWidgetItem* node : view->selectedItems())
        if (NodeLevel(node) >= 2 && !node->parent()->isSelected()) WorkNodes.append(node);
}

void TForm1::RightTreeDragDrop(QTreeWidget* source) {
    if (source->selectedItems().isEmpty()) return;
    // A drop onto a pane with nothing opened goes into the bare catalogue tree.
    if (!RightTree->topLevelItem(0)) BuildTree(RightTree, &right_.Reference());
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    // The category nodes the type filter shows; an element of a hidden category is not copied.
    std::unordered_map<const TXMLCustomClass*, QTreeWidgetItem*> categories;
    for (int c = 0; c < root->childCount(); ++c) categories.emplace(CollectionOf(root->child(c)), root->child(c));

    CollectSelection(LeftTree);
    std::vector<DroppedElement> elements;
    elements.reserve(static_cast<std::size_t>(WorkNodes.size()));
    for (QTreeWidgetItem* node : WorkNodes) {
        const TXMLCustomClass* collection = right_.Reference().GetCollection(
            right_.Reference().CategoryOf(*RecordOf(node)));
        if (categories.count(collection)) elements.push_back({RecordOf(node), node->text(0).toStdString()});
    }
    WorkNodes.clear();

    CopyRun run(*copyQuestions_);
    RightTree->setUpdatesEnabled(false);
    Progress->setMaximum(std::max<int>(1, static_cast<int>(elements.size())));
    Progress->setValue(0);
    Progress->setVisible(true);
    QList<QTreeWidgetItem*> copies;
    PaneChanges changes = right_.Copy(run, elements, [&](std::size_t i, TBaseElement* copy, int position) {
        StepProgress(static_cast<int>(i));
        if (!copy) return;
        QTreeWidgetItem* category = categories.at(right_.Reference().GetCollection(right_.Reference().CategoryOf(*copy)));
        QTreeWidgetItem* node = NewElementNode(QString::fromStdString(elements[i].label), copy, ImageCopied);
        category->insertChild(std::min(position, category->childCount()), node);
        rightNodes_.emplace(copy, node);
        copies.append(node);
    });
    // Selected together at the end: every row inserted while copies are
    // selected would have to update the whole selection. What was selected
    // before is let go, so that Delete afterwards acts on the copies only.
    RightTree->clearSelection();
    static_cast<CatalogueTree*>(RightTree)->SelectNodes(copies);
    RightTree->setUpdatesEnabled(true);
    Progress->setVisible(false);
    FollowComparison();
    ShowRightPaneState();
    Remember(changes);
}

}  // namespace kelm
