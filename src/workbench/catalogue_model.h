#pragma once
// One pane's catalogue as an item model: the root, a row per category and a
// row per element in its collection's order. The rows hold the records'
// addresses and what is costly to ask a record for again (its label and
// comment for the screen); the image, the comparison's state and a check's
// mark are roles. The pane's changes arrive as row insertions, removals and
// data changes, so the views keep their expansion, selection and scrolling.
//
// The filters are a proxy per view: the type, the voltage, the use by the
// network, the found text and "только различия".

#include <QAbstractItemModel>
#include <QSortFilterProxyModel>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/reference.h"
#include "core/voltage_class.h"
#include "decisions/catalogue_check.h"
#include "decisions/comparison.h"

namespace kelm {

class NumberText;
struct PaneChanges;

enum NodeRole {
    DataRole = Qt::UserRole,  // the root's container, a category's collection, an element's record
    ImageRole,
    PresenceRole,
    LevelRole,
    ConflictRole,  // whether a merge left the element in conflict
};

class CatalogueModel : public QAbstractItemModel {
public:
    struct Element {
        TBaseElement* record;
        QString label, comment;
        Presence presence = Presence::Present;
        std::optional<Severity> mark;
        bool conflict = false;
    };
    struct Category {
        TXMLCustomClass* collection;
        QString caption;  // with the comparison's counts while comparing, and the conflicts
        std::vector<Element> elements;
        DifferenceCounts counts{};
        int conflicts = 0;
    };

    CatalogueModel(const QString& rootLabel, const NumberText& numbers, QObject* parent = nullptr);

    // A new catalogue altogether; none empties the model (a pane never opened).
    void Reset(TReference* reference);
    TReference* Reference() const { return reference_; }
    // Follows what an operation of the pane did to its records (a new
    // catalogue altogether is a Reset).
    void Follow(const PaneChanges& changes);
    // Gives every element its state in `comparison` (none: not comparing) and
    // every category its counts.
    void Compare(const CatalogueComparison* comparison);
    // A check's marks; an element not named loses its mark.
    void Mark(const std::unordered_map<const TBaseElement*, Severity>& marks);
    void Unmark(const TBaseElement* record);
    // The elements a merge left in conflict; the others lose the mark.
    void MarkConflicts(const std::unordered_set<const TBaseElement*>& conflicts);

    QModelIndex RootIndex() const { return reference_ ? createIndex(0, 0, quintptr(0)) : QModelIndex(); }
    QModelIndex IndexOf(const TBaseElement* record) const;
    QModelIndexList IndexesOf(const std::vector<TBaseElement*>& records) const;  // in tree order
    const Category* CategoryAt(const QModelIndex& index) const;  // of a category row
    const Element* ElementAt(const QModelIndex& index) const;    // of an element row

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& index) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    Element NewElement(const TXMLCustomClass& collection, TBaseElement* record) const;
    void Refresh(Element& element, const TXMLCustomClass& collection) const;
    void RemoveRecords(const std::unordered_set<const TBaseElement*>& removed);
    void InsertNewRecords(std::size_t category);
    void CategoryChanged(std::size_t category, int first, int last, const QList<int>& roles = {});
    int Level(const QModelIndex& index) const;
    void UpdateCaption(std::size_t category);

    QString rootLabel_;
    const NumberText& numbers_;
    TReference* reference_ = nullptr;
    std::vector<Category> categories_;
    bool comparing_ = false;
};

// What a view shows of its pane's model.
class CatalogueFilter : public QSortFilterProxyModel {
public:
    CatalogueFilter(const TreeFilters& filters, const NumberText& numbers, QObject* parent = nullptr);

    CatalogueModel* Catalogue() const { return static_cast<CatalogueModel*>(sourceModel()); }
    // The found text hides the elements whose label and comment lack it, and
    // the categories left without an element.
    void SetFind(const QString& text);
    const QString& Find() const { return find_; }
    // "только различия": elements present alike in the other pane are hidden,
    // except the `kept` ones (copies just dropped, to be seen where they went).
    // Both apply from the next Refilter.
    void SetOnlyDifferences(bool only);
    void Keep(std::unordered_set<const TBaseElement*> kept);
    // After a change of the type, voltage or network filter.
    void Refilter();
    // After the elements' states changed: a comparison changes many,
    // scattered among the rows, and tells them without refiltering row by row.
    void StatesChanged();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool Shows(const CatalogueModel::Category& category) const;

    const TreeFilters& filters_;
    const NumberText& numbers_;
    QString find_;
    bool onlyDifferences_ = false;
    std::unordered_set<const TBaseElement*> kept_;
};

}  // namespace kelm
