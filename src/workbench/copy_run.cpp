#include "workbench/copy_run.h"

#include <cstring>

#include "catalogues/provods.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"
#include "catalogues/transforms3.h"
#include "catalogues/transforms_ss.h"

namespace kelm {
namespace {

// The records that carry a comment, by their comment field.
std::string* CommentField(TBaseElement& record) {
    if (auto* r = dynamic_cast<TProvod*>(&record)) return &r->AddStr;
    if (auto* r = dynamic_cast<TTransform*>(&record)) return &r->AddStr;
    if (auto* r = dynamic_cast<TTransform3Values*>(&record)) return &r->AddStr;  // three-winding and auto
    if (auto* r = dynamic_cast<TTransformSS*>(&record)) return &r->AddStr;
    if (auto* r = dynamic_cast<TSwitchGR*>(&record)) return &r->AddStr;
    return nullptr;
}

// Holds a record's comment aside and puts it back, so that asking "would
// this comment make it distinct?" leaves the record as it was.
class CommentTrial {
public:
    explicit CommentTrial(TBaseElement& record) : record_(record), kept_(GetComment(record)) {}
    ~CommentTrial() { SetComment(record_, kept_); }
    bool Distinct(TXMLClass& target, const std::string& comment) {
        SetComment(record_, comment);
        return target.FindSameWithComment(record_) == nullptr;
    }

private:
    TBaseElement& record_;
    std::string kept_;
};

}  // namespace

DuplicateGroup GroupOf(const TBaseElement& record) {
    const char* name = record.ClassName();
    if (std::strcmp(name, "TProvod") == 0) return DuplicateGroup::Lines;
    for (const char* transformer : {"TTransform", "TTransform3", "TTransformSS", "TTransformA", "TSwitchGR"})
        if (std::strcmp(name, transformer) == 0) return DuplicateGroup::Transformers;
    return DuplicateGroup::Others;
}

std::string GetComment(const TBaseElement& record) {
    const std::string* comment = CommentField(const_cast<TBaseElement&>(record));
    return comment ? *comment : std::string();
}

void SetComment(TBaseElement& record, const std::string& comment) {
    if (std::string* field = CommentField(record)) *field = comment;
}

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

CopyOutcome CopyRun::CopyRecord(TXMLCustomClass& target, TBaseElement& record, const std::string& label) {
    const DuplicateGroup group = GroupOf(record);
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
    if (answer == AddWithComment) {
        initial = GetComment(record);
    } else {
        // The remembered comment applies silently when it makes the element distinct.
        CommentTrial trial(record);
        if (trial.Distinct(*commented, LastComment)) return Add(target, record);  // the copy carries LastComment
    }
    const CommentResult result = questions_.AskComment(initial, [&](const std::string& comment) {
        CommentTrial trial(record);
        return trial.Distinct(*commented, comment);
    });
    switch (result.kind) {
        case CommentResult::Save: {
            if (answer == AddWithComment) LastComment = result.comment;
            CopyOutcome outcome = Add(target, record);
            SetComment(*outcome.copy, result.comment);
            return outcome;
        }
        case CommentResult::Abort:
            abort_ = true;
            return {};
        default:
            return {};
    }
}

}  // namespace kelm
