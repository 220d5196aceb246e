// Taking the right pane's changes back ("Правка") and making them again.
#include <QLineEdit>

#include "catalogues/provods.h"
#include "dialogs/property_dialog.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class Undoing : public MainWindow {
protected:
    void Open(const std::string& right, const std::string& left) {
        ASSERT_TRUE(window.OpenPath(Pane::Right, File("right.xml", right)));
        ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", left)));
    }
    void SelectRight(std::initializer_list<QString> labels) {
        window.RightTree->clearSelection();
        for (const QString& label : labels) SetSelected(window.RightTree, Find(window.RightTree, label));
    }
    void Undo() { window.btnUndo->trigger(); }
    void Redo() { window.btnRedo->trigger(); }
    int Image(const QString& label) { return ImageOf(Find(window.RightTree, label)); }
    TBaseElement* Record(const QString& label) { return RecordOf(Find(window.RightTree, label)); }
    // "Сохранить" and "Отмена" follow the unsaved state.
    bool Unsaved() {
        EXPECT_EQ(window.ButtonSave->isEnabled(), window.ButtonCancel->isEnabled());
        EXPECT_EQ(window.ButtonSave->isEnabled(), window.Right().HasUnsavedChanges());
        return window.ButtonSave->isEnabled();
    }
    static std::string Busbar(const std::string& marka, const std::string& unom) {
        return "<KelmBusbar><Marka>" + marka + "</Marka><Unom>" + unom + "</Unom></KelmBusbar>";
    }
};

TEST_F(Undoing, ADropIsTakenBackAndMadeAgainWithTheSameRecords) {
    Open(Transformer("A", "10", "1") + Transformer("D", "10", "4"),
         Transformer("B", "10", "2") + Transformer("C", "10", "3") + Busbar("ШМА", "0.4"));
    EXPECT_FALSE(window.btnUndo->isEnabled());
    EXPECT_FALSE(window.btnRedo->isEnabled());
    DropAll();
    const QStringList dropped = Lines(window.RightTree);
    TBaseElement* copy = Record("B-2 (10 кВ)");
    EXPECT_EQ(window.btnUndo->text(), "Отменить копирование 3 элементов");
    EXPECT_TRUE(window.btnUndo->isEnabled());

    Undo();
    EXPECT_EQ(Elements(window.RightTree), (QStringList{"A-1 (10 кВ)", "D-4 (10 кВ)"}));
    EXPECT_EQ(window.RightRef()->TotalCount(), 2);
    EXPECT_FALSE(Unsaved());
    EXPECT_FALSE(window.btnUndo->isEnabled());
    EXPECT_EQ(window.btnRedo->text(), "Повторить копирование 3 элементов");

    Redo();
    EXPECT_EQ(Lines(window.RightTree), dropped);
    EXPECT_EQ(Record("B-2 (10 кВ)"), copy);
    EXPECT_EQ(window.RightRef()->GetCollection(1)->GetItem(1), copy);
    EXPECT_EQ(Image("B-2 (10 кВ)"), ImageCopied);
    EXPECT_TRUE(Unsaved());

    // The voltage filter holds for nodes that come back.
    ChooseVoltage("10");
    Undo();
    Redo();
    EXPECT_EQ(Elements(window.RightTree), (QStringList{"A-1 (10 кВ)", "B-2 (10 кВ)", "C-3 (10 кВ)", "D-4 (10 кВ)"}));
    ChooseVoltage("все");
    EXPECT_EQ(Lines(window.RightTree), dropped);
}

TEST_F(Undoing, ALargeDropComesBackInOrder) {
    std::string left;
    for (int i = 0; i < 150; ++i) left += Transformer("T" + std::to_string(1000 + i), "10", "1");
    Open(Transformer("T1050x", "10", "1"), left);
    const QStringList opened = Lines(window.RightTree);
    DropAll();
    const QStringList dropped = Lines(window.RightTree);
    Undo();
    EXPECT_EQ(Lines(window.RightTree), opened);
    Redo();
    EXPECT_EQ(Lines(window.RightTree), dropped);
    SelectRight({"Справочник Kelm 3"});
    dialogs.answers = {true};
    window.Del1Click();  // the copies go at once
    EXPECT_EQ(Lines(window.RightTree), opened);
    Undo();
    EXPECT_EQ(Lines(window.RightTree), dropped);
}

