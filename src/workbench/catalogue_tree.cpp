#include "workbench/catalogue_tree.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <map>
#include <vector>

#include "workbench/tree_nodes.h"

namespace kelm {

CatalogueTree::CatalogueTree(const QString& name, CatalogueFilter* filter) : filter_(filter) {
    setObjectName(name);
    setModel(filter);
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex& node) {
        expanded_.insert(node.data(DataRole).value<void*>());
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& node) {
        expanded_.erase(node.data(DataRole).value<void*>());
    });
    connect(filter, &QAbstractItemModel::modelReset, this, [this] { expanded_.clear(); });
    connect(filter, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { KeepSelectionThroughFilter(); });
    connect(filter, &QAbstractItemModel::layoutChanged, this, [this] { RestoreSelectionAfterFilter(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!filtering_) hiddenSelected_.clear();
    });
    // Records that went may be freed: none of them is to be selected again.
    connect(filter->sourceModel(), &QAbstractItemModel::rowsRemoved, this, [this] { hiddenSelected_.clear(); });
    connect(filter->sourceModel(), &QAbstractItemModel::modelReset, this, [this] { hiddenSelected_.clear(); });
    setHeaderHidden(true);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    // Long labels are shown whole, with a horizontal scroll bar, not cut short.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Measured on the rows in view only: every change of a row would measure
    // a thousand labels otherwise.
    header()->setResizeContentsPrecision(0);
    // The selection stays visible when the tree loses the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void CatalogueTree::SelectNodes(const QModelIndexList& nodes) {
    // One range per run of neighbouring rows: a selection grown node by node
    // is merged anew each time.
    std::map<QModelIndex, std::vector<int>> rows;
    for (const QModelIndex& node : nodes) rows[node.parent()].push_back(node.row());
    QItemSelection selection;
    for (auto& [parent, chosen] : rows) {
        std::sort(chosen.begin(), chosen.end());
        for (std::size_t i = 0; i < chosen.size(); ++i) {
            const std::size_t first = i;
            while (i + 1 < chosen.size() && chosen[i + 1] <= chosen[i] + 1) ++i;
            selection.select(model()->index(chosen[first], 0, parent), model()->index(chosen[i], 0, parent));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::Select);
}

void CatalogueTree::RestoreExpansion() {
    const QModelIndex root = Root();
    if (!root.isValid() || expanded_.empty()) return;
    auto restore = [this](const QModelIndex& node) {
        if (!isExpanded(node) && expanded_.count(node.data(DataRole).value<void*>())) expand(node);
    };
    restore(root);
    for (int c = 0; c < model()->rowCount(root); ++c) restore(model()->index(c, 0, root));
}

void CatalogueTree::KeepSelectionThroughFilter() {
    filtering_ = true;
    selectedBeforeFilter_ = hiddenSelected_;
    for (const QModelIndex& node : selectionModel()->selectedRows())
        if (NodeLevel(node) == 2) selectedBeforeFilter_.push_back(RecordOf(node));
}

void CatalogueTree::RestoreSelectionAfterFilter() {
    hiddenSelected_.clear();
    QModelIndexList shown;
    for (const QModelIndex& source : Catalogue()->IndexesOf(selectedBeforeFilter_)) {
        const QModelIndex node = filter_->mapFromSource(source);
        if (!node.isValid())
            hiddenSelected_.push_back(Catalogue()->ElementAt(source)->record);
        else if (!selectionModel()->isSelected(node))
            shown.append(node);
    }
    selectedBeforeFilter_.clear();
    SelectNodes(shown);
    filtering_ = false;
}

void CatalogueTree::keyPressEvent(QKeyEvent* event) {
    // Qt's own "*" marks every row expanded, the elements too, and a view
    // keeping an index per element makes every later filter change crawl.
    if (event->key() == Qt::Key_Asterisk && currentIndex().isValid()) {
        ExpandBelow(currentIndex());
        return;
    }
    QTreeView::keyPressEvent(event);
}

void CatalogueTree::ExpandBelow(const QModelIndex& node) {
    if (!model()->hasChildren(node)) return;
    expand(node);
    for (int row = 0; row < model()->rowCount(node); ++row) ExpandBelow(model()->index(row, 0, node));
}

void CatalogueTree::GoTo(const QModelIndex& node) {
    if (!node.isValid()) return;
    selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
    scrollTo(node);
}

void CatalogueTree::dragEnterEvent(QDragEnterEvent* event) {
    if (dropSource && event->source() == dropSource)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CatalogueTree::dragMoveEvent(QDragMoveEvent* event) {
    if (dropSource && event->source() == dropSource)
        event->acceptProposedAction();
    else
        event->ignore();
}

void CatalogueTree::dropEvent(QDropEvent* event) {
    if (!dropSource || event->source() != dropSource) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    if (onDrop) onDrop(dropSource);
}

void CatalogueTree::keyReleaseEvent(QKeyEvent* event) {
    QTreeView::keyReleaseEvent(event);
    if (onKeyUp && !event->isAutoRepeat()) onKeyUp(event->key());
}

void CatalogueTree::mousePressEvent(QMouseEvent* event) {
    QTreeView::mousePressEvent(event);
    if (event->button() == Qt::RightButton && onRightButton) onRightButton(event);
}

KeptPlace::KeptPlace(std::initializer_list<CatalogueTree*> views) {
    for (CatalogueTree* view : views) tops_.emplace_back(view, view->indexAt(QPoint(0, 0)));
}

KeptPlace::~KeptPlace() {
    for (const auto& [view, top] : tops_) {
        view->RestoreExpansion();
        if (top.isValid()) view->scrollTo(top, QAbstractItemView::PositionAtTop);
    }
}

}  // namespace kelm
