#pragma once
// Answers the questions of a drop from a script and keeps what was asked.

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "decisions/copy_run.h"

namespace kelm::test {

class ScriptedCopyQuestions : public CopyQuestions {
public:
    struct Asked {
        std::string label;
        DuplicateGroup group;
    };
    struct CommentAsked {
        std::string initial;
        bool initialDistinct;
    };
    std::deque<ChoiceResult> choices;
    // Each comment answer: the comments tried in turn (whether each was
    // distinct is recorded), then the result.
    struct CommentScript {
        std::vector<std::string> tries;
        CommentResult result;
    };
    std::deque<CommentScript> comments;
    std::vector<Asked> asked;
    std::vector<CommentAsked> commentsAsked;
    std::vector<bool> triesDistinct;
    // The update question: answered from `updates` in turn, then by `updateRule`.
    std::deque<ChoiceResult> updates;
    std::optional<ChoiceResult> updateRule;
    std::vector<UpdateQuestion> updatesAsked;

    ChoiceResult AskDuplicate(const std::string& label, DuplicateGroup group) override {
        asked.push_back({label, group});
        if (choices.empty()) throw std::logic_error("unexpected duplicate question: " + label);
        const ChoiceResult answer = choices.front();
        choices.pop_front();
        return answer;
    }
    CommentResult AskComment(const std::string& initial,
                             const std::function<bool(const std::string&)>& distinct) override {
        commentsAsked.push_back({initial, distinct(initial)});
        if (comments.empty()) throw std::logic_error("unexpected comment question");
        const CommentScript script = comments.front();
        comments.pop_front();
        for (const auto& t : script.tries) triesDistinct.push_back(distinct(t));
        return script.result;
    }
    ChoiceResult AskUpdate(const UpdateQuestion& question) override {
        updatesAsked.push_back(question);
        if (!updates.empty()) {
            const ChoiceResult answer = updates.front();
            updates.pop_front();
            return answer;
        }
        if (!updateRule) throw std::logic_error("unexpected update question: " + question.Text());
        return *updateRule;
    }
};

}  // namespace kelm::test
