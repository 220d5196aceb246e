#pragma once
// Two installations exchanged a catalogue and both changed their copy since.
// The merge brings their changes into ours: BASE is the catalogue as it was
// at the exchange, OURS and THEIRS the two copies now. Elements pair by
// identity, as a comparison pairs them, and values compare by the one rule
// of equal values. What only they changed comes over, what only we changed
// stays; where both changed one element differently, or one deleted what the
// other changed, the element is a conflict, left as ours has it until it is
// decided.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/reference.h"
#include "decisions/right_pane.h"

namespace kelm {

enum class MergeAction : std::uint8_t {
    Add,      // new in theirs, or (a conflict decided theirs) deleted by us
    Take,     // changed by them only: ours takes their values in place
    Delete,   // deleted by them, unchanged by us
    Conflict  // changed by both differently, or deleted by one and changed by the other
};

// How a list marks the action: '+', '~', '-', '!'.
char ActionMark(MergeAction action);

enum class MergeDecision : std::uint8_t { Open, Ours, Theirs };

// One element the merge has something to say about.
struct MergeElement {
    MergeAction action;
    int category;
    const TBaseElement* base;    // none: added since the exchange
    const TBaseElement* ours;    // none: not (or no longer) in ours
    const TBaseElement* theirs;  // none: not (or no longer) in theirs
    // Take: the fields their values change in ours. Conflict: the fields in
    // which the two sides disagree (with a side gone: the fields it changed).
    std::vector<int> fields;
    MergeDecision decision = MergeDecision::Open;  // conflicts only

    bool IsConflict() const { return action == MergeAction::Conflict; }
    // What the element does to ours: a conflict as it is decided; Open and Ours change nothing.
    bool Changes() const { return !IsConflict() || decision == MergeDecision::Theirs; }
    // The element of ours, or else of theirs, or else of the base, to name it by.
    const TBaseElement& Shown() const { return ours ? *ours : theirs ? *theirs : *base; }
};

class CatalogueMerge {
public:
    // `ours` is the catalogue the merge is applied to: its records are the
    // ones updated and deleted. The three stay as they are until Apply.
    CatalogueMerge(const TReference& base, const TReference& ours, const TReference& theirs);

    // Per category in category order; within one, base elements in base
    // order, then those added in theirs.
    const std::vector<MergeElement>& Elements() const { return elements_; }
    int ConflictCount() const;
    int OpenConflictCount() const;
    // The conflict of `record`, an element of either ours or theirs; none when it has none.
    const MergeElement* ConflictOf(const TBaseElement& record) const;

    // The open conflicts of `records` (elements of ours or theirs), each once, in merge order.
    std::vector<std::size_t> OpenConflictsOf(const std::vector<const TBaseElement*>& records) const;
    void Decide(std::size_t element, MergeDecision decision);
    void DecideAll(MergeDecision decision);

private:
    std::vector<MergeElement> elements_;
    std::unordered_map<const TBaseElement*, std::size_t> conflictOf_;  // ours and theirs records of conflicts
};

// Applies every element that changes ours to `pane`, whose catalogue is the
// merge's ours, as one step: the additions as copies, the values taken in
// place (identifiers kept) and the deletions, where the network use may
// refuse some (they are among the changes' refused ones).
PaneChanges ApplyMerge(RightPane& pane, const CatalogueMerge& merge);
// Decides `conflicts` (indexes of the merge's elements) after the merge was
// applied; decided theirs, they are brought into `pane` as one step.
PaneChanges Resolve(RightPane& pane, CatalogueMerge& merge, const std::vector<std::size_t>& conflicts,
                    MergeDecision decision);

}  // namespace kelm
