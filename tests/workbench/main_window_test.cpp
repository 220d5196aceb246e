// The main window, driven offscreen with scripted answers.
#include "workbench/main_window.h"

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using namespace test;

TEST_F(MainWindow, StartsEmpty) {
    EXPECT_EQ(window.windowTitle(), "Обмен справочниками Kelm 3");
    EXPECT_EQ(window.LeftTree->model()->rowCount(), 0);
    EXPECT_EQ(window.RightTree->model()->rowCount(), 0);
    EXPECT_FALSE(window.btnSaveAs->isEnabled());
    EXPECT_FALSE(window.ButtonSave->isEnabled());
    EXPECT_FALSE(window.ButtonCancel->isEnabled());
    EXPECT_EQ(window.cb_Type->count(), 20);
    EXPECT_EQ(window.cb_Unom->count(), 1);
    EXPECT_EQ(window.Filters().TypeFilter, "all");
}

TEST_F(MainWindow, OpensADatabaseAndAnExchangeFileAsTrees) {
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('ТМ-100',10,100))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('ТМ-40',6,40))");
    dialogs.paths = {QString::fromStdString(catalogue.Path())};
    window.ButtonOpenLeftClick();
    const QString file = File("right.xml", Transformer("ТДН-16000/110", "115", "16000"));
    dialogs.paths = {file};
    window.ButtonOpenRightClick(OpenSender::ButtonOpenRight);

    ASSERT_TRUE(dialogs.informed.empty());
    const QStringList left = Lines(window.LeftTree);
    EXPECT_EQ(left.size(), 1 + kCategories + 2);
    EXPECT_EQ(left[0], "Справочник Kelm 3");
    const int at = left.indexOf("  Трансформаторы двухобмоточные");
    ASSERT_GE(at, 0);
    EXPECT_EQ(left.mid(at + 1, 2), (QStringList{"    ТМ-40-40 (6 кВ)", "    ТМ-100-100 (10 кВ)"}));
    EXPECT_EQ(Elements(window.RightTree), QStringList{"ТДН-16000/110-16000 (115 кВ)"});

    const QModelIndex root = window.RightTree->Root();
    EXPECT_EQ(ImageOf(root), ImageRoot);
    EXPECT_EQ(ImageOf(Child(root, 0)), ImageCategory);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "ТДН-16000/110-16000 (115 кВ)")), ImageLoaded);
    EXPECT_EQ(ReferenceOf(root), window.RightRef());

    EXPECT_EQ(window.Label2->text(), "right.xml");
    EXPECT_EQ(window.Label2->toolTip(), file);
    EXPECT_TRUE(window.Label2->font().bold());
    EXPECT_EQ(window.RightPath(), file);
    EXPECT_TRUE(window.btnSaveAs->isEnabled());  // more than the root and 19 categories
    EXPECT_EQ(window.RightRef()->SourceKind, ExchangeFileSource);
    EXPECT_EQ(window.LeftRef()->SourceKind, DatabaseSource);
}

TEST_F(MainWindow, AnEmptyExchangeFileShowsTheBareCatalogue) {
    const std::string path = dir.File("new.xml");
    CreateExchangeFile(path, settings, 0);
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(path)));
    EXPECT_EQ(NodeCount(window.RightTree), 20);
    EXPECT_FALSE(window.btnSaveAs->isEnabled());
}

TEST_F(MainWindow, AFailedOpeningKeepsThePaneAsItWas) {
    const QString good = File("good.xml", Transformer("T", "10", "100"));
    ASSERT_TRUE(window.OpenPath(Pane::Left, good));
    const QStringList before = Lines(window.LeftTree);

    FreshCatalogue older;
    older.Run(R"(ALTER TABLE "Transforms2" DROP "Uk")");
    dialogs.paths = {QString::fromStdString(older.Path())};
    window.ButtonOpenLeftClick();
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first, "Файл БД имеет более раннюю версию.");
    EXPECT_TRUE(dialogs.informed[0].second.contains("Uk"));

    dialogs.paths = {File("broken.xml", "<KelmTransfor><Unom>ten</Unom>")};
    window.ButtonOpenLeftClick();
    ASSERT_EQ(dialogs.informed.size(), 2u);
    EXPECT_EQ(dialogs.informed[1].first, "Ошибка в файле.");

    EXPECT_EQ(Lines(window.LeftTree), before);
    EXPECT_EQ(window.Label1->text(), "good.xml");
    EXPECT_EQ(window.LeftPath(), good);
}

