#pragma once
// A catalogue tree view whose drops and keys are handled by the main window:
// a drop from the left tree onto the right one copies elements, it never
// moves tree items by itself. It shows its pane's model through its own filter.

#include <QTreeView>
#include <functional>
#include <initializer_list>
#include <unordered_set>
#include <utility>
#include <vector>

#include "workbench/catalogue_model.h"

namespace kelm {

class CatalogueTree : public QTreeView {
public:
    CatalogueTree(const QString& name, CatalogueFilter* filter);

    CatalogueFilter* Filter() const { return filter_; }
    CatalogueModel* Catalogue() const { return filter_->Catalogue(); }
    QModelIndex Root() const { return model()->index(0, 0); }
    // The shown node of a record, or none when the filters hide it.
    QModelIndex NodeOf(const TBaseElement* record) const {
        return filter_->mapFromSource(Catalogue()->IndexOf(record));
    }
    // Adds the nodes to the selection in one step.
    void SelectNodes(const QModelIndexList& nodes);
    // Makes `node` the only selected one and the current one, and shows it.
    void GoTo(const QModelIndex& node);
    // Expands again the root and the categories the user left expanded, when
    // a filter has hidden them in between.
    void RestoreExpansion();

    // Drops are taken only from this tree; none means no drops at all.
    QAbstractItemView* dropSource = nullptr;
    std::function<void(QAbstractItemView* source)> onDrop;
    std::function<void(int key)> onKeyUp;
    std::function<void(QMouseEvent* event)> onRightButton;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // Expands `node` and all below it that has rows of its own.
    void ExpandBelow(const QModelIndex& node);
    // A filter takes the rows it hides out of the selection; they come back
    // into it when the filter shows them again, unless the user has chosen
    // something else in between.
    void KeepSelectionThroughFilter();
    void RestoreSelectionAfterFilter();

    CatalogueFilter* filter_;
    std::unordered_set<const void*> expanded_;  // what the nodes carry
    std::vector<TBaseElement*> hiddenSelected_, selectedBeforeFilter_;
    bool filtering_ = false;
};

// What a view shows at its top, kept while rows come and go above it: a
// filter, a comparison or a change of the pane removes and inserts rows, and
// the view would otherwise stand on another element afterwards.
class KeptPlace {
public:
    explicit KeptPlace(std::initializer_list<CatalogueTree*> views);
    ~KeptPlace();
    KeptPlace(const KeptPlace&) = delete;
    KeptPlace& operator=(const KeptPlace&) = delete;

private:
    std::vector<std::pair<CatalogueTree*, QPersistentModelIndex>> tops_;
};

}  // namespace kelm
