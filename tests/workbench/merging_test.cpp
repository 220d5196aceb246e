// "Слияние с базой…": the left pane's changes since a base come into the
// right pane as one step, the conflicts are marked in both trees and decided.
#include "workbench/window_fixture.h"

#include "catalogues/transforms.h"
#include "formats/catalogue_file.h"

namespace kelm {
namespace {

using namespace test;

class Merging : public MainWindow {
protected:
    static std::string Typed(const std::string& marka, const std::string& uk) {
        return "<KelmTransfor><Marka>" + marka + "</Marka><Unom>10</Unom><Snom>100</Snom><Ukz>" + uk +
               "</Ukz></KelmTransfor>";
    }
    // Since the exchange they corrected T, added N and deleted D; both corrected X and Y, otherwise.
    void SetUp() override {
        base = File("base.xml", Typed("D", "4.5") + Typed("T", "4.5") + Typed("X", "4.5") + Typed("Y", "4.5"));
        ours = File("ours.xml", Typed("D", "4.5") + Typed("T", "4.5") + Typed("X", "4.7") + Typed("Y", "4.8"));
        ASSERT_TRUE(window.OpenPath(Pane::Right, ours));
        ASSERT_TRUE(window.OpenPath(
            Pane::Left, File("theirs.xml", Typed("N", "4.5") + Typed("T", "4.6") + Typed("X", "4.6") + Typed("Y", "4.9"))));
        dialogs.paths = {base};
        window.btnMerge->trigger();
    }
    double Uk(const QString& label) {
        const QPersistentModelIndex node = Find(window.RightTree, label);
        EXPECT_TRUE(node.isValid()) << label.toStdString();
        return node.isValid() ? static_cast<const TTransform&>(*RecordOf(node)).Uk : 0;
    }
    static bool Conflicted(const CatalogueTree* tree, const QString& label) {
        return Find(tree, label + QString::fromUtf8(" — конфликт")).data(ConflictRole).toBool();
    }
    QString Caption(const CatalogueTree* tree) { return Text(Child(tree->Root(), 1)); }
    QStringList DifferencesRow(int row) {
        QStringList cells;
        for (int column = 0; column < window.DifferencesTable->columnCount(); ++column)
            cells << window.DifferencesTable->item(row, column)->text();
        return cells;
    }

    QString base, ours;
};

TEST_F(Merging, TheirChangesComeAsOneStepAndConflictsAreMarkedInBothTrees) {
    EXPECT_EQ(window.History->count(), 1);
    EXPECT_EQ(window.btnUndo->text(), "Отменить слияние");
    EXPECT_DOUBLE_EQ(Uk("T-100 (10 кВ)"), 4.6);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "N-100 (10 кВ)")), ImageCopied);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "D-100 (10 кВ)")), ImageDeleted);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    for (const CatalogueTree* tree : {window.LeftTree, window.RightTree}) {
        EXPECT_TRUE(Conflicted(tree, "X-100 (10 кВ)"));
        EXPECT_TRUE(Conflicted(tree, "Y-100 (10 кВ)"));
        EXPECT_FALSE(Find(tree, "T-100 (10 кВ)").data(ConflictRole).toBool());
        EXPECT_TRUE(Caption(tree).contains(QString::fromUtf8("конфликт: 2"))) << Caption(tree).toStdString();
    }
    // A conflict shows the base beside both sides, the disputed field marked.
    Click(window.RightTree, Find(window.RightTree, QString::fromUtf8("X-100 (10 кВ) — конфликт")));
    ASSERT_EQ(window.DifferencesTable->columnCount(), 4);
    EXPECT_EQ(window.DifferencesTable->horizontalHeaderItem(1)->text(), "База");
    const TXMLCustomClass& transformers = *window.RightRef()->GetCollection(1);
    const std::vector<int> fields = ComparedFields(transformers);
    const int uk = static_cast<int>(std::find(fields.begin(), fields.end(), transformers.FieldIndex("Ukz")) - fields.begin());
    EXPECT_EQ(DifferencesRow(uk).mid(1), (QStringList{"4,5", "4,6", "4,7"}));
    Click(window.RightTree, Find(window.RightTree, "T-100 (10 кВ)"));
    EXPECT_EQ(window.DifferencesTable->columnCount(), 3);

    window.btnUndo->trigger();
    EXPECT_DOUBLE_EQ(Uk("T-100 (10 кВ)"), 4.5);
    EXPECT_FALSE(Find(window.RightTree, "N-100 (10 кВ)").isValid());
    EXPECT_FALSE(window.ButtonSave->isEnabled());
    window.btnRedo->trigger();
    EXPECT_DOUBLE_EQ(Uk("T-100 (10 кВ)"), 4.6);
    EXPECT_TRUE(Find(window.RightTree, "N-100 (10 кВ)").isValid());
}

TEST_F(Merging, ConflictsAreDecidedEitherWayAndTheResultIsSaved) {
    Select({Find(window.LeftTree, QString::fromUtf8("X-100 (10 кВ) — конфликт"))});
    window.UpdateRightClick();
    EXPECT_DOUBLE_EQ(Uk("X-100 (10 кВ)"), 4.6);
    EXPECT_EQ(window.History->count(), 2);
    window.RightTree->clearSelection();
    SetSelected(window.RightTree, Find(window.RightTree, QString::fromUtf8("Y-100 (10 кВ) — конфликт")));
    window.KeepConflict->trigger();
    EXPECT_DOUBLE_EQ(Uk("Y-100 (10 кВ)"), 4.8);
    EXPECT_EQ(window.History->count(), 2);
    for (const CatalogueTree* tree : {window.LeftTree, window.RightTree})
        EXPECT_FALSE(Caption(tree).contains(QString::fromUtf8("конфликт"))) << Caption(tree).toStdString();

    dialogs.answers = {true};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    const auto saved = OpenCatalogue(ours.toStdString(), db);
    QStringList values;
    const TXMLCustomClass& transformers = *saved->GetCollection(1);
    for (int i = 0; i < transformers.Count(); ++i)
        values << QString::fromStdString(transformers.GetItem(i)->Marka + " " +
                                         transformers.FieldText(*transformers.GetItem(i),
                                                                transformers.FieldIndex("Ukz"), window.Numbers()));
    values.sort();
    EXPECT_EQ(values, (QStringList{"N 4,5", "T 4,6", "X 4,6", "Y 4,8"}));
}

}  // namespace
}  // namespace kelm
