// The main window: undo and redo of the right pane's changes ("Правка"), and
// the nodes of records that leave the pane or come back to it.

#include <QMenuBar>
#include <QUndoCommand>
#include <unordered_set>

#include "workbench/catalogue_tree.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {

namespace {

// Beyond this many nodes in one category, its nodes are laid out anew in one
// pass instead of being inserted or deleted one by one (each of which moves
// every later row of the category).
constexpr std::size_t kFewNodes = 64;

}  // namespace

// One change of the right pane on the window's history. The pane's step
// keeps the records; the command shows what taking it back or making it
// again changed.
class PaneCommand : public QUndoCommand {
public:
    PaneCommand(TForm1& window, std::unique_ptr<PaneStep> step, const QString& text)
        : QUndoCommand(text), window_(window), step_(std::move(step)) {}

    void undo() override { window_.ShowStep(window_.right_.Undo(*step_)); }
    void redo() override {
        // The change was made before it was put on the history.
        if (step_->Done()) return;
        window_.ShowStep(window_.right_.Redo(*step_));
    }
    std::unique_ptr<PaneStep> TakeStep() { return std::move(step_); }

private:
    TForm1& window_;
    std::unique_ptr<PaneStep> step_;
};

void TForm1::BuildEditMenu() {
    History = new QUndoStack(this);
    History->setObjectName("History");
    auto* edit = new QMenu(QString::fromUtf8("П&равка"), this);
    edit->setObjectName("EditMenu");
    btnUndo = History->createUndoAction(edit, QString::fromUtf8("Отменить"));
    btnUndo->setObjectName("btnUndo");
    btnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    btnRedo = History->createRedoAction(edit, QString::fromUtf8("Повторить"));
    btnRedo->setObjectName("btnRedo");
    btnRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(btnUndo);
    edit->addAction(btnRedo);
    edit->addSeparator();
    btnCheck = edit->addAction(QString::fromUtf8("Проверить"), this, [this] { btnCheckClick(); });
    btnCheck->setObjectName("btnCheck");
    btnCheck->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    // Between "Файл" and "Помощь".
    const QList<QAction*> menus = menuBar()->actions();
    menuBar()->insertMenu(menus.value(1), edit);
}

void TForm1::Remember(PaneChanges& changes, const QString& label) {
    ForgetStaleHistory();
    if (!changes.step) return;
    const QString text = QString::fromStdString(StepText(*changes.step, label.toStdString()));
    History->push(new PaneCommand(*this, std::move(changes.step), text));
}

void TForm1::ForgetStaleHistory() {
    if (historyGeneration_ == right_.Generation()) return;
    // A save in which some records failed keeps the steps of those records.
    std::vector<std::unique_ptr<PaneStep>> done;
    std::unordered_map<const PaneStep*, QString> texts;
    for (int i = 0; i < History->index(); ++i) {
        auto* command = static_cast<PaneCommand*>(const_cast<QUndoCommand*>(History->command(i)));
        done.push_back(command->TakeStep());
        texts.emplace(done.back().get(), command->text());
    }
    History->clear();
    historyGeneration_ = right_.Generation();
    for (std::unique_ptr<PaneStep>& step : right_.KeepUnsavedSteps(std::move(done))) {
        // A drop cut down to its unsaved copies counts only those.
        const QString text = step->What() == PaneStep::Kind::Edit ? texts[step.get()]
                                                                   : QString::fromStdString(StepText(*step));
        History->push(new PaneCommand(*this, std::move(step), text));
    }
}

void TForm1::ShowStep(const PaneChanges& changes) {
    RightTree->setUpdatesEnabled(false);
    ShowChanges(changes);
    // An element that comes back may bring a voltage the list lacks, one
    // that leaves may take the one the filter stands on.
    const std::string filter = filters_.VoltageFilter;
    RefreshVoltageList();
    if (filters_.VoltageFilter != filter) ApplyFilters();
    RightTree->setUpdatesEnabled(true);
    UpdateSaveAsEnabled();
}

bool TForm1::Shows(const TXMLCustomClass& collection, const TBaseElement& record) const {
    return !collection.FilteredByVoltage() || filters_.PassesVoltageFilter(record.Unom, numbers_);
}

void TForm1::ShowRemovedAndAdded(const PaneChanges& changes) {
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root || (changes.removed.empty() && changes.added.empty())) return;
    std::unordered_map<const TXMLCustomClass*, QTreeWidgetItem*> categories;
    for (int c = 0; c < root->childCount(); ++c) categories.emplace(CollectionOf(root->child(c)), root->child(c));

    // How many nodes of each category change: a few are moved one by one, many in one pass.
    std::unordered_map<QTreeWidgetItem*, std::size_t> touched;
    std::vector<QTreeWidgetItem*> leaving;
    for (const TBaseElement* record : changes.removed) {
        const auto found = rightNodes_.find(record);
        if (found == rightNodes_.end()) continue;  // hidden by a filter
        ++touched[found->second->parent()];
        leaving.push_back(found->second);
        rightNodes_.erase(found);
    }
    std::vector<std::pair<QTreeWidgetItem*, TBaseElement*>> coming;
    for (TBaseElement* record : changes.added) {
        const auto category = categories.find(right_.Reference().GetCollection(right_.Reference().CategoryOf(*record)));
        if (category == categories.end() || !Shows(*CollectionOf(category->second), *record)) continue;
        ++touched[category->second];
        coming.emplace_back(category->second, record);
    }

    for (QTreeWidgetItem* node : leaving)
        if (touched[node->parent()] <= kFewNodes) delete node;
    for (const auto& [category, record] : coming) {
        if (touched[category] > kFewNodes) continue;
        // The node goes after the nodes of the records in front of it.
        const TXMLCustomClass& collection = *CollectionOf(category);
        int row = 0;
        for (int i = 0, at = collection.IndexOf(record); i < at; ++i)
            if (rightNodes_.count(collection.GetItem(i))) ++row;
        QTreeWidgetItem* node = NewElementNode(ScreenText(collection.Label(*record, numbers_)), record,
                                               ImageOfRecord(*record));
        category->insertChild(row, node);
        rightNodes_.emplace(record, node);
    }
    for (const auto& [category, count] : touched)
        if (count > kFewNodes) RebuildCategoryNodes(category);
}

void TForm1::RebuildCategoryNodes(QTreeWidgetItem* category) {
    const TXMLCustomClass& collection = *CollectionOf(category);
    QList<QTreeWidgetItem*> selected;
    for (int i = 0; i < category->childCount(); ++i)
        if (category->child(i)->isSelected()) selected.append(category->child(i));
    const QList<QTreeWidgetItem*> old = category->takeChildren();
    QList<QTreeWidgetItem*> nodes;
    std::unordered_set<const QTreeWidgetItem*> kept;
    for (int i = 0; i < collection.Count(); ++i) {
        TBaseElement* record = collection.GetItem(i);
        QTreeWidgetItem* node = NodeOf(record);
        if (!node) {
            if (!Shows(collection, *record)) continue;
            node = NewElementNode(ScreenText(collection.Label(*record, numbers_)), record, ImageOfRecord(*record));
            rightNodes_.emplace(record, node);
        }
        nodes.append(node);
        kept.insert(node);
    }
    // Nodes of records no longer in the collection go; their records are out of the pane.
    for (QTreeWidgetItem* node : old)
        if (!kept.count(node)) delete node;
    selected.removeIf([&](QTreeWidgetItem* node) { return !kept.count(node); });
    category->addChildren(nodes);
    static_cast<CatalogueTree*>(RightTree)->SelectNodes(selected);
}

}  // namespace kelm
