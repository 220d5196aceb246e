#pragma once
// The window's answers to the questions of a drop: the choice dialog (for a
// duplicate and for a correction) and the comment dialog.

#include <QWidget>

#include "workbench/comment_dialog.h"
#include "decisions/copy_run.h"

namespace kelm {

class QtCopyQuestions : public CopyQuestions {
public:
    QtCopyQuestions(QWidget* parent, TFrmComment& comment) : parent_(parent), comment_(comment) {}
    ChoiceResult AskDuplicate(const std::string& label, DuplicateGroup group) override;
    CommentResult AskComment(const std::string& initial,
                             const std::function<bool(const std::string&)>& distinct) override;
    ChoiceResult AskUpdate(const UpdateQuestion& question) override;

private:
    QWidget* parent_;
    TFrmComment& comment_;
};

// What the choice dialog offers a group: its check box and button states.
QString CheckBoxCaption(DuplicateGroup group);
std::vector<int> ButtonStates(DuplicateGroup group);
QStringList ChoiceButtons();
// The buttons of the update question and their states; the answer of the button with `tag`.
QStringList UpdateButtons();
std::vector<int> UpdateButtonStates(const UpdateQuestion& question);
int UpdateAnswer(int tag);

}  // namespace kelm
