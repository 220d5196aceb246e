// The choice and comment dialogs, shown offscreen and driven with keys.
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "workbench/choice_dialog.h"
#include "workbench/comment_dialog.h"
#include "workbench/copy_dialogs.h"

namespace kelm {
namespace {

void Press(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

class ChoiceDialogTest : public ::testing::Test {
protected:
    std::unique_ptr<TChDg> Show(DuplicateGroup group) {
        auto dialog = std::make_unique<TChDg>(nullptr, "Kelm 3", QString::fromUtf8("АС-70 уже существует!"),
                                              ChoiceButtons(), CheckBoxCaption(group), ButtonStates(group));
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        QApplication::processEvents();
        return dialog;
    }
};

TEST_F(ChoiceDialogTest, EachGroupOffersItsAnswers) {
    auto lines = Show(DuplicateGroup::Lines);
    EXPECT_EQ(lines->Buttons[0]->text(), "Пропустить");
    EXPECT_TRUE(lines->Buttons[1]->isEnabled());
    EXPECT_FALSE(lines->Buttons[2]->isEnabled());  // a line cannot be copied unchanged
    EXPECT_EQ(lines->focusWidget(), lines->Buttons[0]);
    EXPECT_EQ(lines->CheckBoxAll->text(), "Применить к проводам");
    EXPECT_EQ(lines->Label2->text(), "АС-70 уже существует!");
    EXPECT_EQ(lines->Buttons[2]->objectName(), "bs2");

    auto transformers = Show(DuplicateGroup::Transformers);
    EXPECT_TRUE(transformers->Buttons[1]->isEnabled());
    EXPECT_TRUE(transformers->Buttons[2]->isEnabled());
    EXPECT_EQ(transformers->CheckBoxAll->text(), "Применить к трансформаторам");

    auto others = Show(DuplicateGroup::Others);
    EXPECT_FALSE(others->Buttons[1]->isEnabled());
    EXPECT_TRUE(others->Buttons[2]->isEnabled());
    EXPECT_EQ(others->CheckBoxAll->text(), "Применить ко всем элементам");
}

TEST_F(ChoiceDialogTest, EnterOnAButtonAnswersWithIt) {
    auto dialog = Show(DuplicateGroup::Transformers);
    dialog->Buttons[2]->setFocus();
    Press(dialog->Buttons[2], Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Answer, AddPlainCopy);
}

TEST_F(ChoiceDialogTest, EnterOnTheCheckBoxTakesTheSafeAnswer) {
    auto dialog = Show(DuplicateGroup::Transformers);
    dialog->CheckBoxAll->setChecked(true);
    dialog->CheckBoxAll->setFocus();
    Press(dialog->CheckBoxAll, Qt::Key_Enter);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->Answer, Skip);
}

TEST_F(ChoiceDialogTest, EscapeDismisses) {
    auto dialog = Show(DuplicateGroup::Others);
    dialog->CheckBoxAll->setChecked(true);
    Press(dialog->focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialog->Answer, Dismissed);
}

TEST_F(ChoiceDialogTest, TheUpdateQuestionOffersUpdateCopyAndSkip) {
    UpdateQuestion question{"АС-70", {"R0, Ом/км", "X0, Ом/км"}, DuplicateGroup::Lines, true};
    EXPECT_EQ(question.Text(), "АС-70 отличается: R0, Ом/км; X0, Ом/км");
    TChDg lines(nullptr, "Kelm 3", QString::fromStdString(question.Text()), UpdateButtons(),
                CheckBoxCaption(question.group), UpdateButtonStates(question));
    lines.show();
    QApplication::setActiveWindow(&lines);
    QApplication::processEvents();
    EXPECT_EQ(lines.Buttons[0]->text(), "&Обновить");
    EXPECT_FALSE(lines.Buttons[1]->isEnabled());  // the line's search finds it equal
    EXPECT_EQ(lines.focusWidget(), lines.Buttons[2]);
    lines.CheckBoxAll->setFocus();
    Press(lines.CheckBoxAll, Qt::Key_Enter);  // the safe answer
    EXPECT_EQ(UpdateAnswer(lines.Answer), Skip);

    question.group = DuplicateGroup::Transformers;
    TChDg transformers(nullptr, "Kelm 3", "", UpdateButtons(), CheckBoxCaption(question.group),
                       UpdateButtonStates(question));
    transformers.show();
    QApplication::processEvents();
    EXPECT_TRUE(transformers.Buttons[1]->isEnabled());
    Press(transformers.focusWidget(), Qt::Key_Escape);
    EXPECT_EQ(UpdateAnswer(transformers.Answer), Dismissed);
    EXPECT_EQ(UpdateAnswer(1), Update);
    EXPECT_EQ(UpdateAnswer(2), AddPlainCopy);
}

TEST(ChoiceDialogWidth, FitsTheWidestCaption) {
    const QFontMetrics metrics(QFont("Arial", 10));
    const QString wide(60, QChar('W'));
    EXPECT_EQ(WidthChDg(metrics, {"a", wide}, 217), metrics.horizontalAdvance(wide) + 8);
    EXPECT_EQ(WidthChDg(metrics, {"a"}, 217), 217);
}

TEST(CommentDialog, SaveIsOfferedOnlyForADistinctComment) {
    TFrmComment dialog;
    dialog.SetQuestion("taken", [](const QString& text) { return text != "taken" && text != ""; });
    dialog.show();
    QApplication::processEvents();
    EXPECT_FALSE(dialog.BitBtnOk->isEnabled());
    EXPECT_EQ(dialog.EditComment->text(), "taken");
    dialog.EditComment->setText("new one");
    EXPECT_TRUE(dialog.BitBtnOk->isEnabled());
    dialog.EditComment->setText("taken");
    EXPECT_FALSE(dialog.BitBtnOk->isEnabled());
    dialog.BitBtn1->click();
    EXPECT_EQ(dialog.result(), TFrmComment::AbortResult);
}

TEST(CommentDialog, EscapeSkipsTheElement) {
    TFrmComment dialog;
    dialog.SetQuestion("", [](const QString&) { return true; });
    dialog.show();
    QApplication::processEvents();
    Press(dialog.EditComment, Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace kelm
