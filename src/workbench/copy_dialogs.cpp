#include "workbench/copy_dialogs.h"

#include "core/codec.h"
#include "workbench/choice_dialog.h"

namespace kelm {

QStringList ChoiceButtons() {
    return {QString::fromUtf8("Пропустить"), QString::fromUtf8("Добавить c комментарием"),
            QString::fromUtf8("Добавить копию")};
}

QString CheckBoxCaption(DuplicateGroup group) {
    switch (group) {
        case DuplicateGroup::Lines: return QString::fromUtf8("Применить к проводам");
        case DuplicateGroup::Transformers: return QString::fromUtf8("Применить к трансформаторам");
        default: return QString::fromUtf8("Применить ко всем элементам");
    }
}

std::vector<int> ButtonStates(DuplicateGroup group) {
    // Lines cannot be copied unchanged; elements without a comment cannot take one.
    switch (group) {
        case DuplicateGroup::Lines: return {ButtonFocused, ButtonEnabled, ButtonDisabled};
        case DuplicateGroup::Transformers: return {ButtonFocused, ButtonEnabled, ButtonEnabled};
        default: return {ButtonFocused, ButtonDisabled, ButtonEnabled};
    }
}

QStringList UpdateButtons() {
    return {QString::fromUtf8("&Обновить"), QString::fromUtf8("Добавить &копию"), QString::fromUtf8("&Пропустить")};
}

std::vector<int> UpdateButtonStates(const UpdateQuestion& question) {
    // Skipping is the safe answer: an update changes what network objects use.
    return {ButtonEnabled, question.CopyAllowed() ? ButtonEnabled : ButtonDisabled, ButtonFocused};
}

int UpdateAnswer(int tag) {
    switch (tag) {
        case 1: return Update;
        case 2: return AddPlainCopy;
        case 3: return Skip;
        default: return Dismissed;
    }
}

ChoiceResult QtCopyQuestions::AskUpdate(const UpdateQuestion& question) {
    const ChoiceShown shown = ShowChoiceDialog(parent_, "Kelm 3", QString::fromStdString(question.Text()),
                                               UpdateButtons(), CheckBoxCaption(question.group),
                                               UpdateButtonStates(question));
    return {UpdateAnswer(shown.answer), shown.checked};
}

ChoiceResult QtCopyQuestions::AskDuplicate(const std::string& label, DuplicateGroup group) {
    const ChoiceShown shown =
        ShowChoiceDialog(parent_, "Kelm 3", QString::fromStdString(label) + QString::fromUtf8(" уже существует!"),
                         ChoiceButtons(), CheckBoxCaption(group), ButtonStates(group));
    return {shown.answer, shown.checked};
}

CommentResult QtCopyQuestions::AskComment(const std::string& initial,
                                          const std::function<bool(const std::string&)>& distinct) {
    comment_.SetQuestion(QString::fromStdString(Utf8FromCp1251(initial)), [&distinct](const QString& text) {
        return distinct(Cp1251FromUtf8(text.toStdString()));
    });
    const int result = comment_.exec();
    CommentResult answer;
    if (result == QDialog::Accepted) {
        answer.kind = CommentResult::Save;
        answer.comment = Cp1251FromUtf8(comment_.EditComment->text().toStdString());
    } else if (result == TFrmComment::AbortResult) {
        answer.kind = CommentResult::Abort;
    }
    comment_.SetQuestion(QString(), nullptr);
    return answer;
}

}  // namespace kelm