TEST_F(Undoing, ADeleteAndAnUndeleteAreTakenBackAndMadeAgain) {
    Open(Transformer("A", "10", "1") + Transformer("B", "10", "2"), Transformer("C", "10", "3"));
    DropAll();
    TBaseElement* copy = Record("C-3 (10 кВ)");
    TBaseElement* loaded = Record("A-1 (10 кВ)");
    SelectRight({"A-1 (10 кВ)", "C-3 (10 кВ)"});
    window.Del1Click();
    EXPECT_EQ(window.btnUndo->text(), "Отменить удаление");
    SelectRight({"A-1 (10 кВ)"});
    window.UndeleteClick();
    EXPECT_EQ(window.btnUndo->text(), "Отменить восстановление");

    Undo();  // the undelete
    EXPECT_EQ(loaded->Deleted, 1);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageDeleted);
    Undo();  // the delete
    EXPECT_EQ(loaded->Deleted, 0);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageLoaded);
    EXPECT_EQ(Record("C-3 (10 кВ)"), copy);
    EXPECT_EQ(Image("C-3 (10 кВ)"), ImageCopied);
    EXPECT_TRUE(Unsaved());
    Undo();  // the drop
    EXPECT_FALSE(Unsaved());
    EXPECT_FALSE(window.btnUndo->isEnabled());

    Redo();
    Redo();  // the delete again
    EXPECT_FALSE(Find(window.RightTree, "C-3 (10 кВ)").isValid());
    EXPECT_EQ(window.RightRef()->GetCollection(1)->Count(), 2);
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageDeleted);
    Redo();
    EXPECT_EQ(Image("A-1 (10 кВ)"), ImageLoaded);
    EXPECT_TRUE(Unsaved());
    EXPECT_FALSE(window.btnRedo->isEnabled());
}

TEST_F(Undoing, AnEditIsTakenBackAndMadeAgain) {
    FreshCatalogue catalogue;
    OpenOneLineOnTheRight(catalogue);
    window.SetDialogExec([](QDialog& dialog) {
        dialog.show();
        dialog.findChild<QLineEdit*>("EditR0")->setText("0,5");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    });
    SelectRight({"AC-70-70 (10 кВ)"});
    window.DblClick1Click();
    auto* line = static_cast<TProvod*>(Record("AC-70-70 (10 кВ)"));
    EXPECT_DOUBLE_EQ(line->R0, 0.5);
    EXPECT_EQ(window.btnUndo->text(), "Отменить изменение свойств AC-70-70 (10 кВ)");

    Undo();
    EXPECT_DOUBLE_EQ(line->R0, 0.42);
    EXPECT_EQ(line->Added, 0);
    EXPECT_FALSE(Unsaved());
    Redo();
    EXPECT_DOUBLE_EQ(line->R0, 0.5);
    EXPECT_EQ(line->Added, 1);
    EXPECT_TRUE(Unsaved());
}

TEST_F(Undoing, SavingAndCancellingClearTheHistory) {
    Open(Transformer("A", "10", "1"), Transformer("C", "10", "3"));
    DropAll();
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));  // the exchange file, without a question
    EXPECT_FALSE(window.btnUndo->isEnabled());
    EXPECT_EQ(window.History->count(), 0);
    EXPECT_EQ(window.RightRef()->GetCollection(1)->Count(), 2);

    SelectRight({"A-1 (10 кВ)"});
    window.Del1Click();
    EXPECT_TRUE(window.btnUndo->isEnabled());
    dialogs.answers = {true};
    window.ButtonCancelClick();
    EXPECT_FALSE(window.btnUndo->isEnabled());
    EXPECT_FALSE(Unsaved());
}

}  // namespace
}  // namespace kelm
