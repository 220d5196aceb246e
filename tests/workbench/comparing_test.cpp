// Comparing the two panes in the window: marks, counts, the "только различия"
// view, the states after changes, and finding elements by their label.
#include <QScrollBar>
#include <QTableWidget>

#include "catalogues/transforms.h"
#include "dialogs/dialog_driver.h"
#include "dialogs/property_dialog.h"
#include "support/differing_catalogues.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class Comparing : public MainWindow {
protected:
    // The differing catalogues as exchange files, opened in the two panes
    // (the right file leaves out the deleted "D", as a save does).
    void OpenDifferingCatalogues() {
        DifferingCatalogues catalogues;
        const std::string left = dir.File("left.xml"), right = dir.File("right.xml");
        WriteExchangeFile(*catalogues.left, left, settings, 0);
        WriteExchangeFile(*catalogues.right, right, settings, 0);
        ASSERT_TRUE(window.OpenPath(Pane::Left, QString::fromStdString(left)));
        ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(right)));
    }
    // "T" with Uk 4,5 on the left and 4,7 on the right, "U" alike in both.
    void OpenOneChangedTransformer() {
        auto transformer = [](const char* uk) {
            return "<KelmTransfor><Marka>T</Marka><Unom>10</Unom><Snom>100</Snom><Ukz>" + std::string(uk) +
                   "</Ukz></KelmTransfor>";
        };
        ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", transformer("4.5") + Transformer("U", "10", "40"))));
        ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("U", "10", "40") + transformer("4.7"))));
    }
    void Compare(bool on, int show = 0) {
        if (window.cbx_Compare->isChecked() != on) window.cbx_Compare->click();
        window.cb_Show->setCurrentIndex(show);
        window.cb_ShowChange();
    }
    static QPersistentModelIndex Category(CatalogueTree* tree, int c) { return Child(tree->Root(), c); }
    // The element of category `c` whose label starts with `marka`.
    static QPersistentModelIndex Element(CatalogueTree* tree, int c, const QString& marka) {
        const QModelIndex category = Category(tree, c);
        for (int e = 0; e < ChildCount(category); ++e)
            if (Text(Child(category, e)).startsWith(marka)) return Child(category, e);
        return {};
    }
    static QStringList Markas(CatalogueTree* tree, int c) {
        QStringList markas;
        for (int e = 0; e < ChildCount(Category(tree, c)); ++e)
            markas << QString::fromStdString(RecordOf(Child(Category(tree, c), e))->Marka);
        return markas;
    }
    static int Count(CatalogueTree* tree, Presence state) {
        int count = 0;
        for (const QModelIndex& node : Nodes(tree)) count += NodeLevel(node) == 2 && PresenceOf(node) == state;
        return count;
    }
};

TEST_F(Comparing, MarksAndCountsEveryCategoryAndUntickedLooksAsBefore) {
    OpenDifferingCatalogues();
    const QStringList before = Lines(window.LeftTree) + Lines(window.RightTree);
    EXPECT_FALSE(window.cb_Show->isEnabled());
    Compare(true);
    EXPECT_TRUE(window.cb_Show->isEnabled());
    for (int c = 0; c < kCategories; ++c) {
        SCOPED_TRACE(c);
        const bool commented = window.LeftRef()->GetCollection(c)->HasComment();
        const QString caption = QString::fromUtf8(CategoryCaption(c));
        EXPECT_EQ(Text(Category(window.LeftTree, c)),
                  caption + (commented ? QString::fromUtf8(" (нет: 2, изменено: 1)") : QString::fromUtf8(" (нет: 2)")));
        EXPECT_EQ(Text(Category(window.RightTree, c)),
                  caption + (commented ? QString::fromUtf8(" (нет: 1, изменено: 1)") : QString::fromUtf8(" (нет: 1)")));
        QPersistentModelIndex absent = Element(window.LeftTree, c, "B");
        EXPECT_EQ(PresenceOf(absent), Presence::Absent);
        EXPECT_TRUE(absent.data(Qt::FontRole).value<QFont>().bold());
        EXPECT_EQ(PresenceOf(Element(window.LeftTree, c, "A")), Presence::Present);
        EXPECT_FALSE(Element(window.LeftTree, c, "A").data(Qt::FontRole).value<QFont>().bold());
        EXPECT_EQ(PresenceOf(Element(window.LeftTree, c, "C")), commented ? Presence::Changed : Presence::Present);
        EXPECT_EQ(PresenceOf(Element(window.RightTree, c, "E")), Presence::Absent);
    }
    // The mark in the image: the absent element's icon differs from a present one's.
    EXPECT_NE(Element(window.LeftTree, 5, "B").data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage(),
              Element(window.LeftTree, 5, "A").data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage());

    Compare(false);
    EXPECT_EQ(Lines(window.LeftTree) + Lines(window.RightTree), before);
    EXPECT_EQ(Count(window.LeftTree, Presence::Absent) + Count(window.RightTree, Presence::Absent), 0);
    EXPECT_FALSE(Element(window.LeftTree, 5, "B").data(Qt::FontRole).value<QFont>().bold());
}