TEST_F(MainWindow, TypeFilterLeavesOneCategory) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("T", "10", "100"))));
    window.cb_Type->setCurrentIndex(2);  // "трансф. двухобмоточные"
    window.cb_TypeChange();
    EXPECT_EQ(window.Filters().TypeFilter, "TTransforms");
    EXPECT_EQ(Lines(window.LeftTree),
              (QStringList{"Справочник Kelm 3", "  Трансформаторы двухобмоточные", "    T-100 (10 кВ)"}));
    window.cb_Type->setCurrentIndex(3);
    window.cb_TypeChange();
    EXPECT_EQ(Lines(window.LeftTree), (QStringList{"Справочник Kelm 3", "  Трансформаторы трехобмоточные"}));
    window.Button5Click();
    EXPECT_EQ(window.cb_Type->currentIndex(), 0);
    EXPECT_EQ(NodeCount(window.LeftTree), 1 + kCategories + 1);
}

TEST_F(MainWindow, VoltageFilterShowsOneClass) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("A", "10,5", "1") + Transformer("B", "0.4", "2") +
                                                              Transformer("C", "115", "3") + Transformer("Z", "0", "4") +
                                                              "<KelmMetersRef><Marka>M</Marka><Unom>0.4</Unom></KelmMetersRef>")));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("D", "1000", "5"))));
    QStringList items;
    for (int i = 0; i < window.cb_Unom->count(); ++i) items << window.cb_Unom->itemText(i);
    EXPECT_EQ(items, (QStringList{"все", "0,38", "10", "110", "1150"}));

    ChooseVoltage("110");
    EXPECT_EQ(window.Filters().VoltageFilter, "110");
    EXPECT_EQ(Elements(window.LeftTree), (QStringList{"C-3 (115 кВ)", "M (0.4 кВ)"}));  // meters are never filtered
    EXPECT_TRUE(Elements(window.RightTree).isEmpty());
    ChooseVoltage("все");
    EXPECT_EQ(Elements(window.LeftTree).size(), 5);  // 0 kV is shown without a filter
}

TEST_F(MainWindow, VoltageListFallsBackToAllWhenTheClassIsGone) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("A", "35", "1") + Transformer("B", "10", "1"))));
    ChooseVoltage("35");
    ASSERT_EQ(Elements(window.LeftTree), QStringList{"A-1 (35 кВ)"});
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l2.xml", Transformer("B", "10", "1") + Transformer("C", "6", "2"))));
    EXPECT_EQ(window.cb_Unom->currentText(), "все");
    EXPECT_EQ(window.Filters().VoltageFilter, "all");
    EXPECT_EQ(Elements(window.LeftTree).size(), 2);

    ChooseVoltage("10");
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("E", "10,5", "1"))));
    EXPECT_EQ(window.cb_Unom->currentText(), "10");  // still there: kept
}

TEST_F(MainWindow, FallingBackToAllUnfiltersTheOtherTreeToo) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("A", "35", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("B", "10", "1"))));
    ChooseVoltage("35");
    ASSERT_TRUE(Elements(window.RightTree).isEmpty());
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l2.xml", Transformer("C", "6", "2"))));
    EXPECT_EQ(window.cb_Unom->currentText(), "все");
    EXPECT_EQ(Elements(window.RightTree), QStringList{"B-1 (10 кВ)"});
}

TEST_F(MainWindow, SynchronisedTreesFollowTheClickedOne) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("T", "10", "100") + Transformer("U", "6", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("A", "6", "1") + Transformer("T", "10", "100"))));
    window.cbx_Sync->setChecked(true);

    Click(window.LeftTree, Find(window.LeftTree, "T-100 (10 кВ)"));
    const QPersistentModelIndex same = Find(window.RightTree, "T-100 (10 кВ)");
    EXPECT_EQ(SelectedNode(window.RightTree), same);

    Click(window.LeftTree, Find(window.LeftTree, "U-1 (6 кВ)"));  // no equal element: its category
    EXPECT_EQ(Text(SelectedNode(window.RightTree)), "Трансформаторы двухобмоточные");

    window.RightTree->expandAll();
    Click(window.LeftTree, window.LeftTree->Root());
    EXPECT_EQ(SelectedNode(window.RightTree), window.RightTree->Root());
    EXPECT_FALSE(window.RightTree->isExpanded(window.RightTree->Root()));

    Click(window.RightTree, same);  // the other way round
    EXPECT_EQ(SelectedNode(window.LeftTree), Find(window.LeftTree, "T-100 (10 кВ)"));
}

