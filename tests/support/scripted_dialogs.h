#pragma once
// Answers the window's questions from a script and keeps what it was told.

#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/workbench_dialogs.h"

namespace kelm::test {

class ScriptedDialogs : public WorkbenchDialogs {
public:
    std::deque<std::optional<QString>> paths;  // answers to file dialogs, in order
    std::deque<bool> answers;                  // answers to Yes/No and OK/Cancel boxes, in order
    std::vector<QString> questions;            // every question asked
    std::vector<QString> proposedSavePaths;    // what each save dialog proposed
    std::vector<std::pair<QString, QString>> informed;  // text and detail of information boxes
    std::vector<std::vector<std::string>> saveErrors;   // lines of each error window
    std::vector<std::vector<std::string>> saveErrorReasons;  // and the reason beside each line

    std::optional<QString> ChooseSourceToOpen(Pane, const QString&) override { return NextPath(); }
    std::optional<QString> ChooseExchangeFileToSave(const QString& proposed) override {
        proposedSavePaths.push_back(proposed);
        return NextPath();
    }
    bool AskYesNo(const QString& text) override { return NextAnswer(text); }
    bool AskOkCancel(const QString& caption, const QString& text) override { return NextAnswer(caption + ": " + text); }
    void Inform(const QString& text, const QString& detail) override { informed.emplace_back(text, detail); }
    void ShowSaveErrors(const std::vector<std::string>& lines, const std::vector<std::string>& reasons) override {
        saveErrors.push_back(lines);
        saveErrorReasons.push_back(reasons);
    }

private:
    std::optional<QString> NextPath() {
        if (paths.empty()) throw std::logic_error("a file dialog was not expected");
        auto path = paths.front();
        paths.pop_front();
        return path;
    }
    bool NextAnswer(const QString& text) {
        questions.push_back(text);
        if (answers.empty()) throw std::logic_error("question not expected: " + text.toStdString());
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace kelm::test