TEST_F(Comparing, OnlyDifferencesHidesEqualElementsAndFollowsADrop) {
    OpenDifferingCatalogues();
    Compare(true, 1);
    EXPECT_EQ(Markas(window.LeftTree, 1), (QStringList{"B", "C", "D"}));  // two-winding transformers
    EXPECT_EQ(Markas(window.LeftTree, 5), (QStringList{"B", "D"}));       // busbars: no comment to differ in
    EXPECT_EQ(Markas(window.RightTree, 5), (QStringList{"E"}));

    // Everything the left shows goes right; a commented element with another comment is no duplicate.
    DropAll();
    EXPECT_TRUE(copyQuestions.asked.empty());
    EXPECT_EQ(Count(window.LeftTree, Presence::Absent), 0);
    EXPECT_TRUE(Elements(window.LeftTree).isEmpty());
    EXPECT_EQ(Text(Category(window.LeftTree, 1)), QString::fromUtf8("Трансформаторы двухобмоточные"));
    // The copies stay in view, selected, beside "C" with the comment only the right has.
    EXPECT_EQ(Markas(window.RightTree, 1), (QStringList{"B", "C", "C", "D", "E"}));
    EXPECT_EQ(Markas(window.RightTree, 5), (QStringList{"B", "D", "E"}));
    int copies = 0;
    for (const QModelIndex& node : Nodes(window.RightTree))
        if (ImageOf(node) == ImageCopied) copies += IsSelected(window.RightTree, node);
    EXPECT_EQ(window.RightTree->selectionModel()->selectedIndexes().size(), copies);
    EXPECT_GT(copies, 5);
    Compare(true, 1);  // shown anew: the copies are no differences
    EXPECT_EQ(Markas(window.RightTree, 1), (QStringList{"C", "E"}));
    EXPECT_EQ(Markas(window.RightTree, 5), (QStringList{"E"}));

    Compare(true, 0);
    EXPECT_EQ(Markas(window.RightTree, 5), (QStringList{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(Count(window.LeftTree, Presence::Absent), 0);
}

TEST_F(Comparing, StatesFollowADeleteAnUndeleteAndAnEdit) {
    auto tap = [](const char* steps) {
        return "<KelmTransfor><Marka>T</Marka><Unom>10</Unom><Pxx>0.33</Pxx><Pkz>1.97</Pkz><UhiV>10</UhiV>"
               "<UlowV>0.4</UlowV><Snom>100</Snom><Ukz>4.5</Ukz><Ixx>2.6</Ixx><Notv>" +
               std::string(steps) + "</Notv><DeltaOtv>2.5</DeltaOtv></KelmTransfor>";
    };
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", tap("9") + Transformer("U", "10", "40"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", tap("2") + Transformer("U", "10", "40"))));
    Compare(true);
    QPersistentModelIndex leftT = Element(window.LeftTree, 1, "T");
    QPersistentModelIndex leftU = Element(window.LeftTree, 1, "U");
    EXPECT_EQ(PresenceOf(leftT), Presence::Changed);  // another number of taps
    EXPECT_EQ(PresenceOf(leftU), Presence::Present);

    // A deleted element is as good as gone.
    window.RightTree->clearSelection();
    SetSelected(window.RightTree, Element(window.RightTree, 1, "U"));
    window.Del1Click();
    EXPECT_EQ(PresenceOf(leftU), Presence::Absent);
    window.UndeleteClick();
    EXPECT_EQ(PresenceOf(leftU), Presence::Present);

    window.SetDialogExec([](QDialog& dialog) {
        dialog.show();
        Retype(dialog, "EditNumberOtp", "9");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    });
    window.RightTree->clearSelection();
    QPersistentModelIndex rightT = Element(window.RightTree, 1, "T");
    window.RightTree->setCurrentIndex(rightT);
    window.LeftTreeDblClick(window.RightTree);
    EXPECT_EQ(PresenceOf(leftT), Presence::Present);
    EXPECT_EQ(PresenceOf(rightT), Presence::Present);
    EXPECT_EQ(Text(Category(window.LeftTree, 1)), QString::fromUtf8("Трансформаторы двухобмоточные"));
}

