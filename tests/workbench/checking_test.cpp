// "Правка" → "Проверить": the findings of the pane with the focus, listed,
// leading to their elements, and marking them in the tree until edited.
#include <QDialog>

#include "dialogs/property_dialog.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

std::string Line(const std::string& marka, const std::string& r0, const std::string& x0) {
    return "<KelmProvod><Marka>" + marka + "</Marka><Unom>10</Unom><F>70</F><R0>" + r0 + "</R0><X0>" + x0 +
           "</X0><Idop>265</Idop></KelmProvod>";
}

class Checking : public MainWindow {
protected:
    void SetUp() override {
        window.SetDialogExec([this](QDialog& dialog) {
            dialog.show();
            shown.push_back(dialog.objectName());
            static_cast<TPropertyDialog&>(dialog).TryAccept();
            return dialog.result();
        });
        window.show();
    }
    void CheckPane(CatalogueTree* tree) {
        tree->setFocus();
        window.btnCheck->trigger();
    }
    static QVariant MarkOf(const QModelIndex& node) { return node.data(Qt::ForegroundRole); }
    std::vector<QString> shown;
};

TEST_F(Checking, ListsTheFindingsAndMarksTheirElementsUntilEdited) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Line("A", "0.42", "0.4") + Line("B", "0", "0"))));
    EXPECT_EQ(window.btnCheck->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    CheckPane(window.RightTree);
    ASSERT_NE(window.CheckWindow, nullptr);
    EXPECT_TRUE(window.CheckWindow->isVisible());
    EXPECT_FALSE(window.CheckWindow->isModal());
    EXPECT_EQ(window.CheckWindow->windowTitle(), QString::fromUtf8("Проверка справочника"));
    ASSERT_EQ(window.CheckFindings->topLevelItemCount(), 1);
    QTreeWidgetItem* row = window.CheckFindings->topLevelItem(0);
    EXPECT_EQ(row->text(0), QString::fromUtf8("ошибка"));
    EXPECT_EQ(row->text(1), QString::fromUtf8("B-70 (10 кВ)"));
    EXPECT_EQ(row->text(2), QString::fromUtf8("Полное сопротивление 0 Ом/км не больше 0 Ом/км (R0 0 Ом/км, X0 0 Ом/км)"));

    QPersistentModelIndex bad = Find(window.RightTree, QString::fromUtf8("B-70 (10 кВ)"));
    EXPECT_TRUE(MarkOf(bad).isValid());
    EXPECT_FALSE(MarkOf(Find(window.RightTree, QString::fromUtf8("A-70 (10 кВ)"))).isValid());
    window.Button5Click();  // a new tree keeps the marks
    bad = Find(window.RightTree, QString::fromUtf8("B-70 (10 кВ)"));
    EXPECT_TRUE(MarkOf(bad).isValid());

    window.CheckFindingsClick(row, false);
    EXPECT_EQ(window.RightTree->selectionModel()->selectedIndexes(), QModelIndexList{bad});
    EXPECT_TRUE(shown.empty());
    window.CheckFindingsClick(row, true);  // the dialog confirms the values unchanged: an edit
    EXPECT_EQ(shown, std::vector<QString>{"TProvodProp"});
    EXPECT_FALSE(MarkOf(Find(window.RightTree, QString::fromUtf8("B-70 (10 кВ)"))).isValid());
    EXPECT_TRUE(dialogs.informed.empty());
}

TEST_F(Checking, ChecksThePaneWithTheFocusAndSaysWhenItIsSound) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Line("A", "0.42", "0.4"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Line("B", "0", "0"))));
    CheckPane(window.LeftTree);
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first, QString::fromUtf8("Ошибок и предупреждений в справочнике нет."));
    EXPECT_EQ(window.CheckWindow, nullptr);
    EXPECT_FALSE(MarkOf(Find(window.RightTree, QString::fromUtf8("B-70 (10 кВ)"))).isValid());
}

}  // namespace
}  // namespace kelm
