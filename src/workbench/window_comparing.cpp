// The main window: comparing the two panes ("Сравнить", "Показывать", the
// panel "Различия") and finding elements by their label ("Найти").

#include <QApplication>
#include <QHeaderView>
#include <QShortcut>

#include <algorithm>
#include <utility>

#include "catalogues/categories.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

constexpr int kFindPauseMs = 250;
constexpr int kAheadPauseMs = 200;  // while an operation is under way     // a tree build per typed letter would lag behind the typing
const QColor kDifferingRow(255, 224, 138);

}  // namespace

void TForm1::BuildComparisonBar(QHBoxLayout* filterBar) {
    cbx_Compare = new QCheckBox(QString::fromUtf8("Сравнить"));
    cbx_Compare->setObjectName("cbx_Compare");
    filterBar->addWidget(cbx_Compare);
    filterBar->addWidget(new QLabel(QString::fromUtf8(" Показывать:")));
    cb_Show = new QComboBox;
    cb_Show->setObjectName("cb_Show");
    cb_Show->addItem(QString::fromUtf8("все"));
    cb_Show->addItem(QString::fromUtf8("только различия"));
    cb_Show->setEnabled(false);  // only a comparison tells the differences
    filterBar->addWidget(cb_Show);
    filterBar->addWidget(new QLabel(QString::fromUtf8(" Найти:")));
    ed_Find = new QLineEdit;
    ed_Find->setObjectName("ed_Find");
    ed_Find->setClearButtonEnabled(true);
    ed_Find->setMinimumWidth(120);
    filterBar->addWidget(ed_Find);
    lb_FindStatus = new QLabel;
    lb_FindStatus->setObjectName("lb_FindStatus");
    filterBar->addWidget(lb_FindStatus);

    aheadTimer_ = new QTimer(this);
    aheadTimer_->setSingleShot(true);
    connect(aheadTimer_, &QTimer::timeout, this, [this] { CompareAhead(); });
    findTimer_ = new QTimer(this);
    findTimer_->setSingleShot(true);
    findTimer_->setInterval(kFindPauseMs);
    connect(findTimer_, &QTimer::timeout, this, [this] { ed_FindChange(); });
    connect(ed_Find, &QLineEdit::textChanged, findTimer_, qOverload<>(&QTimer::start));
    // Enter applies the text at once, or goes on to the next element found.
    connect(ed_Find, &QLineEdit::returnPressed, this, [this] {
        if (ed_Find->text() != LeftTree->Filter()->Find())
            ed_FindChange();
        else
            FindNext();
    });
    auto* next = new QShortcut(QKeySequence(Qt::Key_F3), this);
    connect(next, &QShortcut::activated, this, [this] { FindNext(); });
    auto* back = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3), this);
    connect(back, &QShortcut::activated, this, [this] { FindNext(true); });
    // Toggled, not clicked: the keyboard and assistive tools tick it too.
    connect(cbx_Compare, &QCheckBox::toggled, this, [this] { cbx_CompareClick(); });
    connect(cb_Show, &QComboBox::activated, this, [this] { cb_ShowChange(); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        ed_Find->setFocus(Qt::ShortcutFocusReason);
        ed_Find->selectAll();
    });
    auto* clear = new QShortcut(QKeySequence(Qt::Key_Escape), ed_Find, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, this, [this] { ClearFind(); });
}

void TForm1::BuildDifferencesPanel(QVBoxLayout* layout) {
    GroupBoxDiff = new QGroupBox(QString::fromUtf8("Различия"));
    GroupBoxDiff->setObjectName("GroupBoxDiff");
    auto* box = new QVBoxLayout(GroupBoxDiff);
    DifferencesTable = new QTableWidget(0, 3);
    DifferencesTable->setObjectName("DifferencesTable");
    DifferencesTable->setHorizontalHeaderLabels(
        {QString::fromUtf8("Поле"), QString::fromUtf8("Левое дерево"), QString::fromUtf8("Правое дерево")});
    DifferencesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DifferencesTable->verticalHeader()->setVisible(false);
    DifferencesTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    DifferencesTable->setMinimumHeight(120);
    box->addWidget(DifferencesTable);
    GroupBoxDiff->setVisible(false);  // only a comparison has differences to show
    layout->addWidget(GroupBoxDiff);
    for (CatalogueTree* tree : {LeftTree, RightTree})
        connect(tree->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this, tree] {
            if (!followingSelection_) ShowDifferencesOf(tree);
        });
}

