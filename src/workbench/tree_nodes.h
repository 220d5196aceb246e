#pragma once
// The three levels of a catalogue tree and what each node carries: the root
// its pane's container, a category node its collection, an element node its
// record. A node's image tells loaded, copied and deleted elements apart.
// Nodes are the indexes of a tree's model, read through their roles.

#include <QAbstractItemView>
#include <QIcon>
#include <QModelIndex>

#include "core/collection.h"
#include "core/field.h"
#include "core/reference.h"
#include "decisions/comparison.h"

namespace kelm {

enum TreeImage {
    ImageLoaded = 0,
    ImageCopied = 1,
    ImageRoot = 2,  // 3 when selected
    ImageCategory = 4,  // 5 when selected
    ImageDeleted = 6,
};

// The image a record's node shows: deleted, a copy not yet saved, or loaded.
int ImageOfRecord(const TBaseElement& record);
// Each node shows its image, and for the root and categories the selected
// variant while it is selected; an element's state in a comparison adds a mark:
// absent in bold with a dot, changed in a colour with a diamond.
QIcon NodeIcon(int image, Presence presence);
QVariant NodeFont(Presence presence);
QVariant NodeColour(Presence presence);
QColor MarkColour(Severity severity);  // a check's finding

int NodeLevel(const QModelIndex& node);  // -1 for none
TReference* ReferenceOf(const QModelIndex& root);
TXMLCustomClass* CollectionOf(const QModelIndex& category);
TBaseElement* RecordOf(const QModelIndex& element);
int ImageOf(const QModelIndex& node);
Presence PresenceOf(const QModelIndex& node);

// Before a node's pop-up menu opens: the node under the pointer becomes
// selected, alone unless it already was.
void SelectNodeUnder(QAbstractItemView* tree, const QPoint& position);
// The selected node the tree stands on (current if selected, else the first selected).
QModelIndex SelectedNode(const QAbstractItemView* tree);

// The element after `from` in tree order (before it when `backwards`), round
// again past the last (the first); from no node or the root the first (the
// last) element. None when the tree shows no element.
QModelIndex NextElement(const QAbstractItemModel& model, const QModelIndex& from, bool backwards);

}  // namespace kelm
