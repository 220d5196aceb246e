// The trees keep their place through every change, and "Найти" goes from one
// element found to the next.
#include <QAccessible>
#include <QTest>

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class TreePlace : public MainWindow {
protected:
    void Show() {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    static std::string Transformers(const char* prefix, int first, int last, const char* unom = "10") {
        std::string records;
        for (int i = first; i <= last; ++i) {
            const std::string number = (i < 10 ? "0" : "") + std::to_string(i);
            records += Transformer(prefix + number, unom, std::to_string(i));
        }
        return records;
    }
    static std::string Busbar(const std::string& marka) {
        return "<KelmBusbar><Marka>" + marka + "</Marka><Unom>0.4</Unom></KelmBusbar>";
    }
    static QModelIndex CategoryOf(CatalogueTree* tree, int category) {
        const QModelIndex root = tree->Root();
        for (int c = 0; c < ChildCount(root); ++c)
            if (CollectionOf(Child(root, c)) == tree->Catalogue()->Reference()->GetCollection(category))
                return Child(root, c);
        return {};
    }
    static QModelIndex TransformersOf(CatalogueTree* tree) { return CategoryOf(tree, 1); }
    QString Current(CatalogueTree* tree) { return Text(tree->currentIndex()); }
    void Press(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(widget, key, modifiers);
    }
};

TEST_F(TreePlace, ExpansionSelectionAndScrollingSurviveEveryKindOfChange) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformers("R", 1, 90) + Transformers("S", 91, 95, "6") +
                                                               Busbar("ШМА"))));
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformers("R", 1, 20) + Transformer("N", "10", "1"))));
    Show();
    CatalogueTree* tree = window.RightTree;
    tree->expand(tree->Root());
    tree->expand(TransformersOf(tree));
    tree->expand(CategoryOf(tree, 5));  // busbars, hidden by a type filter and by the found text
    auto standOn = [&] {
        tree->selectionModel()->setCurrentIndex(Find(tree, "R30-30 (10 кВ)"), QItemSelectionModel::ClearAndSelect);
        tree->scrollTo(Find(tree, "R25-25 (10 кВ)"), QAbstractItemView::PositionAtTop);
    };
    standOn();
    ASSERT_EQ(Text(tree->indexAt(QPoint(0, 0))), "R25-25 (10 кВ)");
    auto kept = [&](const char* step, bool top = true) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(tree->isExpanded(TransformersOf(tree)));
        if (const QModelIndex busbars = CategoryOf(tree, 5); busbars.isValid()) {
            EXPECT_TRUE(tree->isExpanded(busbars));
        }
        EXPECT_EQ(Current(tree), "R30-30 (10 кВ)");
        EXPECT_TRUE(IsSelected(tree, tree->currentIndex()));
        EXPECT_EQ(tree->selectionModel()->selectedIndexes().size(), 1);
        if (top) {
            EXPECT_EQ(Text(tree->indexAt(QPoint(0, 0))), "R25-25 (10 кВ)");
        }
        EXPECT_TRUE(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
    };

    ChooseVoltage("10");
    kept("voltage");
    window.cb_Type->setCurrentIndex(2);  // two-winding transformers only: the rows above go
    window.cb_TypeChange();
    kept("type");
    window.Button5Click();
    kept("filters reset");

    window.cbx_Compare->click();
    kept("compare");
    window.cb_Show->setCurrentIndex(kOnlyDifferences);  // the left lacks both
    window.cb_ShowChange();
    kept("only differences");
    window.ed_Find->setText("r3");
    window.ed_FindChange();  // the first found is the current one
    kept("find", false);
    window.ClearFind();
    kept("find cleared", false);
    standOn();
    window.cb_Show->setCurrentIndex(0);
    window.cb_ShowChange();
    kept("all shown");
    window.cbx_Compare->click();
    kept("not compared");

    window.Del1Click();  // a loaded element stays, marked
    ASSERT_EQ(ImageOf(tree->currentIndex()), ImageDeleted);
    kept("delete");
    window.btnUndo->trigger();
    kept("undo");
    window.btnRedo->trigger();
    kept("redo");

    // A drop selects and shows its copies instead, and a save keeps them so.
    Select({Find(window.LeftTree, "N-1 (10 кВ)")});
    window.RightTreeDragDrop(window.LeftTree);
    for (const char* step : {"drop", "save"}) {
        SCOPED_TRACE(step);
        EXPECT_TRUE(tree->isExpanded(TransformersOf(tree)));
        EXPECT_EQ(Current(tree), "N-1 (10 кВ)");
        EXPECT_EQ(tree->selectionModel()->selectedIndexes(), QModelIndexList{tree->currentIndex()});
        EXPECT_TRUE(tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())));
        if (std::string(step) == "drop") {
            ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
        }
    }
    EXPECT_EQ(ImageOf(tree->currentIndex()), ImageLoaded);
}

