#include "workbench/catalogue_tree.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>

namespace kelm {

CatalogueTree::CatalogueTree(const QString& name) {
    setObjectName(name);
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(19);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    // Long labels are shown whole, with a horizontal scroll bar, not cut short.
    setTextElideMode(Qt::ElideNone);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The selection stays visible when the tree loses the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

void CatalogueTree::SelectNodes(const QList<QTreeWidgetItem*>& nodes) {
    // One range per run of neighbouring rows: a selection grown node by node
    // is merged anew each time.
    const QSet<QTreeWidgetItem*> chosen(nodes.begin(), nodes.end());
    QSet<QTreeWidgetItem*> parents;
    for (QTreeWidgetItem* node : nodes) parents.insert(node->parent() ? node->parent() : invisibleRootItem());
    QItemSelection selection;
    for (QTreeWidgetItem* parent : parents) {
        for (int row = 0; row < parent->childCount(); ++row) {
            if (!chosen.contains(parent->child(row))) continue;
            const int first = row;
            while (row + 1 < parent->childCount() && chosen.contains(parent->child(row + 1))) ++row;
            selection.select(indexFromItem(parent->child(first)), indexFromItem(parent->child(row)));
        }
    }
    selectionModel()->select(selection, QItemSelectionModel::Select);
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
    QTreeWidget::keyReleaseEvent(event);
    if (onKeyUp && !event->isAutoRepeat()) onKeyUp(event->key());
}

void CatalogueTree::mousePressEvent(QMouseEvent* event) {
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::RightButton && onRightButton) onRightButton(event);
}

}  // namespace kelm