TEST_F(MainWindow, LeftPaneKeepsItsShareOfTheWidth) {
    window.show();
    window.resize(1200, 800);
    QApplication::processEvents();
    const int third = window.width() / 3;
    window.Splitter1->setSizes({third, window.Splitter1->width() - third});
    QApplication::processEvents();
    window.Splitter1Moved();
    const double ratio = double(window.GroupBox1->width()) / window.width();
    window.resize(1800, 900);
    QApplication::processEvents();
    EXPECT_NEAR(double(window.GroupBox1->width()) / window.width(), ratio, 0.005);
    EXPECT_NEAR(ratio, 1.0 / 3, 0.02);
}

// --- Copying ---------------------------------------------------------------------

class Dropping : public MainWindow {
protected:
    void Drop() { window.RightTreeDragDrop(window.LeftTree); }
    QStringList TransformerNodes() {
        QStringList labels;
        const QModelIndex category = Find(window.RightTree, "Трансформаторы двухобмоточные");
        for (int i = 0; category.isValid() && i < ChildCount(category); ++i) labels << Text(Child(category, i));
        return labels;
    }
};

TEST_F(Dropping, TheRootCopiesEveryShownElement) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("A", "10", "1") + Transformer("B", "6", "2") +
                                                              "<KelmMetersRef><Marka>M</Marka><Unom>0.4</Unom></KelmMetersRef>")));
    const std::string right = dir.File("r.xml");
    CreateExchangeFile(right, settings, 0);
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(right)));
    Select({window.LeftTree->Root()});
    Drop();
    EXPECT_EQ(Elements(window.RightTree), (QStringList{"B-2 (6 кВ)", "A-1 (10 кВ)", "M (0.4 кВ)"}));
    for (const QModelIndex& node : Nodes(window.RightTree)) {
        if (NodeLevel(node) != 2) continue;
        EXPECT_EQ(ImageOf(node), ImageCopied);
        EXPECT_EQ(RecordOf(node)->Ident, -2);
        EXPECT_EQ(RecordOf(node)->Added, 1);
        EXPECT_TRUE(IsSelected(window.RightTree, node));
    }
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_TRUE(window.ButtonCancel->isEnabled());
    EXPECT_TRUE(window.btnSaveAs->isEnabled());
    EXPECT_TRUE(copyQuestions.asked.empty());
}

TEST_F(Dropping, AfterADropTheRightSelectionHoldsExactlyTheCopies) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("B", "10", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("A", "10", "1"))));
    SetSelected(window.RightTree, window.RightTree->Root());
    Select({Find(window.LeftTree, "B-1 (10 кВ)")});
    Drop();
    const QModelIndexList selected = window.RightTree->selectionModel()->selectedIndexes();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(Text(selected[0]), "B-1 (10 кВ)");
}

TEST_F(Dropping, ACategoryAndOneOfItsElementsCopyThatElementOnce) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("A", "10", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", "")));
    Select({Find(window.LeftTree, "Трансформаторы двухобмоточные"), Find(window.LeftTree, "A-1 (10 кВ)")});
    Drop();
    EXPECT_EQ(TransformerNodes(), QStringList{"A-1 (10 кВ)"});
}

TEST_F(Dropping, ACopyLandsAtItsSortedPlace) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("B", "10", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("A", "10", "1") + Transformer("C", "10", "1"))));
    Select({Find(window.LeftTree, "B-1 (10 кВ)")});
    Drop();
    EXPECT_EQ(TransformerNodes(), (QStringList{"A-1 (10 кВ)", "B-1 (10 кВ)", "C-1 (10 кВ)"}));
    const QPersistentModelIndex copied = Find(window.RightTree, "B-1 (10 кВ)");
    EXPECT_EQ(RecordOf(copied), window.RightRef()->GetCollection(1)->GetItem(1));
}

TEST_F(Dropping, ADuplicateIsAskedAboutByItsLabel) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("T", "10", "1"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("T", "10", "1"))));
    Select({Find(window.LeftTree, "T-1 (10 кВ)")});
    copyQuestions.choices = {{Skip, false}};
    Drop();
    ASSERT_EQ(copyQuestions.asked.size(), 1u);
    EXPECT_EQ(copyQuestions.asked[0].label, "T-1 (10 кВ)");
    EXPECT_EQ(TransformerNodes().size(), 1);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Dropping, OntoAPaneWithNothingOpenedBuildsTheBareCatalogueFirst) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("T", "10", "1"))));
    Select({Find(window.LeftTree, "T-1 (10 кВ)")});
    Drop();
    EXPECT_EQ(NodeCount(window.RightTree), 1 + kCategories + 1);
    EXPECT_EQ(TransformerNodes(), QStringList{"T-1 (10 кВ)"});
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(window.RightRef()->SourceKind, NothingLoaded);
}

}  // namespace
}  // namespace kelm
