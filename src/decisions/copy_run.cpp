#include "decisions/copy_run.h"

namespace kelm {

std::optional<int>& CopyRun::RememberedFor(DuplicateGroup group) {
    switch (group) {
        case DuplicateGroup::Lines: return LinesAnswer;
        case DuplicateGroup::Transformers: return TransformersAnswer;
        default: return OthersAnswer;
    }
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

CopyOutcome CopyRun::CopyRecord(TXMLCustomClass& target, const TBaseElement& record, const std::string& label) {
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