void TForm1::cbx_CompareClick() {
    // Of the filters only "только различия" reads the states.
    const bool filtered = cb_Show->currentIndex() == kOnlyDifferences;
    UpdateShowEnabled();
    GroupBoxDiff->setVisible(cbx_Compare->isChecked());
    // The filters let an element go only once it is no difference any more:
    // marked before "только различия" applies, unmarked after it no longer does.
    const bool following = std::exchange(followingSelection_, true);
    if (!cbx_Compare->isChecked() && filtered) ApplyFilters();
    MarkTree(LeftTree);
    MarkTree(RightTree);
    if (cbx_Compare->isChecked() && filtered) ApplyFilters();
    followingSelection_ = following;
    ShowDifferencesOf(differencesTree_ ? differencesTree_ : LeftTree);
}

void TForm1::cb_ShowChange() {
    const bool following = std::exchange(followingSelection_, true);
    ApplyFilters();
    followingSelection_ = following;
    ShowDifferencesOf(differencesTree_ ? differencesTree_ : LeftTree);
}

void TForm1::ShowDifferencesOf(CatalogueTree* tree, bool selectPartner) {
    DifferencesTable->setRowCount(0);
    const QModelIndex node = SelectedNode(tree);
    const TBaseElement* record = RecordOf(node);
    if (ShowConflictOf(record)) {
        differencesTree_ = tree;
        return;
    }
    const CatalogueComparison* comparison = record ? Comparison() : nullptr;
    if (!comparison) return;
    differencesTree_ = tree;
    const TXMLCustomClass& collection = *CollectionOf(node.parent());
    const TBaseElement* partner = comparison->PartnerOf(*record);
    const bool fromLeft = tree == LeftTree;
    const TBaseElement* sides[2] = {fromLeft ? record : partner, fromLeft ? partner : record};
    const std::vector<int>& differing = comparison->DifferingFields(*record);
    const std::vector<int> fields = ComparedFields(collection);
    DifferencesTable->setRowCount(static_cast<int>(fields.size()));
    for (int row = 0; row < static_cast<int>(fields.size()); ++row) {
        const int field = fields[static_cast<std::size_t>(row)];
        const bool differs = std::find(differing.begin(), differing.end(), field) != differing.end();
        for (int column = 0; column < 3; ++column) {
            const TBaseElement* side = column == 0 ? nullptr : sides[column - 1];
            const QString text = column == 0 ? QString::fromUtf8(collection.Field(field).caption)
                                 : side      ? QString::fromStdString(collection.ShownFieldText(*side, field, numbers_))
                                             : QString();
            auto* item = new QTableWidgetItem(text);
            if (differs) {
                item->setBackground(kDifferingRow);
                QFont font = item->font();
                font.setBold(true);
                item->setFont(font);
            }
            DifferencesTable->setItem(row, column, item);
        }
    }
    if (partner && selectPartner) SelectPartner(fromLeft ? RightTree : LeftTree, *partner);
}

void TForm1::SelectPartner(CatalogueTree* tree, const TBaseElement& partner) {
    const QModelIndex found = tree->NodeOf(&partner);
    if (!found.isValid()) return;  // filtered out of the other tree
    followingSelection_ = true;
    tree->GoTo(found);
    followingSelection_ = false;
}

void TForm1::LeftTreeMouseDown(const QPoint& position) {
    if (!cbx_Compare->isChecked()) return;  // the menu has nothing else to offer
    SelectNodeUnder(LeftTree, position);
    PopupMenuLeft->popup(LeftTree->viewport()->mapToGlobal(position));
}

std::vector<ElementUpdate> TForm1::ChangedInSelection() {
    std::vector<ElementUpdate> updates;
    const CatalogueComparison* comparison = Comparison();
    if (!comparison) return updates;
    CollectSelection(LeftTree);
    for (const QModelIndex& node : WorkNodes) {
        const TBaseElement* record = RecordOf(node);
        if (comparison->StateOf(*record) == Presence::Changed) updates.push_back({comparison->PartnerOf(*record), record});
    }
    WorkNodes.clear();
    return updates;
}

void TForm1::PopupMenuLeftPopup() { UpdateRight->setEnabled(!ChangedInSelection().empty()); }

