// Deleting and undeleting elements of the right tree, and its pop-up menu.
#include <QKeyEvent>

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class Deleting : public MainWindow {
protected:
    void SetUp() override {
        ASSERT_TRUE(window.OpenPath(
            Pane::Right, File("right.xml", Transformer("A", "10", "1") + Transformer("B", "10", "2") +
                                               "<KelmBusbar><Marka>ШМА</Marka><Unom>0.4</Unom></KelmBusbar>")));
        ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("C", "10", "3"))));
        DropAll();  // "C" is a copy made in the right pane
        window.ButtonSave->setEnabled(false);
        window.ButtonCancel->setEnabled(false);
    }
    void SelectRight(std::initializer_list<QString> labels) {
        window.RightTree->clearSelection();
        for (const QString& label : labels) SetSelected(window.RightTree, Find(window.RightTree, label));
    }
    int Image(const QString& label) { return ImageOf(Find(window.RightTree, label)); }
};

TEST_F(Deleting, TheRootDeletesEverythingAfterOneQuestion) {
    SelectRight({"Справочник Kelm 3"});
    dialogs.answers = {true};
    window.Del1Click();
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Kelm3: Удалить все элементы ?"});
    EXPECT_FALSE(Find(window.RightTree, "C-3 (10 кВ)").isValid());  // the copy is taken back
    EXPECT_EQ(window.RightRef()->GetCollection(1)->Count(), 2);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageDeleted);
    EXPECT_EQ(Image("ШМА (0,4 кВ)"), ImageDeleted);
    EXPECT_EQ(window.RightRef()->GetCollection(5)->GetItem(0)->Deleted, 1);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_TRUE(window.ButtonCancel->isEnabled());
}

TEST_F(Deleting, CancellingTheRootQuestionDeletesNothing) {
    SelectRight({"Справочник Kelm 3"});
    dialogs.answers = {false};
    window.Del1Click();
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageLoaded);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Deleting, ASelectedCategoryAsksAboutItselfOnly) {
    SelectRight({"Шины подстанций", "A-1 (10 кВ)", "C-3 (10 кВ)"});
    dialogs.answers = {false};  // keep the busbars
    window.Del1Click();
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Kelm3: Удалить все \"Шины подстанций\" ?"});
    EXPECT_EQ(Image("ШМА (0,4 кВ)"), ImageLoaded);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageDeleted);
    EXPECT_FALSE(Find(window.RightTree, "C-3 (10 кВ)").isValid());
    EXPECT_EQ(Image("B-2 (10 кВ)"), ImageLoaded);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
}

TEST_F(Deleting, UndeleteRestoresTheMarkAndTheImage) {
    SelectRight({"A-1 (10 кВ)", "B-2 (10 кВ)"});
    window.RightTreeKeyUp(Qt::Key_Delete);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageDeleted);
    SelectRight({"A-1 (10 кВ)"});
    window.RightTreeKeyUp(Qt::Key_Insert);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageLoaded);
    EXPECT_EQ(RecordOf(Find(window.RightTree, "A-1 (10 кВ)"))->Deleted, 0);
    EXPECT_EQ(Image("B-2 (10 кВ)"), ImageDeleted);
}

TEST_F(Deleting, KeysWithNothingSelectedChangeNothing) {
    window.RightTree->clearSelection();
    window.RightTreeKeyUp(Qt::Key_Delete);
    window.RightTreeKeyUp(Qt::Key_Insert);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Deleting, TheDeleteKeyOfTheTreeDeletes) {
    SelectRight({"B-2 (10 кВ)"});
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Delete, Qt::NoModifier);
    QApplication::sendEvent(window.RightTree, &release);
    EXPECT_EQ(Image("B-2 (10 кВ)"), ImageDeleted);
}

TEST_F(Deleting, TheMenuOffersWhatTheSelectionAllows) {
    auto offered = [&] {
        window.PopupMenu1Popup();
        return std::vector<bool>{window.DblClick1->isEnabled(), window.Del1->isEnabled(),
                                 window.Undelete->isEnabled()};
    };
    window.RightTree->clearSelection();
    EXPECT_EQ(offered(), (std::vector<bool>{false, false, false}));
    SelectRight({"A-1 (10 кВ)"});
    EXPECT_EQ(offered(), (std::vector<bool>{true, true, false}));
    window.Del1Click();
    EXPECT_EQ(offered(), (std::vector<bool>{true, false, true}));
    SelectRight({"A-1 (10 кВ)", "B-2 (10 кВ)"});  // one marked, one not
    EXPECT_EQ(offered(), (std::vector<bool>{false, true, true}));
}

TEST_F(Deleting, RightClickSelectsTheNodeUnderThePointer) {
    window.show();
    QApplication::processEvents();
    window.RightTree->expandAll();
    const QPersistentModelIndex node = Find(window.RightTree, "B-2 (10 кВ)");
    window.RightTree->clearSelection();
    const QPoint at = window.RightTree->visualRect(node).center();
    window.RightTreeMouseDown(at);
    EXPECT_TRUE(IsSelected(window.RightTree, node));
    EXPECT_TRUE(window.PopupMenu1->isVisible());
    EXPECT_TRUE(window.DblClick1->isEnabled());
    window.PopupMenu1->hide();
}

}  // namespace
}  // namespace kelm
