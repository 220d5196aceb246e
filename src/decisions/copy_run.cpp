#include "decisions/copy_run.h"

#include <algorithm>

#include "decisions/comparison.h"

namespace kelm {

std::string UpdateQuestion::Text() const {
    std::string text = label + " отличается: ";
    for (std::size_t i = 0; i < fields.size(); ++i) text += (i > 0 ? "; " : "") + fields[i];
    return text;
}

std::unique_ptr<TBaseElement> TakeValues(TXMLCustomClass& collection, TBaseElement& record,
                                         const TBaseElement& values) {
    std::unique_ptr<TBaseElement> before = collection.Clone(record);
    const std::unique_ptr<TBaseElement> taken = collection.Clone(values);
    taken->Ident = record.Ident;
    collection.WriteValues(record, *taken);
    record.Added = 1;
    return before;
}

std::optional<int>& CopyRun::RememberedFor(DuplicateGroup group) {
    switch (group) {
        case DuplicateGroup::Lines: return LinesAnswer;
        case DuplicateGroup::Transformers: return TransformersAnswer;
        default: return OthersAnswer;
    }
}

std::optional<int>& CopyRun::RememberedUpdateFor(DuplicateGroup group) {
    switch (group) {
        case DuplicateGroup::Lines: return LinesUpdate;
        case DuplicateGroup::Transformers: return TransformersUpdate;
        default: return OthersUpdate;
    }
}

// Each record of the target pairs with one dropped element at most, as in a
// comparison: a second element of the same type finds the next one, or none.
// Copies made by the drop are paired with their sources and never offered.
TBaseElement* CopyRun::TakePartner(TXMLCustomClass& target, const TBaseElement& record,
                                   const std::vector<int>*& fields) {
    const auto [place, fresh] = unpaired_.try_emplace(&target);
    Unpaired& unpaired = place->second;
    if (fresh) {
        unpaired.fields = ComparedFields(target);
        for (int i = 0; i < target.Count(); ++i) {
            TBaseElement* kept = target.GetItem(i);
            if (kept->Deleted != 1) unpaired.byIdentity[target.IdentityKey(*kept)].push_back(kept);
        }
    }
    fields = &unpaired.fields;
    // Nothing joins the index during a drop: a target that had nothing has no partners.
    if (unpaired.byIdentity.empty()) return nullptr;
    const auto found = unpaired.byIdentity.find(target.IdentityKey(record));
    if (found == unpaired.byIdentity.end() || found->second.empty()) return nullptr;
    std::vector<TBaseElement*>& candidates = found->second;
    const TBaseElement* partner =
        ClosestPartner(target, record, std::vector<const TBaseElement*>(candidates.begin(), candidates.end()));
    const auto taken = std::find(candidates.begin(), candidates.end(), partner);
    TBaseElement* chosen = *taken;
    candidates.erase(taken);
    return chosen;
}

CopyOutcome CopyRun::CopyRecord(TXMLCustomClass& target, const TBaseElement& record, const std::string& label) {
    const std::vector<int>* fields = nullptr;
    if (TBaseElement* partner = TakePartner(target, record, fields)) {
        // A partner that differs in its comment alone is a duplicate as before.
        const std::vector<int> differing = DifferingFieldsOf(target, record, *partner, *fields);
        const bool inValue = std::any_of(differing.begin(), differing.end(),
                                         [&](int field) { return field != target.CommentField(); });
        if (inValue) return Correct(target, record, *partner, differing, label);
    }
    return CopyAsDuplicate(target, record, label);
}

CopyOutcome CopyRun::Correct(TXMLCustomClass& target, const TBaseElement& record, TBaseElement& partner,
                             const std::vector<int>& differing, const std::string& label) {
    const DuplicateGroup group = target.Group();
    auto* commented = group == DuplicateGroup::Others ? nullptr : dynamic_cast<TXMLClass*>(&target);
    UpdateQuestion question{label, {}, group, false};
    question.duplicate = (commented ? commented->FindSameWithComment(record) : target.FindSame(record)) != nullptr;
    for (int field : differing) question.fields.emplace_back(target.Field(field).caption);

    std::optional<int>& remembered = RememberedUpdateFor(group);
    int answer = remembered.value_or(Dismissed);
    if (!remembered) {
        const ChoiceResult choice = questions_.AskUpdate(question);
        answer = choice.answer;
        if (answer > 0 && choice.rememberForGroup) remembered = answer;
    }
    if (answer == AddPlainCopy && question.CopyAllowed()) return Add(target, record);
    if (answer != Update) return {};
    CopyOutcome outcome;
    outcome.before = TakeValues(target, partner, record);
    outcome.updated = &partner;
    return outcome;
}

CopyOutcome CopyRun::Add(TXMLCustomClass& target, const TBaseElement& record) {
    CopyOutcome outcome;
    outcome.copy = target.AddCopy(record, outcome.position);
    return outcome;
}

// A copy carrying another comment than its source's.
CopyOutcome CopyRun::AddWith(TXMLCustomClass& target, const TBaseElement& record, const std::string& comment) {
    const std::unique_ptr<TBaseElement> commented = target.Clone(record);
    target.SetCommentOf(*commented, comment);
    return Add(target, *commented);
}

CopyOutcome CopyRun::CopyAsDuplicate(TXMLCustomClass& target, const TBaseElement& record, const std::string& label) {
    const DuplicateGroup group = target.Group();
    auto* commented = group == DuplicateGroup::Others ? nullptr : dynamic_cast<TXMLClass*>(&target);
    const TBaseElement* found = commented ? commented->FindSameWithComment(record) : target.FindSame(record);
    if (!found) return Add(target, record);

    std::optional<int>& remembered = RememberedFor(group);
    int answer = -1;
    if (!remembered) {
        const ChoiceResult choice = questions_.AskDuplicate(label, group);
        answer = choice.answer;
        if (answer > 0 && choice.rememberForGroup) remembered = answer;
    }
    const int rememberedAnswer = remembered.value_or(-1);
    if (answer <= Skip && rememberedAnswer <= Skip) return {};
    if (!commented || answer == AddPlainCopy || rememberedAnswer == AddPlainCopy) return Add(target, record);

    // Add with a comment.
    std::string initial = LastComment;
    const auto distinct = [&](const std::string& comment) {
        return commented->FindSameWithComment(record, comment) == nullptr;
    };
    if (answer == AddWithComment) {
        initial = target.CommentOf(record);
    } else if (distinct(LastComment)) {
        // The remembered comment applies silently when it makes the element distinct.
        return AddWith(target, record, LastComment);
    }
    const CommentResult result = questions_.AskComment(initial, distinct);
    switch (result.kind) {
        case CommentResult::Save:
            if (answer == AddWithComment) LastComment = result.comment;
            return AddWith(target, record, result.comment);
        case CommentResult::Abort:
            abort_ = true;
            return {};
        default:
            return {};
    }
}

}  // namespace kelm
