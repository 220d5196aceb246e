#include "decisions/merge.h"

#include <algorithm>
#include <string>
#include <unordered_map>

#include "decisions/comparison.h"

namespace kelm {
namespace {

// Each base record with its partner on one side.
using Partners = std::unordered_map<const TBaseElement*, const ElementPair*>;

Partners PartnersOf(const CategoryComparison& comparison) {
    Partners partners;
    partners.reserve(comparison.pairs.size());
    for (const ElementPair& pair : comparison.pairs) partners.emplace(pair.left, &pair);
    return partners;
}

const ElementPair* Find(const Partners& partners, const TBaseElement* record) {
    const auto found = partners.find(record);
    return found == partners.end() ? nullptr : found->second;
}

// What became of one base element on both sides.
void MergeBaseElement(const TXMLCustomClass& collection, int category, const TBaseElement* base,
                      const ElementPair* ours, const ElementPair* theirs, const std::vector<int>& compared,
                      std::vector<MergeElement>& elements) {
    const bool oursChanged = ours && ours->Changed();
    const bool theirsChanged = theirs && theirs->Changed();
    const TBaseElement* o = ours ? ours->right : nullptr;
    const TBaseElement* t = theirs ? theirs->right : nullptr;
    auto add = [&](MergeAction action, std::vector<int> fields) {
        elements.push_back({action, category, base, o, t, std::move(fields)});
    };
    if (o && t) {
        if (!theirsChanged) return;
        if (!oursChanged) return add(MergeAction::Take, DifferingFieldsOf(collection, *o, *t, compared));
        std::vector<int> disagree = DifferingFieldsOf(collection, *o, *t, compared);
        if (!disagree.empty()) add(MergeAction::Conflict, std::move(disagree));
    } else if (o) {
        if (oursChanged) return add(MergeAction::Conflict, ours->fields);
        add(MergeAction::Delete, {});
    } else if (t && theirsChanged) {
        add(MergeAction::Conflict, theirs->fields);
    }
}

}  // namespace

char ActionMark(MergeAction action) {
    switch (action) {
        case MergeAction::Add: return '+';
        case MergeAction::Take: return '~';
        case MergeAction::Delete: return '-';
        case MergeAction::Conflict: return '!';
    }
    return '?';
}

CatalogueMerge::CatalogueMerge(const TReference& base, const TReference& ours, const TReference& theirs) {
    for (int c = 0; c < ours.CategoryCount(); ++c) {
        const TXMLCustomClass* b = base.GetCollection(c);
        const TXMLCustomClass* o = ours.GetCollection(c);
        const TXMLCustomClass* t = theirs.GetCollection(c);
        if (!b || !o || !t) continue;
        const std::vector<int> compared = ComparedFields(*o);
        const CategoryComparison withOurs = PairCategory(*b, *o);
        const CategoryComparison withTheirs = PairCategory(*b, *t);
        const Partners oursOf = PartnersOf(withOurs), theirsOf = PartnersOf(withTheirs);
        for (int i = 0; i < b->Count(); ++i) {
            const TBaseElement* record = b->GetItem(i);
            if (record->Deleted == 1) continue;
            MergeBaseElement(*o, c, record, Find(oursOf, record), Find(theirsOf, record), compared, elements_);
        }
        // Added on both sides since the exchange: one element when the two
        // pair, and a conflict when they pair with other values.
        std::unordered_map<std::string, std::vector<const TBaseElement*>> addedByUs;
        for (const TBaseElement* record : withOurs.onlyRight) addedByUs[o->IdentityKey(*record)].push_back(record);
        for (const TBaseElement* record : withTheirs.onlyRight) {
            std::vector<const TBaseElement*>* candidates = nullptr;
            if (const auto found = addedByUs.find(o->IdentityKey(*record)); found != addedByUs.end())
                candidates = &found->second;
            const TBaseElement* partner = candidates ? ClosestPartner(*o, *record, *candidates) : nullptr;
            if (!partner) {
                elements_.push_back({MergeAction::Add, c, nullptr, nullptr, record, {}});
                continue;
            }
            candidates->erase(std::find(candidates->begin(), candidates->end(), partner));
            std::vector<int> disagree = DifferingFieldsOf(*o, *partner, *record, compared);
            if (!disagree.empty())
                elements_.push_back({MergeAction::Conflict, c, nullptr, partner, record, std::move(disagree)});
        }
    }
    for (std::size_t i = 0; i < elements_.size(); ++i) {
        if (!elements_[i].IsConflict()) continue;
        for (const TBaseElement* record : {elements_[i].ours, elements_[i].theirs})
            if (record) conflictOf_.emplace(record, i);
    }
}

int CatalogueMerge::ConflictCount() const {
    return static_cast<int>(std::count_if(elements_.begin(), elements_.end(), [](const MergeElement& e) {
        return e.IsConflict();
    }));
}

int CatalogueMerge::OpenConflictCount() const {
    return static_cast<int>(std::count_if(elements_.begin(), elements_.end(), [](const MergeElement& e) {
        return e.IsConflict() && e.decision == MergeDecision::Open;
    }));
}

const MergeElement* CatalogueMerge::ConflictOf(const TBaseElement& record) const {
    const auto found = conflictOf_.find(&record);
    return found == conflictOf_.end() ? nullptr : &elements_[found->second];
}

std::vector<std::size_t> CatalogueMerge::OpenConflictsOf(const std::vector<const TBaseElement*>& records) const {
    std::vector<std::size_t> conflicts;
    for (const TBaseElement* record : records)
        if (const auto found = conflictOf_.find(record); found != conflictOf_.end())
            if (elements_[found->second].decision == MergeDecision::Open) conflicts.push_back(found->second);
    std::sort(conflicts.begin(), conflicts.end());
    conflicts.erase(std::unique(conflicts.begin(), conflicts.end()), conflicts.end());
    return conflicts;
}

void CatalogueMerge::Decide(std::size_t element, MergeDecision decision) {
    MergeElement& chosen = elements_.at(element);
    if (chosen.IsConflict()) chosen.decision = decision;
}

void CatalogueMerge::DecideAll(MergeDecision decision) {
    for (std::size_t i = 0; i < elements_.size(); ++i) Decide(i, decision);
}

namespace {

PaneChanges Apply(RightPane& pane, const std::vector<const MergeElement*>& elements) {
    std::vector<const TBaseElement*> additions, deletions;
    std::vector<ElementUpdate> updates;
    for (const MergeElement* element : elements) {
        if (!element->ours) {
            if (element->theirs) additions.push_back(element->theirs);
        } else if (!element->theirs) {
            deletions.push_back(element->ours);
        } else {
            updates.push_back({element->ours, element->theirs});
        }
    }
    return pane.Merge(additions, updates, deletions);
}

}  // namespace

PaneChanges ApplyMerge(RightPane& pane, const CatalogueMerge& merge) {
    std::vector<const MergeElement*> changing;
    for (const MergeElement& element : merge.Elements())
        if (element.Changes()) changing.push_back(&element);
    return Apply(pane, changing);
}

PaneChanges Resolve(RightPane& pane, CatalogueMerge& merge, const std::vector<std::size_t>& conflicts,
                    MergeDecision decision) {
    std::vector<const MergeElement*> taken;
    for (std::size_t conflict : conflicts) {
        merge.Decide(conflict, decision);
        if (decision == MergeDecision::Theirs) taken.push_back(&merge.Elements().at(conflict));
    }
    return taken.empty() ? PaneChanges{} : Apply(pane, taken);
}

}  // namespace kelm
