#pragma once
// Two loaded catalogues side by side, value by value. In each category an
// element of one catalogue pairs with the element of the other that has the
// same identity; where several share one identity, equal ones pair first,
// then the closest (most equal fields), then in collection order. A paired
// element is "есть" when every field is equal, comment included, and
// "изменён" with the fields that differ otherwise; an element without a
// partner is "нет". A record marked deleted is as good as gone on both sides:
// it pairs with nothing and has no state of its own. Row identifiers mean
// nothing in another catalogue and never take part.

#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/collection.h"
#include "core/reference.h"

namespace kelm {

enum class Presence : std::uint8_t { Present, Changed, Absent };

// "есть", "изменён", "нет".
const char* PresenceText(Presence presence);

// The elements of one category of one catalogue that differ from the other.
struct DifferenceCounts {
    int absent = 0;
    int changed = 0;

    bool None() const { return absent == 0 && changed == 0; }
};

// An element of the left catalogue with its partner on the right.
struct ElementPair {
    const TBaseElement* left;
    const TBaseElement* right;
    std::vector<int> fields;  // the fields whose values differ, in the table's order

    bool Changed() const { return !fields.empty(); }
};

// One category of both catalogues, paired.
struct CategoryComparison {
    std::vector<ElementPair> pairs;                 // in the left collection's order
    std::vector<const TBaseElement*> onlyLeft;      // in collection order
    std::vector<const TBaseElement*> onlyRight;     // in collection order
    int changed = 0;                                // pairs with a differing field
    // Each record's state by its index in its collection (Present for one marked deleted).
    std::vector<Presence> leftStates, rightStates;
    const TXMLCustomClass* leftCollection = nullptr;
    const TXMLCustomClass* rightCollection = nullptr;

    DifferenceCounts LeftCounts() const { return {static_cast<int>(onlyLeft.size()), changed}; }
    DifferenceCounts RightCounts() const { return {static_cast<int>(onlyRight.size()), changed}; }
    bool Same() const { return changed == 0 && onlyLeft.empty() && onlyRight.empty(); }
};

// The fields of a category that a comparison looks at: all but row identifiers.
std::vector<int> ComparedFields(const TXMLCustomClass& collection);
// Those of `fields` in which two records of the collection's category differ.
std::vector<int> DifferingFieldsOf(const TXMLCustomClass& collection, const TBaseElement& a, const TBaseElement& b,
                                   const std::vector<int>& fields);

// Of `candidates`, kept records of `collection` with the identity of
// `record` (a record of its category from another catalogue) in collection
// order, the one `record` pairs with; none without candidates.
const TBaseElement* ClosestPartner(const TXMLCustomClass& collection, const TBaseElement& record,
                                   const std::vector<const TBaseElement*>& candidates);

// Pairs the kept records of two collections of one category.
CategoryComparison PairCategory(const TXMLCustomClass& left, const TXMLCustomClass& right);

class CatalogueComparison {
public:
    // Compares every category of `left` with the same category of `right`.
    // The states are those of this moment: records changed, added or freed
    // afterwards call for a new comparison.
    CatalogueComparison(const TReference& left, const TReference& right);

    // The state of a record of either catalogue (Present for a deleted one).
    Presence StateOf(const TBaseElement& record) const;
    // The record of the other catalogue paired with `record`, or none.
    const TBaseElement* PartnerOf(const TBaseElement& record) const;
    // The fields in which `record` and its partner differ (none without a partner).
    const std::vector<int>& DifferingFields(const TBaseElement& record) const;

    int CategoryCount() const { return static_cast<int>(categories_.size()); }
    const CategoryComparison& Category(int category) const { return categories_.at(static_cast<std::size_t>(category)); }
    DifferenceCounts LeftCounts(int category) const { return Category(category).LeftCounts(); }
    DifferenceCounts RightCounts(int category) const { return Category(category).RightCounts(); }
    // Whether no element of either catalogue differs.
    bool Same() const;
    // The states of the records of a compared collection of either catalogue
    // by their indexes, or none for a collection not compared.
    const std::vector<Presence>* StatesIn(const TXMLCustomClass& collection) const;

private:
    friend class ComparisonInSteps;
    CatalogueComparison(const TReference& left, const TReference& right, bool compareNow);
    void CompareCategory(const TReference& left, const TReference& right, int category);

    // Where a kept record stands: its category and its pair, -1 when it has none.
    struct Place {
        int category;
        int pair;
    };
    const ElementPair* PairOf(const TBaseElement& record) const;

    std::vector<CategoryComparison> categories_;
    std::unordered_map<const TBaseElement*, Place> places_;
};

// A comparison made a category at a time, so that a window can compare
// while the user does nothing and have it ready when asked. The catalogues
// must not change between the steps.
class ComparisonInSteps {
public:
    ComparisonInSteps(const TReference& left, const TReference& right);
    bool Complete() const { return next_ == comparison_->CategoryCount(); }
    void CompareNext();
    // The comparison, with what is left compared now.
    std::unique_ptr<CatalogueComparison> Finish();

private:
    const TReference& left_;
    const TReference& right_;
    int next_ = 0;
    std::unique_ptr<CatalogueComparison> comparison_;
};

}  // namespace kelm
