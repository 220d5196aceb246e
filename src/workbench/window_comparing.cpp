// The main window: comparing the two panes ("Сравнить", "Показывать", the
// panel "Различия") and finding elements by their label ("Найти").

#include <QHeaderView>
#include <QShortcut>

#include <algorithm>
#include <utility>

#include "catalogues/categories.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

constexpr int kFindPauseMs = 250;     // a tree build per typed letter would lag behind the typing
const QColor kDifferingRow(255, 224, 138);

// " (нет: 12, изменено: 3)", or nothing when the category holds no difference.
QString CountsText(const DifferenceCounts& counts) {
    QStringList parts;
    if (counts.absent > 0) parts << QString::fromUtf8("нет: %1").arg(counts.absent);
    if (counts.changed > 0) parts << QString::fromUtf8("изменено: %1").arg(counts.changed);
    return parts.isEmpty() ? QString() : " (" + parts.join(", ") + ")";
}

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

    findTimer_ = new QTimer(this);
    findTimer_->setSingleShot(true);
    findTimer_->setInterval(kFindPauseMs);
    connect(findTimer_, &QTimer::timeout, this, [this] { ed_FindChange(); });
    connect(ed_Find, &QLineEdit::textChanged, findTimer_, qOverload<>(&QTimer::start));
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
    for (QTreeWidget* tree : {LeftTree, RightTree})
        connect(tree, &QTreeWidget::itemSelectionChanged, this, [this, tree] {
            if (!followingSelection_) ShowDifferencesOf(tree);
        });
}

void TForm1::cbx_CompareClick() {
    UpdateShowEnabled();
    GroupBoxDiff->setVisible(cbx_Compare->isChecked());
    ShowComparisonKeepingView();
}

void TForm1::ShowComparisonKeepingView() {
    const TreeViewState left = SaveViewState(LeftTree), right = SaveViewState(RightTree);
    followingSelection_ = true;
    ApplyFilters();
    RestoreViewState(LeftTree, left);
    RestoreViewState(RightTree, right);
    followingSelection_ = false;
    ShowDifferencesOf(differencesTree_ ? differencesTree_ : LeftTree);
}

void TForm1::ShowDifferencesOf(QTreeWidget* tree, bool selectPartner) {
    DifferencesTable->setRowCount(0);
    QTreeWidgetItem* node = SelectedNode(tree);
    const TBaseElement* record = RecordOf(node);
    const CatalogueComparison* comparison = record ? Comparison() : nullptr;
    if (!comparison) return;
    differencesTree_ = tree;
    const TXMLCustomClass& collection = *CollectionOf(node->parent());
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

void TForm1::SelectPartner(QTreeWidget* tree, const TBaseElement& partner) {
    QTreeWidgetItem* found = tree == RightTree ? NodeOf(&partner) : nullptr;
    QTreeWidgetItem* root = tree->topLevelItem(0);
    for (int c = 0; !found && root && c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        if (!CollectionOf(category)->Holds(partner)) continue;
        for (int e = 0; !found && e < category->childCount(); ++e)
            if (RecordOf(category->child(e)) == &partner) found = category->child(e);
    }
    if (!found) return;  // filtered out of the other tree
    followingSelection_ = true;
    tree->clearSelection();
    tree->setCurrentItem(found);
    tree->scrollToItem(found);
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
    for (QTreeWidgetItem* node : WorkNodes) {
        const TBaseElement* record = RecordOf(node);
        if (comparison->StateOf(*record) == Presence::Changed) updates.push_back({comparison->PartnerOf(*record), record});
    }
    WorkNodes.clear();
    return updates;
}

void TForm1::PopupMenuLeftPopup() { UpdateRight->setEnabled(!ChangedInSelection().empty()); }

void TForm1::UpdateRightClick() {
    const std::vector<ElementUpdate> updates = ChangedInSelection();
    if (updates.empty()) return;
    PaneChanges changes = right_.Update(updates);
    ShowChanges(changes);
    Remember(changes);
}

void TForm1::ed_FindChange() {
    findTimer_->stop();
    if (ed_Find->text() == findText_) return;
    findText_ = ed_Find->text();
    ApplyFilters();
}

void TForm1::ClearFind() {
    ed_Find->clear();
    ed_FindChange();
}

const CatalogueComparison* TForm1::Comparison() {
    if (!cbx_Compare->isChecked()) {
        comparison_.reset();
        return nullptr;
    }
    if (!comparison_ || comparedFor_ != CurrentComparisonKey()) {
        comparison_ = std::make_unique<CatalogueComparison>(*leftRef_, right_.Reference());
        comparedFor_ = CurrentComparisonKey();
    }
    return comparison_.get();
}

bool TForm1::ShowsElement(const TBaseElement& record, const QString& label) {
    if (!findText_.isEmpty() && !label.contains(findText_, Qt::CaseInsensitive)) return false;
    if (cb_Show->currentIndex() != kOnlyDifferences) return true;
    const CatalogueComparison* comparison = Comparison();
    return !comparison || comparison->StateOf(record) != Presence::Present;
}

void TForm1::MarkTree(QTreeWidget* view) {
    const CatalogueComparison* comparison = Comparison();
    (view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) = CurrentComparisonKey();
    QTreeWidgetItem* root = view->topLevelItem(0);
    if (!root) return;
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        DifferenceCounts counts;
        for (int e = 0; e < category->childCount(); ++e) {
            QTreeWidgetItem* node = category->child(e);
            const Presence state = comparison ? comparison->StateOf(*RecordOf(node)) : Presence::Present;
            SetPresence(node, state);
            if (state == Presence::Absent) ++counts.absent;
            if (state == Presence::Changed) ++counts.changed;
        }
        QString label = QString::fromUtf8(CaptionOfCollection(*CollectionOf(category)));
        if (comparison) label += CountsText(counts);
        if (category->text(0) != label) category->setText(0, label);
    }
}

void TForm1::FollowComparison() {
    if (!cbx_Compare->isChecked()) return;
    const bool following = std::exchange(followingSelection_, true);
    const ComparisonKey now = CurrentComparisonKey();
    const bool hides = cb_Show->currentIndex() == kOnlyDifferences;
    for (QTreeWidget* view : {LeftTree, RightTree}) {
        if ((view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) == now) continue;
        if (!hides) {
            MarkTree(view);
            continue;
        }
        // Elements that became equal leave the tree, ones that became different join it.
        const int reselect = ReselectIndex;
        ReselectIndex = -1;
        BuildTree(view, view == LeftTree ? leftRef_.get() : &right_.Reference());
        ReselectIndex = reselect;
    }
    followingSelection_ = following;
    // The panel shows the values as they are now; the selections stay as the user left them.
    if (differencesTree_) ShowDifferencesOf(differencesTree_, false);
}

}  // namespace kelm