// Made ahead while the window is idle, the comparison is that of the panes
// as they are when "Сравнить" is ticked: a change since is followed, also
// one made while the comparison was half done.
TEST_F(Comparing, ComparisonMadeAheadIsThatOfThePanesAtTheTick) {
    OpenOneChangedTransformer();
    while (window.ComparingAhead()) QApplication::processEvents();
    for (bool settled : {true, false}) {
        SCOPED_TRACE(settled);
        window.RightTree->clearSelection();
        SetSelected(window.RightTree, Element(window.RightTree, 1, "U"));
        window.Del1Click();
        QApplication::processEvents();  // a category or more compared ahead
        while (settled && window.ComparingAhead()) QApplication::processEvents();
        Compare(true);
        EXPECT_EQ(PresenceOf(Element(window.LeftTree, 1, "U")), Presence::Absent);
        EXPECT_EQ(PresenceOf(Element(window.LeftTree, 1, "T")), Presence::Changed);
        Compare(false);
        window.UndeleteClick();
    }
}

TEST_F(Comparing, ChangedPairIsMarkedCountedAndShownFieldByField) {
    OpenOneChangedTransformer();
    EXPECT_FALSE(window.GroupBoxDiff->isVisibleTo(&window));
    window.cbx_Compare->setChecked(true);  // as the keyboard or an assistive tool ticks it
    EXPECT_TRUE(window.cb_Show->isEnabled());
    EXPECT_TRUE(window.GroupBoxDiff->isVisibleTo(&window));
    EXPECT_EQ(Text(Category(window.LeftTree, 1)), QString::fromUtf8("Трансформаторы двухобмоточные (изменено: 1)"));
    QPersistentModelIndex changed = Element(window.LeftTree, 1, "T");
    QPersistentModelIndex same = Element(window.LeftTree, 1, "U");
    EXPECT_EQ(PresenceOf(changed), Presence::Changed);
    EXPECT_NE(changed.data(Qt::ForegroundRole), same.data(Qt::ForegroundRole));
    EXPECT_NE(changed.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage(),
              same.data(Qt::DecorationRole).value<QIcon>().pixmap(16).toImage());

    window.LeftTree->setCurrentIndex(changed);
    EXPECT_EQ(SelectedNode(window.RightTree), Element(window.RightTree, 1, "T"));  // its partner
    QTableWidget* table = window.DifferencesTable;
    int highlighted = 0, ukRow = -1;
    for (int row = 0; row < table->rowCount(); ++row) {
        highlighted += table->item(row, 0)->background() != QBrush();
        if (table->item(row, 0)->text() == QString::fromUtf8("Напряжение короткого замыкания, %")) ukRow = row;
    }
    ASSERT_GE(ukRow, 0);
    EXPECT_EQ(table->item(ukRow, 1)->text(), "4,5");
    EXPECT_EQ(table->item(ukRow, 2)->text(), "4,7");
    EXPECT_NE(table->item(ukRow, 2)->background(), QBrush());
    EXPECT_EQ(highlighted, 1);
    EXPECT_EQ(table->rowCount(), window.LeftRef()->GetCollection(1)->FieldCount() - 1);  // all but the identifier

    window.cbx_Compare->setChecked(false);
    EXPECT_FALSE(window.cb_Show->isEnabled());
    EXPECT_EQ(PresenceOf(Element(window.LeftTree, 1, "T")), Presence::Present);
}

