// The main window: copying by drag and drop from the left tree onto the right one.

#include "workbench/main_window.h"

#include <cstring>

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
    if (!RightTree->topLevelItem(0)) BuildTree(RightTree, rightRef_.get());
    CopyRun run(*copyQuestions_);
    RightTree->setUpdatesEnabled(false);
    CollectSelection(LeftTree);
    Progress->setMaximum(std::max<int>(1, WorkNodes.size()));
    Progress->setValue(0);
    Progress->setVisible(true);
    QList<QTreeWidgetItem*> copies;
    for (int i = 0; i < WorkNodes.size() && !run.AbortCopy(); ++i) {
        StepProgress(i);
        if (QTreeWidgetItem* copied = CopyNode(WorkNodes[i], run)) copies.append(copied);
    }
    // Selected together at the end: every row inserted while copies are
    // selected would have to update the whole selection. What was selected
    // before is let go, so that Delete afterwards acts on the copies only.
    RightTree->clearSelection();
    static_cast<CatalogueTree*>(RightTree)->SelectNodes(copies);
    RightTree->setUpdatesEnabled(true);
    Progress->setVisible(false);
    UpdateSaveAsEnabled();
    WorkNodes.clear();
}

QTreeWidgetItem* TForm1::CopyNode(QTreeWidgetItem* node, CopyRun& run) {
    if (!node || NodeLevel(node) < 2) return nullptr;
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root) return nullptr;
    const char* className = CollectionOf(node->parent())->ClassName();
    QTreeWidgetItem* category = nullptr;
    for (int c = 0; c < root->childCount() && !category; ++c)
        if (std::strcmp(CollectionOf(root->child(c))->ClassName(), className) == 0) category = root->child(c);
    if (!category) return nullptr;  // hidden by the type filter: not copied

    const CopyOutcome outcome = run.CopyRecord(*CollectionOf(category), *RecordOf(node), node->text(0).toStdString());
    if (!outcome.copy) return nullptr;
    outcome.copy->Ident = -2;  // the mark of a copy not yet saved
    QTreeWidgetItem* copied = NewElementNode(node->text(0), outcome.copy, ImageCopied);
    category->insertChild(std::min(outcome.position, category->childCount()), copied);
    ButtonSave->setEnabled(true);
    ButtonCancel->setEnabled(true);
    return copied;
}

}  // namespace kelm
