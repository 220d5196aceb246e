#pragma once
// One drop of elements onto the right catalogue: each element is copied into
// its category unless an equal one is there, in which case the user chooses
// to skip it, add it with a distinguishing comment, or add a plain copy. An
// answer can be remembered for the rest of the drop, separately for lines,
// for transformers (with switching devices) and for all other elements.

#include <functional>
#include <optional>
#include <string>

#include "core/collection.h"

namespace kelm {

// Answers of the choice dialog.
enum ChoiceAnswer { Dismissed = 0, Skip = 1, AddWithComment = 2, AddPlainCopy = 3 };

struct ChoiceResult {
    int answer = Dismissed;
    bool rememberForGroup = false;  // the check box "Применить к ..."
};

struct CommentResult {
    enum Kind { Save, Abort, SkipElement } kind = SkipElement;
    std::string comment;  // Windows-1251, with Save
};

// The two questions of a drop; the window shows its dialogs, tests and the
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
};

struct CopyOutcome {
    TBaseElement* copy = nullptr;  // the new record, or none when not copied
    int position = -1;             // its index in the target collection
};

class CopyRun {
public:
    explicit CopyRun(CopyQuestions& questions) : questions_(questions) {}

    // Copies `record` into `target` (a collection of its category).
    CopyOutcome CopyRecord(TXMLCustomClass& target, const TBaseElement& record, const std::string& label);
    // Set when the user interrupted the drop ("Прервать").
    bool AbortCopy() const { return abort_; }

    std::optional<int> LinesAnswer, TransformersAnswer, OthersAnswer;
    std::string LastComment;

private:
    std::optional<int>& RememberedFor(DuplicateGroup group);
    CopyOutcome Add(TXMLCustomClass& target, const TBaseElement& record);
    CopyOutcome AddWith(TXMLCustomClass& target, const TBaseElement& record, const std::string& comment);

    CopyQuestions& questions_;
    bool abort_ = false;
};

}  // namespace kelm
