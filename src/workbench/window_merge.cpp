// The main window: the merge of the left pane's changes since a base into the
// right pane, its conflicts marked in both trees and decided one by one.

#include <QHeaderView>
#include <unordered_set>

#include "core/exchange_file.h"
#include "formats/catalogue_file.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

const QColor kConflictRow(255, 200, 220);

}  // namespace

void TForm1::BuildMergeActions(QMenu* file) {
    btnMerge = file->addAction(QString::fromUtf8("Слияние с базой…"));
    btnMerge->setObjectName("btnMerge");
    connect(btnMerge, &QAction::triggered, this, [this] { btnMergeClick(); });
    KeepLeft = PopupMenuLeft->addAction(QString::fromUtf8("Оставить"));
    KeepLeft->setObjectName("KeepLeft");
    connect(KeepLeft, &QAction::triggered, this, [this] { ResolveConflicts(LeftTree, MergeDecision::Ours); });
    PopupMenu1->addSeparator();
    UpdateConflict = PopupMenu1->addAction(QString::fromUtf8("Обновить справа"));
    UpdateConflict->setObjectName("UpdateConflict");
    connect(UpdateConflict, &QAction::triggered, this, [this] { ResolveConflicts(RightTree, MergeDecision::Theirs); });
    KeepConflict = PopupMenu1->addAction(QString::fromUtf8("Оставить"));
    KeepConflict->setObjectName("KeepConflict");
    connect(KeepConflict, &QAction::triggered, this, [this] { ResolveConflicts(RightTree, MergeDecision::Ours); });
    // Only a conflict has anything to decide.
    for (QMenu* menu : {PopupMenuLeft, PopupMenu1})
        connect(menu, &QMenu::aboutToShow, this, [this, menu] {
            CatalogueTree* tree = menu == PopupMenuLeft ? LeftTree : RightTree;
            const bool any = !SelectedConflicts(tree).empty();
            for (QAction* action : menu == PopupMenuLeft ? QList<QAction*>{KeepLeft}
                                                          : QList<QAction*>{UpdateConflict, KeepConflict})
                action->setVisible(any);
            if (any && menu == PopupMenuLeft) UpdateRight->setEnabled(true);
        });
}

CatalogueMerge* TForm1::Merge() {
    if (merge_ && mergedFor_ != std::pair(leftRevision_, right_.Generation())) {
        merge_.reset();
        mergeBase_.reset();
    }
    return merge_.get();
}

std::vector<std::size_t> TForm1::SelectedConflicts(CatalogueTree* tree) {
    if (!Merge()) return {};
    CollectSelection(tree);
    const std::vector<TBaseElement*> records = RecordsOf(WorkNodes);
    WorkNodes.clear();
    return merge_->OpenConflictsOf({records.begin(), records.end()});
}

void TForm1::btnMergeClick() {
    if (!leftRef_) {
        dialogs_->Inform(QString::fromUtf8("Откройте слева справочник, изменения которого переносятся."), QString());
        return;
    }
    const auto path = dialogs_->ChooseSourceToOpen(Pane::Left, leftPath_);
    if (!path) return;
    try {
        mergeBase_ = OpenCatalogue(path->toStdString(), *db_);
    } catch (const OpenError& error) {
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return;
    }
    merge_ = std::make_unique<CatalogueMerge>(*mergeBase_, right_.Reference(), *leftRef_);
    PaneChanges changes = ApplyMerge(right_, *merge_);
    mergedFor_ = {leftRevision_, right_.Generation()};
    ShowChanges(changes);
    Remember(changes);
    UpdateSaveAsEnabled();
    // The panes side by side show what is left to decide.
    cbx_Compare->setChecked(true);
    MarkConflicts();
    TellRefused(changes, right_.Reference(), numbers_, *dialogs_);
}

bool TForm1::ResolveConflicts(CatalogueTree* tree, MergeDecision decision) {
    const std::vector<std::size_t> conflicts = SelectedConflicts(tree);
    if (conflicts.empty()) return false;
    PaneChanges changes = Resolve(right_, *merge_, conflicts, decision);
    ShowChanges(changes);
    Remember(changes);
    MarkConflicts();
    if (differencesTree_) ShowDifferencesOf(differencesTree_, false);
    TellRefused(changes, right_.Reference(), numbers_, *dialogs_);
    return true;
}

void TForm1::MarkConflicts() {
    const CatalogueMerge* merge = Merge();
    if (!merge && !conflictsShown_) return;
    std::unordered_set<const TBaseElement*> open;
    if (merge)
        for (const MergeElement& element : merge->Elements())
            if (element.IsConflict() && element.decision == MergeDecision::Open)
                for (const TBaseElement* record : {element.ours, element.theirs})
                    if (record) open.insert(record);
    conflictsShown_ = !open.empty();
    for (CatalogueTree* view : {LeftTree, RightTree}) {
        const KeptPlace place({view});
        view->Catalogue()->MarkConflicts(open);
    }
}

bool TForm1::ShowConflictOf(const TBaseElement* record) {
    const CatalogueMerge* merge = record ? Merge() : nullptr;
    const MergeElement* conflict = merge ? merge->ConflictOf(*record) : nullptr;
    // A record of ours that an undone step took out with it is no longer there to be shown.
    const bool open = conflict && conflict->decision == MergeDecision::Open &&
                      (!conflict->ours || right_.Reference().GetCollection(conflict->category)->IndexOf(conflict->ours) >= 0);
    const QStringList headers{QString::fromUtf8("Поле"), QString::fromUtf8("База"), QString::fromUtf8("Левое дерево"),
                              QString::fromUtf8("Правое дерево")};
    DifferencesTable->setColumnCount(open ? 4 : 3);
    DifferencesTable->setHorizontalHeaderLabels(open ? headers : QStringList{headers[0], headers[2], headers[3]});
    if (!open) return false;
    const TXMLCustomClass& collection = *right_.Reference().GetCollection(conflict->category);
    const std::vector<int> fields = ComparedFields(collection);
    const TBaseElement* sides[3] = {conflict->base, conflict->theirs, conflict->ours};
    DifferencesTable->setRowCount(static_cast<int>(fields.size()));
    for (int row = 0; row < static_cast<int>(fields.size()); ++row) {
        const int field = fields[static_cast<std::size_t>(row)];
        const bool disputed =
            std::find(conflict->fields.begin(), conflict->fields.end(), field) != conflict->fields.end();
        for (int column = 0; column < 4; ++column) {
            const TBaseElement* side = column == 0 ? nullptr : sides[column - 1];
            const QString text = column == 0 ? QString::fromUtf8(collection.Field(field).caption)
                                 : side      ? QString::fromStdString(collection.ShownFieldText(*side, field, numbers_))
                                             : QString::fromUtf8(column == 1 ? "нет" : "удалён");
            auto* item = new QTableWidgetItem(text);
            if (disputed) item->setBackground(kConflictRow);
            DifferencesTable->setItem(row, column, item);
        }
    }
    return true;
}

}  // namespace kelm
