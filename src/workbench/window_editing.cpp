// The main window: deleting and undeleting in the right tree, property dialogs.

#include "workbench/main_window.h"

#include "catalogues/categories.h"
#include "core/codec.h"
#include "dialogs/property_dialogs.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

constexpr int kRefusalsInText = 10;  // the rest only in the box's detail

}  // namespace

void TellRefused(const PaneChanges& changes, const TReference& reference, const NumberText& numbers,
                 WorkbenchDialogs& dialogs) {
    if (changes.refused.empty()) return;
    QStringList lines;
    for (const auto& [record, uses] : changes.refused) {
        const TXMLCustomClass& collection = *reference.GetCollection(reference.CategoryOf(*record));
        lines << ScreenText(collection.Label(*record, numbers)) + ": " + QString::fromStdString(InUseReason(uses));
    }
    if (lines.size() <= kRefusalsInText) {
        dialogs.Inform(lines.join('\n'), QString());
        return;
    }
    dialogs.Inform(QStringList(lines.mid(0, kRefusalsInText)).join('\n') + "\n…", lines.join('\n'));
}

void TForm1::RightTreeKeyUp(int key) {
    if (key == Qt::Key_Delete) Del1Click();
    if (key == Qt::Key_Insert) UndeleteClick();
}

void TForm1::RightTreeMouseDown(const QPoint& position) {
    SelectNodeUnder(RightTree, position);
    PopupMenu1->popup(RightTree->viewport()->mapToGlobal(position));
}

void TForm1::PopupMenu1Popup() {
    CollectSelection(RightTree);
    if (WorkNodes.isEmpty()) {
        DblClick1->setEnabled(false);
        Del1->setEnabled(false);
        Undelete->setEnabled(false);
        return;
    }
    DblClick1->setEnabled(WorkNodes.size() == 1);
    // UniformDeletedMark: one mark for the whole selection, or a mix.
    const int first = RecordOf(WorkNodes.first())->Deleted;
    const bool uniform = std::all_of(WorkNodes.begin(), WorkNodes.end(),
                                     [first](const QModelIndex& node) { return RecordOf(node)->Deleted == first; });
    Undelete->setEnabled(!uniform || first == 1);
    Del1->setEnabled(!uniform || first == 0);
    WorkNodes.clear();
}

void TForm1::Del1Click() {
    const QModelIndex root = RightTree->Root();
    if (!root.isValid()) return;
    const QAbstractItemModel& model = *RightTree->model();
    const QItemSelectionModel& selection = *RightTree->selectionModel();
    Progress->setValue(0);
    Progress->setVisible(true);
    QModelIndexList doomed;
    auto all = [&doomed, &model](const QModelIndex& category) {
        for (int e = 0; e < model.rowCount(category); ++e) doomed.append(model.index(e, 0, category));
    };
    bool changed = false;  // a question was answered yes, or elements were selected
    if (selection.isSelected(root)) {
        if (dialogs_->AskOkCancel("Kelm3", QString::fromUtf8("Удалить все элементы ?"))) {
            for (int c = 0; c < model.rowCount(root); ++c) all(model.index(c, 0, root));
            changed = true;
        }
    } else {
        CollectSelection(RightTree);
        // Elements of a selected category go only with the category's confirmation.
        for (int c = 0; c < model.rowCount(root); ++c) {
            const QModelIndex category = model.index(c, 0, root);
            if (!selection.isSelected(category) || model.rowCount(category) == 0) continue;
            const QString text = QString::fromUtf8("Удалить все \"") +
                                 QString::fromUtf8(CaptionOfCollection(*CollectionOf(category))) + "\" ?";
            if (!dialogs_->AskOkCancel("Kelm3", text)) continue;
            all(category);
        }
        for (const QModelIndex& node : WorkNodes)
            if (!selection.isSelected(node.parent())) doomed.append(node);
        changed = !doomed.isEmpty();
    }
    Progress->setMaximum(1);
    PaneChanges changes;
    if (changed) {
        changes = right_.Delete(RecordsOf(doomed));
        ShowChanges(changes);
        Remember(changes);
    }
    Progress->setVisible(false);
    WorkNodes.clear();
    TellRefused(changes, right_.Reference(), numbers_, *dialogs_);
}

void TForm1::UndeleteClick() {
    CollectSelection(RightTree);
    PaneChanges changes = right_.Undelete(RecordsOf(WorkNodes));
    ShowChanges(changes);
    Remember(changes);
    WorkNodes.clear();
}

// --- Property dialogs ------------------------------------------------------------

void TForm1::DblClick1Click() {
    if (NodeLevel(SelectedNode(RightTree)) == 2) LeftTreeDblClick(RightTree);
}

void TForm1::LeftTreeDblClick(CatalogueTree* sender) {
    const QModelIndex node = SelectedNode(sender);
    if (NodeLevel(node) != 2) return;
    TBaseElement* record = RecordOf(node);
    const DialogOpener open = DialogFor(*record);
    if (!open) return;
    DialogContext context{this, db_, numbers_, dialogs_};
    if (dialogExec_) context.exec = dialogExec_;
    const NetworkUse& network = sender->Catalogue()->Reference()->Network;
    if (network.Known()) context.networkUse = network.CountOf(*record);
    if (sender == LeftTree) {
        open(*record, true, context);
        return;
    }
    // The dialog works on a copy: the pane writes the values back in one step.
    const std::unique_ptr<TBaseElement> edited = CollectionOf(node.parent())->Clone(*record);
    if (!open(*edited, false, context)) return;
    PaneChanges changes = right_.Edit(*record, *edited);
    const QString label = node.data().toString();
    ForgetCheckMark(record);
    ShowChanges(changes);
    Remember(changes, label);
}

}  // namespace kelm
