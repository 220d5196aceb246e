#pragma once
// One drop of elements onto the right catalogue: each element is copied into
// its category unless an equal one is there, in which case the user chooses
// to skip it, add it with a distinguishing comment, or add a plain copy. An
// element whose partner there (the same type, paired as a comparison pairs
// them) differs in a value is a correction: the user chooses to give the
// partner its values, to add a copy, or to skip it. An answer can be
// remembered for the rest of the drop, separately for lines, for
// transformers (with switching devices) and for all other elements.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/collection.h"

namespace kelm {

// Answers of the choice dialog; the update question answers Dismissed, Skip,
// AddPlainCopy or Update.
enum ChoiceAnswer { Dismissed = 0, Skip = 1, AddWithComment = 2, AddPlainCopy = 3, Update = 4 };

struct ChoiceResult {
    int answer = Dismissed;
    bool rememberForGroup = false;  // the check box "Применить к ..."
};

struct CommentResult {
    enum Kind { Save, Abort, SkipElement } kind = SkipElement;
    std::string comment;  // Windows-1251, with Save
};

// A dropped element whose partner differs in a value.
struct UpdateQuestion {
    std::string label;                // the element's label (UTF-8)
    std::vector<std::string> fields;  // the captions of the fields that differ (UTF-8)
    DuplicateGroup group;
    // The category's duplicate search finds an element equal to the dropped
    // one: a line is then never added as a plain copy.
    bool duplicate = false;

    bool CopyAllowed() const { return !duplicate || group != DuplicateGroup::Lines; }
    // "<label> отличается: R0, Ом/км; X0, Ом/км".
    std::string Text() const;
};

// The questions of a drop; the window shows its dialogs, tests and the
// command-line tool answer by rule.
class CopyQuestions {
public:
    virtual ~CopyQuestions() = default;
    // `label` is the element's label (UTF-8); the message is label + " уже существует!".
    virtual ChoiceResult AskDuplicate(const std::string& label, DuplicateGroup group) = 0;
    // Asks for a comment, starting from `initial`; "Сохранить" is offered only
    // while `distinct` holds for the entered comment.
    virtual CommentResult AskComment(const std::string& initial,
                                     const std::function<bool(const std::string&)>& distinct) = 0;
    virtual ChoiceResult AskUpdate(const UpdateQuestion& question) = 0;
};

// Gives `record`, one of `collection`'s, the values of `values` (a record of
// the category from anywhere), comment included, but keeps its identifier,
// so that whatever refers to it gets the correction; the next database save
// writes it. Returns the record as it was, marks included.
std::unique_ptr<TBaseElement> TakeValues(TXMLCustomClass& collection, TBaseElement& record,
                                         const TBaseElement& values);

struct CopyOutcome {
    TBaseElement* copy = nullptr;  // the new record, or none when not copied
    int position = -1;             // its index in the target collection
    TBaseElement* updated = nullptr;        // the partner given the element's values instead
    std::unique_ptr<TBaseElement> before;   // the partner as it was, with an update
};

class CopyRun {
public:
    explicit CopyRun(CopyQuestions& questions) : questions_(questions) {}

    // Copies `record` into `target` (a collection of its category).
    CopyOutcome CopyRecord(TXMLCustomClass& target, const TBaseElement& record, const std::string& label);
    // Set when the user interrupted the drop ("Прервать").
    bool AbortCopy() const { return abort_; }

    std::optional<int> LinesAnswer, TransformersAnswer, OthersAnswer;
    std::optional<int> LinesUpdate, TransformersUpdate, OthersUpdate;
    std::string LastComment;

private:
    // The kept records of one target collection by identity, in collection
    // order, that no element of this drop has paired with yet.
    struct Unpaired {
        std::unordered_map<std::string, std::vector<TBaseElement*>> byIdentity;
        std::vector<int> fields;  // the compared fields of the category
    };

    std::optional<int>& RememberedFor(DuplicateGroup group);
    std::optional<int>& RememberedUpdateFor(DuplicateGroup group);
    TBaseElement* TakePartner(TXMLCustomClass& target, const TBaseElement& record, const std::vector<int>*& fields);
    CopyOutcome CopyAsDuplicate(TXMLCustomClass& target, const TBaseElement& record, const std::string& label);
    CopyOutcome Correct(TXMLCustomClass& target, const TBaseElement& record, TBaseElement& partner,
                        const std::vector<int>& differing, const std::string& label);
    CopyOutcome Add(TXMLCustomClass& target, const TBaseElement& record);
    CopyOutcome AddWith(TXMLCustomClass& target, const TBaseElement& record, const std::string& comment);

    CopyQuestions& questions_;
    bool abort_ = false;
    std::unordered_map<const TXMLCustomClass*, Unpaired> unpaired_;
};

}  // namespace kelm
