#include "decisions/comparison.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <tuple>
#include <utility>

namespace kelm {
namespace {

// Above this many candidate pairs in one identity, looking for the closest
// partner costs more than it tells: equal ones still pair first, the rest in order.
constexpr std::size_t kClosestCells = 4096;

// The kept records of both sides that share one identity, as collection indexes.
struct IdentityGroup {
    std::vector<int> left, right;
};

// Records of one identity on either side, each side in collection order.
using Records = std::vector<const TBaseElement*>;
using Pairing = std::vector<std::pair<std::size_t, std::size_t>>;  // (left position, right position)

int EqualFields(const TXMLCustomClass& collection, const TBaseElement& a, const TBaseElement& b,
                const std::vector<int>& fields) {
    int equal = 0;
    for (int field : fields) equal += collection.SameField(a, b, field);
    return equal;
}

// Most equal fields first (so equal records before all others), then in collection order.
void PairClosest(const TXMLCustomClass& collection, const Records& left, const Records& right,
                 const std::vector<int>& fields, Pairing& paired) {
    std::vector<std::tuple<int, std::size_t, std::size_t>> cells;  // (-equal fields, left, right)
    cells.reserve(left.size() * right.size());
    for (std::size_t l = 0; l < left.size(); ++l)
        for (std::size_t r = 0; r < right.size(); ++r)
            cells.emplace_back(-EqualFields(collection, *left[l], *right[r], fields), l, r);
    std::sort(cells.begin(), cells.end());
    std::vector<bool> usedLeft(left.size(), false), usedRight(right.size(), false);
    for (const auto& [negated, l, r] : cells) {
        if (usedLeft[l] || usedRight[r]) continue;
        usedLeft[l] = usedRight[r] = true;
        paired.emplace_back(l, r);
    }
}

// Pairs each left record with the first right one still free that holds
// equal values in every field, each side in collection order; the records
// left over go into `restLeft` and `restRight` as positions.
void PairEqual(const TXMLCustomClass& collection, const Records& left, const Records& right,
               const std::vector<int>& fields, Pairing& paired, std::vector<std::size_t>& restLeft,
               std::vector<std::size_t>& restRight) {
    struct Equal {
        std::vector<std::size_t> right;
        std::size_t next = 0;
    };
    std::unordered_map<std::string, Equal> rightByValues;
    for (std::size_t r = 0; r < right.size(); ++r) rightByValues[collection.ValuesKey(*right[r], fields)].right.push_back(r);
    std::vector<bool> rightUsed(right.size(), false);
    for (std::size_t l = 0; l < left.size(); ++l) {
        const auto found = rightByValues.find(collection.ValuesKey(*left[l], fields));
        if (found == rightByValues.end() || found->second.next == found->second.right.size()) {
            restLeft.push_back(l);
            continue;
        }
        const std::size_t r = found->second.right[found->second.next++];
        rightUsed[r] = true;
        paired.emplace_back(l, r);
    }
    for (std::size_t r = 0; r < right.size(); ++r)
        if (!rightUsed[r]) restRight.push_back(r);
}

// The one rule of pairing within an identity, for a whole category and for a
// single dropped element: equal records first, found by their values (which
// spares comparing every field of every candidate pair), then the closest,
// then, in a group too large to look for the closest, in collection order.
Pairing PairGroup(const TXMLCustomClass& collection, const Records& left, const Records& right,
                  const std::vector<int>& fields) {
    Pairing paired;
    if (left.empty() || right.empty()) return paired;
    if (left.size() == 1 && right.size() == 1) {
        paired.emplace_back(0, 0);
        return paired;
    }
    std::vector<std::size_t> restLeft, restRight;
    PairEqual(collection, left, right, fields, paired, restLeft, restRight);
    if (restLeft.empty() || restRight.empty()) return paired;
    if (restLeft.size() * restRight.size() > kClosestCells) {
        for (std::size_t i = 0; i < std::min(restLeft.size(), restRight.size()); ++i)
            paired.emplace_back(restLeft[i], restRight[i]);
        return paired;
    }
    Records otherLeft, otherRight;
    for (std::size_t l : restLeft) otherLeft.push_back(left[l]);
    for (std::size_t r : restRight) otherRight.push_back(right[r]);
    Pairing closest;
    PairClosest(collection, otherLeft, otherRight, fields, closest);
    for (const auto& [l, r] : closest) paired.emplace_back(restLeft[l], restRight[r]);
    return paired;
}

const std::vector<int> kNoFields;

}  // namespace

const char* PresenceText(Presence presence) {
    switch (presence) {
        case Presence::Present: return "есть";
        case Presence::Changed: return "изменён";
        case Presence::Absent: return "нет";
    }
    return "";
}

std::vector<int> ComparedFields(const TXMLCustomClass& collection) {
    std::vector<int> fields;
    for (int f = 0; f < collection.FieldCount(); ++f)
        if (!collection.Field(f).Is(RowId)) fields.push_back(f);
    return fields;
}

std::vector<int> DifferingFieldsOf(const TXMLCustomClass& collection, const TBaseElement& a, const TBaseElement& b,
                                   const std::vector<int>& fields) {
    std::vector<int> differing;
    for (int field : fields)
        if (!collection.SameField(a, b, field)) differing.push_back(field);
    return differing;
}

const TBaseElement* ClosestPartner(const TXMLCustomClass& collection, const TBaseElement& record,
                                   const std::vector<const TBaseElement*>& candidates) {
    // One candidate pairs without looking at a field.
    const Pairing paired = PairGroup(collection, {&record}, candidates,
                                     candidates.size() > 1 ? ComparedFields(collection) : std::vector<int>{});
    return paired.empty() ? nullptr : candidates[paired.front().second];
}

// Records meet through an index of their identities: one pass over each side.
CategoryComparison PairCategory(const TXMLCustomClass& left, const TXMLCustomClass& right) {
    const std::vector<int> fields = ComparedFields(left);
    std::vector<IdentityGroup> groups;
    std::unordered_map<std::string, std::size_t> groupOf;
    groupOf.reserve(static_cast<std::size_t>(left.Count()));
    auto gather = [&](const TXMLCustomClass& collection, bool leftSide) {
        for (int i = 0; i < collection.Count(); ++i) {
            const TBaseElement& record = *collection.GetItem(i);
            if (record.Deleted == 1) continue;
            const auto [place, added] = groupOf.try_emplace(collection.IdentityKey(record), groups.size());
            if (added) groups.emplace_back();
            IdentityGroup& group = groups[place->second];
            (leftSide ? group.left : group.right).push_back(i);
        }
    };
    gather(left, true);
    gather(right, false);

    CategoryComparison result;
    std::vector<std::pair<int, int>> paired;  // (left index, right index)
    std::vector<bool> leftPaired(static_cast<std::size_t>(left.Count()), false);
    std::vector<bool> rightPaired(static_cast<std::size_t>(right.Count()), false);
    auto records = [](const TXMLCustomClass& collection, const std::vector<int>& indexes) {
        Records list;
        list.reserve(indexes.size());
        for (int i : indexes) list.push_back(collection.GetItem(i));
        return list;
    };
    for (const IdentityGroup& group : groups) {
        if (group.left.empty() || group.right.empty()) continue;
        for (const auto& [l, r] : PairGroup(left, records(left, group.left), records(right, group.right), fields))
            paired.emplace_back(group.left[l], group.right[r]);
    }
    std::sort(paired.begin(), paired.end());
    result.pairs.reserve(paired.size());
    for (const auto& [l, r] : paired) {
        leftPaired[static_cast<std::size_t>(l)] = rightPaired[static_cast<std::size_t>(r)] = true;
        ElementPair pair{left.GetItem(l), right.GetItem(r), {}};
        pair.fields = DifferingFieldsOf(left, *pair.left, *pair.right, fields);
        result.changed += pair.Changed();
        result.pairs.push_back(std::move(pair));
    }
    auto unpaired = [](const TXMLCustomClass& collection, const std::vector<bool>& pairedHere,
                       std::vector<const TBaseElement*>& only) {
        for (int i = 0; i < collection.Count(); ++i)
            if (!pairedHere[static_cast<std::size_t>(i)] && collection.GetItem(i)->Deleted != 1)
                only.push_back(collection.GetItem(i));
    };
    unpaired(left, leftPaired, result.onlyLeft);
    unpaired(right, rightPaired, result.onlyRight);
    // Every kept record without a partner is absent, the rest present until a pair says otherwise.
    auto states = [](const TXMLCustomClass& collection, const std::vector<bool>& pairedHere) {
        std::vector<Presence> of(pairedHere.size(), Presence::Present);
        for (std::size_t i = 0; i < of.size(); ++i)
            if (!pairedHere[i] && collection.GetItem(static_cast<int>(i))->Deleted != 1) of[i] = Presence::Absent;
        return of;
    };
    result.leftStates = states(left, leftPaired);
    result.rightStates = states(right, rightPaired);
    for (std::size_t p = 0; p < result.pairs.size(); ++p)
        if (result.pairs[p].Changed())
            result.leftStates[static_cast<std::size_t>(paired[p].first)] =
                result.rightStates[static_cast<std::size_t>(paired[p].second)] = Presence::Changed;
    result.leftCollection = &left;
    result.rightCollection = &right;
    return result;
}

CatalogueComparison::CatalogueComparison(const TReference& left, const TReference& right)
    : CatalogueComparison(left, right, true) {}

CatalogueComparison::CatalogueComparison(const TReference& left, const TReference& right, bool compareNow) {
    const int categories = std::max(left.CategoryCount(), right.CategoryCount());
    categories_.resize(static_cast<std::size_t>(categories));
    std::size_t records = 0;
    for (const TReference* side : {&left, &right})
        for (int c = 0; c < side->CategoryCount(); ++c)
            if (const TXMLCustomClass* collection = side->GetCollection(c))
                records += static_cast<std::size_t>(collection->Count());
    places_.reserve(records);
    if (compareNow)
        for (int c = 0; c < categories; ++c) CompareCategory(left, right, c);
}

void CatalogueComparison::CompareCategory(const TReference& left, const TReference& right, int c) {
    const TXMLCustomClass* l = left.GetCollection(c);
    const TXMLCustomClass* r = right.GetCollection(c);
    if (!l || !r) return;
    CategoryComparison& category = categories_[static_cast<std::size_t>(c)];
    category = PairCategory(*l, *r);
    for (std::size_t p = 0; p < category.pairs.size(); ++p) {
        places_.emplace(category.pairs[p].left, Place{c, static_cast<int>(p)});
        places_.emplace(category.pairs[p].right, Place{c, static_cast<int>(p)});
    }
    for (const auto* only : {&category.onlyLeft, &category.onlyRight})
        for (const TBaseElement* record : *only) places_.emplace(record, Place{c, -1});
}

const std::vector<Presence>* CatalogueComparison::StatesIn(const TXMLCustomClass& collection) const {
    for (const CategoryComparison& category : categories_) {
        if (category.leftCollection == &collection) return &category.leftStates;
        if (category.rightCollection == &collection) return &category.rightStates;
    }
    return nullptr;
}

const ElementPair* CatalogueComparison::PairOf(const TBaseElement& record) const {
    const auto found = places_.find(&record);
    if (found == places_.end() || found->second.pair < 0) return nullptr;
    return &categories_[static_cast<std::size_t>(found->second.category)].pairs[static_cast<std::size_t>(found->second.pair)];
}

Presence CatalogueComparison::StateOf(const TBaseElement& record) const {
    const auto found = places_.find(&record);
    if (found == places_.end()) return Presence::Present;
    if (found->second.pair < 0) return Presence::Absent;
    return PairOf(record)->Changed() ? Presence::Changed : Presence::Present;
}

const TBaseElement* CatalogueComparison::PartnerOf(const TBaseElement& record) const {
    const ElementPair* pair = PairOf(record);
    if (!pair) return nullptr;
    return pair->left == &record ? pair->right : pair->left;
}

const std::vector<int>& CatalogueComparison::DifferingFields(const TBaseElement& record) const {
    const ElementPair* pair = PairOf(record);
    return pair ? pair->fields : kNoFields;
}

bool CatalogueComparison::Same() const {
    return std::all_of(categories_.begin(), categories_.end(), [](const CategoryComparison& c) { return c.Same(); });
}

ComparisonInSteps::ComparisonInSteps(const TReference& left, const TReference& right)
    : left_(left), right_(right), comparison_(new CatalogueComparison(left, right, false)) {}

void ComparisonInSteps::CompareNext() {
    if (Complete()) return;
    comparison_->CompareCategory(left_, right_, next_++);
}

std::unique_ptr<CatalogueComparison> ComparisonInSteps::Finish() {
    while (!Complete()) CompareNext();
    return std::move(comparison_);
}

}  // namespace kelm