// Elements a filter hides come back selected when it shows them again,
// unless the user chose something else meanwhile; "*" opens the categories
// without marking every element expanded.
TEST_F(TreePlace, HiddenSelectionComesBackAndAsteriskExpandsOnlyCategories) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformers("R", 1, 3) + Transformers("S", 4, 5, "6"))));
    CatalogueTree* tree = window.RightTree;
    tree->setCurrentIndex(tree->Root());
    Press(tree, Qt::Key_Asterisk);
    EXPECT_TRUE(tree->isExpanded(TransformersOf(tree)));
    EXPECT_FALSE(tree->isExpanded(Find(tree, "R01-1 (10 кВ)")));

    auto selected = [&] {
        QStringList texts;
        for (const QModelIndex& node : tree->selectionModel()->selectedIndexes()) texts << Text(node);
        texts.sort();
        return texts;
    };
    const QStringList chosen{"R01-1 (10 кВ)", "S04-4 (6 кВ)"};
    tree->clearSelection();
    for (const QString& text : chosen) SetSelected(tree, Find(tree, text));
    ChooseVoltage("10");
    EXPECT_EQ(selected(), QStringList{chosen[0]});
    window.cb_Type->setCurrentIndex(1);  // lines only
    window.cb_TypeChange();
    EXPECT_EQ(selected(), QStringList{});
    window.Button5Click();
    EXPECT_EQ(selected(), chosen);

    ChooseVoltage("10");
    tree->selectionModel()->select(Find(tree, "R02-2 (10 кВ)"), QItemSelectionModel::ClearAndSelect);
    window.Button5Click();
    EXPECT_EQ(selected(), QStringList{"R02-2 (10 кВ)"});
}

TEST_F(TreePlace, FindGoesFromElementToElementAndSaysWhenNothingIsFound) {
    ASSERT_TRUE(window.OpenPath(
        Pane::Left, File("l.xml", Transformer("TM-1", "10", "1") + Transformer("X", "10", "2") +
                                      Transformer("TM-3", "10", "3") +
                                      "<KelmTransfor><Marka>Y</Marka><Unom>10</Unom><Snom>4</Snom>"
                                      "<AddStr>для ТМ и tm</AddStr></KelmTransfor>" +
                                      Busbar("TMШ"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("Z", "10", "5"))));
    Show();
    window.ed_Find->setFocus();
    QTest::keyClicks(window.ed_Find, "tm");
    Press(window.ed_Find, Qt::Key_Return);  // at once, without the pause
    const QStringList found = Elements(window.LeftTree);
    ASSERT_EQ(found.size(), 4);  // the comment is searched too
    EXPECT_EQ(found[2], "Y-4 (10 кВ)");
    EXPECT_EQ(Lines(window.RightTree), QStringList{"Справочник Kelm 3"});
    EXPECT_EQ(Current(window.LeftTree), found[0]);
    EXPECT_TRUE(IsSelected(window.LeftTree, window.LeftTree->currentIndex()));
    EXPECT_TRUE(window.lb_FindStatus->text().isEmpty());

    Press(window.ed_Find, Qt::Key_Return);
    EXPECT_EQ(Current(window.LeftTree), found[1]);
    Press(&window, Qt::Key_F3);
    EXPECT_EQ(Current(window.LeftTree), found[2]);
    Press(&window, Qt::Key_F3);  // into the next category
    EXPECT_EQ(Current(window.LeftTree), found[3]);
    Press(&window, Qt::Key_F3);  // round again
    EXPECT_EQ(Current(window.LeftTree), found[0]);
    Press(&window, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(Current(window.LeftTree), found[3]);
    EXPECT_EQ(window.LeftTree->selectionModel()->selectedIndexes().size(), 1);

    window.ed_Find->setText("нет такого");
    Press(window.ed_Find, Qt::Key_Return);
    EXPECT_EQ(window.lb_FindStatus->text(), QString::fromUtf8("не найдено"));
    EXPECT_EQ(Lines(window.LeftTree), QStringList{"Справочник Kelm 3"});
    EXPECT_EQ(Lines(window.RightTree), QStringList{"Справочник Kelm 3"});
    Press(window.ed_Find, Qt::Key_Escape);
    EXPECT_TRUE(window.lb_FindStatus->text().isEmpty());
    EXPECT_EQ(Elements(window.LeftTree).size(), 5);
}

TEST_F(TreePlace, RedoWhileFindingShowsOnlyWhatIsFound) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("A", "10", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("TM", "10", "2") + Transformer("X", "10", "3"))));
    DropAll();
    window.ed_Find->setText("tm");
    window.ed_FindChange();
    EXPECT_EQ(Elements(window.RightTree), QStringList{"TM-2 (10 кВ)"});
    window.btnUndo->trigger();
    EXPECT_TRUE(Elements(window.RightTree).isEmpty());
    window.btnRedo->trigger();
    EXPECT_EQ(Elements(window.RightTree), QStringList{"TM-2 (10 кВ)"});
}

TEST_F(TreePlace, ADropOfManyElementsInsertsOneRunOfRowsPerCategoryUnderAnAssistiveTool) {
    std::string busbars;
    for (int i = 0; i < 200; ++i) busbars += Busbar("Ш" + std::to_string(i));
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformers("T", 1, 300) + busbars)));
    Show();
    QAccessible::setActive(true);
    window.RightTree->expandAll();
    int insertions = 0;
    QObject::connect(window.RightTree->Catalogue(), &QAbstractItemModel::rowsInserted, [&] { ++insertions; });
    DropAll();
    QAccessible::setActive(false);
    EXPECT_EQ(window.RightRef()->TotalCount(), 500);
    EXPECT_EQ(Elements(window.RightTree).size(), 500);
    EXPECT_EQ(insertions, 2);
    EXPECT_EQ(window.RightTree->selectionModel()->selectedIndexes().size(), 500);
}

}  // namespace
}  // namespace kelm