TEST_F(Comparing, UpdateRightGivesChangedPartnersTheLeftValuesInOneStep) {
    OpenOneChangedTransformer();
    Compare(true);
    QPersistentModelIndex changed = Element(window.LeftTree, 1, "T");
    QPersistentModelIndex same = Element(window.LeftTree, 1, "U");
    const auto* partner = static_cast<const TTransform*>(RecordOf(Element(window.RightTree, 1, "T")));
    Select({same});
    window.PopupMenuLeftPopup();
    EXPECT_FALSE(window.UpdateRight->isEnabled());
    Select({changed, same});
    window.PopupMenuLeftPopup();
    ASSERT_TRUE(window.UpdateRight->isEnabled());
    EXPECT_EQ(window.UpdateRight->text(), QString::fromUtf8("Обновить справа"));

    window.UpdateRight->trigger();
    EXPECT_TRUE(copyQuestions.updatesAsked.empty());
    EXPECT_DOUBLE_EQ(partner->Uk, 4.5);
    EXPECT_EQ(window.RightRef()->GetCollection(1)->Count(), 2);
    EXPECT_EQ(PresenceOf(changed), Presence::Present);
    EXPECT_EQ(Text(Category(window.LeftTree, 1)), QString::fromUtf8("Трансформаторы двухобмоточные"));
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(window.btnUndo->text(), QString::fromUtf8("Отменить копирование 1 элемента"));

    window.btnUndo->trigger();
    EXPECT_DOUBLE_EQ(partner->Uk, 4.7);
    EXPECT_EQ(PresenceOf(changed), Presence::Changed);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Comparing, TickingAndShowingKeepExpansionSelectionAndScrolling) {
    OpenDifferingCatalogues();
    window.show();
    for (CatalogueTree* tree : {window.LeftTree, window.RightTree}) tree->expandAll();
    window.LeftTree->collapse(Category(window.LeftTree, 3));
    window.RightTree->setCurrentIndex(Element(window.RightTree, 5, "E"));
    window.LeftTree->scrollTo(Element(window.LeftTree, 12, "A"), QAbstractItemView::PositionAtTop);
    const int scrolled = window.LeftTree->verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);

    Compare(true);
    EXPECT_FALSE(window.LeftTree->isExpanded(Category(window.LeftTree, 3)));
    EXPECT_TRUE(window.LeftTree->isExpanded(Category(window.LeftTree, 4)));
    EXPECT_EQ(window.LeftTree->verticalScrollBar()->value(), scrolled);
    EXPECT_EQ(SelectedNode(window.RightTree), Element(window.RightTree, 5, "E"));

    Compare(true, 1);
    EXPECT_TRUE(window.RightTree->isExpanded(Category(window.RightTree, 5)));
    EXPECT_FALSE(window.LeftTree->isExpanded(Category(window.LeftTree, 3)));
    EXPECT_EQ(SelectedNode(window.RightTree), Element(window.RightTree, 5, "E"));
    Compare(false);
    EXPECT_TRUE(window.LeftTree->isExpanded(Category(window.LeftTree, 4)));
    EXPECT_EQ(SelectedNode(window.RightTree), Element(window.RightTree, 5, "E"));
}

TEST_F(Comparing, FindFiltersBothTreesIgnoringCaseUntilCleared) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("ТМ-100", "10", "100") + Transformer("TDN", "110", "16000"))));
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Transformer("тмг-40", "10", "40"))));
    window.ed_Find->setText(QString::fromUtf8("Тм"));
    window.ed_FindChange();
    EXPECT_EQ(Elements(window.LeftTree), QStringList{QString::fromUtf8("ТМ-100-100 (10 кВ)")});
    EXPECT_EQ(Elements(window.RightTree), QStringList{QString::fromUtf8("тмг-40-40 (10 кВ)")});
    window.ed_Find->setText("tdn");
    window.ed_FindChange();
    EXPECT_EQ(Elements(window.LeftTree), QStringList{"TDN-16000 (110 кВ)"});
    EXPECT_TRUE(Elements(window.RightTree).isEmpty());

    window.ClearFind();
    EXPECT_EQ(Elements(window.LeftTree).size(), 2);
    EXPECT_EQ(Elements(window.RightTree).size(), 1);
}

}  // namespace
}  // namespace kelm
