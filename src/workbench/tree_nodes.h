#pragma once
// The three levels of a catalogue tree and what each node carries: the root
// its pane's container, a category node its collection, an element node its
// record. A node's image tells loaded, copied and deleted elements apart.

#include <QTreeWidget>
#include <unordered_set>

#include "core/collection.h"
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

int NodeLevel(const QTreeWidgetItem* node);
TReference* ReferenceOf(const QTreeWidgetItem* root);
TXMLCustomClass* CollectionOf(const QTreeWidgetItem* category);
TBaseElement* RecordOf(const QTreeWidgetItem* element);

QTreeWidgetItem* NewRootNode(const QString& label, TReference* reference);
QTreeWidgetItem* NewCategoryNode(const QString& label, TXMLCustomClass* collection);
QTreeWidgetItem* NewElementNode(const QString& label, TBaseElement* record, int image);

// Before a node's pop-up menu opens: the node under the pointer becomes
// selected, alone unless it already was.
void SelectNodeUnder(QTreeWidget* tree, const QPoint& position);

// The image a record's node shows: deleted, a copy not yet saved, or loaded.
int ImageOfRecord(const TBaseElement& record);
int ImageOf(const QTreeWidgetItem* node);
void SetImage(QTreeWidgetItem* node, int image);
// How an element node shows its state in a comparison: absent in bold with a
// mark in its image, changed in a colour with a mark of its own, present as usual.
Presence PresenceOf(const QTreeWidgetItem* node);
void SetPresence(QTreeWidgetItem* node, Presence presence);

// Nodes counted in tree order from the root (an "absolute index").
int NodeCount(const QTreeWidget* tree);
QTreeWidgetItem* NodeAt(const QTreeWidget* tree, int absoluteIndex);
int AbsoluteIndex(const QTreeWidget* tree, const QTreeWidgetItem* node);

// What a user has made of a tree: which nodes are expanded and selected, the
// current one and the one at the top of the view, by what they carry, so
// that a rebuilt tree of the same catalogue can be put back as it was.
struct TreeViewState {
    std::unordered_set<const void*> expanded, selected;
    const void* current = nullptr;
    const void* top = nullptr;
    int scroll = 0;  // when the top node is no longer shown
};
TreeViewState SaveViewState(const QTreeWidget* tree);
void RestoreViewState(QTreeWidget* tree, const TreeViewState& state);

// The selected node the tree stands on (current if selected, else the first selected).
QTreeWidgetItem* SelectedNode(const QTreeWidget* tree);

}  // namespace kelm