void TForm1::UpdateRightClick() {
    if (ResolveConflicts(LeftTree, MergeDecision::Theirs)) return;
    const std::vector<ElementUpdate> updates = ChangedInSelection();
    if (updates.empty()) return;
    PaneChanges changes = right_.Update(updates);
    ShowChanges(changes);
    Remember(changes);
}

void TForm1::ed_FindChange() {
    findTimer_->stop();
    const QString text = ed_Find->text();
    if (text == LeftTree->Filter()->Find()) return;
    {
        const KeptPlace place({LeftTree, RightTree});
        for (CatalogueTree* view : {LeftTree, RightTree}) view->Filter()->SetFind(text);
    }
    ShowFindStatus();
    if (text.isEmpty()) return;
    // The first element found, from the top of the tree in use.
    CatalogueTree* tree = findTree_ ? findTree_ : LeftTree;
    if (!NextElement(*tree->model(), {}, false).isValid()) tree = tree == LeftTree ? RightTree : LeftTree;
    tree->GoTo(NextElement(*tree->model(), {}, false));
}

void TForm1::FindNext(bool backwards) {
    if (ed_Find->text() != LeftTree->Filter()->Find()) ed_FindChange();
    if (LeftTree->Filter()->Find().isEmpty()) return;
    CatalogueTree* tree = findTree_ ? findTree_ : LeftTree;
    if (!NextElement(*tree->model(), {}, false).isValid()) tree = tree == LeftTree ? RightTree : LeftTree;
    tree->GoTo(NextElement(*tree->model(), tree->currentIndex(), backwards));
}

void TForm1::ShowFindStatus() {
    const bool none = !LeftTree->Filter()->Find().isEmpty() && !NextElement(*LeftTree->model(), {}, false).isValid() &&
                      !NextElement(*RightTree->model(), {}, false).isValid();
    lb_FindStatus->setText(none ? QString::fromUtf8("не найдено") : QString());
}

void TForm1::ClearFind() {
    ed_Find->clear();
    ed_FindChange();
}

const CatalogueComparison* TForm1::Comparison() { return cbx_Compare->isChecked() ? ComparisonNow() : nullptr; }

const CatalogueComparison* TForm1::ComparisonNow() {
    const ComparisonKey now = CurrentComparisonKey();
    if (!comparison_ || comparedFor_ != now) {
        comparison_ = ahead_ && aheadFor_ == now ? ahead_->Finish()
                                                 : std::make_unique<CatalogueComparison>(*leftRef_, right_.Reference());
        comparedFor_ = now;
    }
    ahead_.reset();
    return comparison_.get();
}

void TForm1::CompareAhead() {
    const ComparisonKey now = CurrentComparisonKey();
    if (leftPath_.isEmpty() || right_.Path().empty() || (comparison_ && comparedFor_ == now)) {
        ahead_.reset();
        return;
    }
    // Not while an operation asks the user or shows its progress: its catalogue is changing.
    if (QApplication::activeModalWidget() || Progress->isVisible()) {
        aheadTimer_->start(kAheadPauseMs);
        return;
    }
    if (!ahead_ || aheadFor_ != now) {
        comparison_.reset();
        ahead_ = std::make_unique<ComparisonInSteps>(*leftRef_, right_.Reference());
        aheadFor_ = now;
    }
    ahead_->CompareNext();
    if (ahead_->Complete())
        ComparisonNow();
    else
        aheadTimer_->start(0);
}

void TForm1::MarkTree(CatalogueTree* view) {
    (view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) = CurrentComparisonKey();
    const KeptPlace place({view});
    view->Catalogue()->Compare(Comparison());
    view->Filter()->StatesChanged();
}

void TForm1::FollowComparison() {
    MarkConflicts();
    if (!cbx_Compare->isChecked()) {
        aheadTimer_->start(0);
        return;
    }
    const bool following = std::exchange(followingSelection_, true);
    const ComparisonKey now = CurrentComparisonKey();
    // Elements that became equal leave a tree showing "только различия", ones that became different join it.
    for (CatalogueTree* view : {LeftTree, RightTree})
        if ((view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) != now) MarkTree(view);
    followingSelection_ = following;
    // The panel shows the values as they are now; the selections stay as the user left them.
    if (differencesTree_) ShowDifferencesOf(differencesTree_, false);
}

}  // namespace kelm
