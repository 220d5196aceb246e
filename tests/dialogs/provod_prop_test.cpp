// The line and cable dialogs, opened offscreen as the main window opens them
// and driven like a user would.
#include "dialogs/provod_prop.h"

#include "core/category_collection.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_driver.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using namespace test;

TProvod Line(double unom) {
    TProvod r;
    r.Ident = 7;
    r.Marka = W("АС");
    r.Unom = unom;
    r.F = 70;
    r.R0 = 0.42;
    r.X0 = 0.4;
    r.Idop = 265;
    r.B0 = r.G0 = r.TgDelta = NotSet;
    r.PhaseNull_F = r.PhaseNull_R0 = r.PhaseNull_X0 = r.PhaseNull_B0 = NotSet;
    r.PhaseNull_Idop = NotSet;
    return r;
}

TProvod Cable(double unom) {
    TProvod r = Line(unom);
    r.Marka = W("АВВГ");
    r.Name = W("кабель");
    r.CableFlags = kCableFlag | 1;
    r.NumberPhases = 4;
    r.B0 = 0.15;
    return r;
}

class ProvodDialogs : public test::DialogDriver {
protected:
    // The name of the dialog the record opens.
    QString DialogName(TProvod record) {
        QString name;
        Open(record, false, [&](TPropertyDialog& d) { name = d.objectName() + " " + d.windowTitle(); });
        return name;
    }
};

TEST_F(ProvodDialogs, LowVoltageCablesOpenTheCableDialogAndEverythingElseTheLineDialog) {
    EXPECT_EQ(DialogName(Cable(0.4)), "TCabelProp Кабель");
    EXPECT_EQ(DialogName(Cable(6)), "TProvodProp Провод");
    EXPECT_EQ(DialogName(Line(0.4)), "TProvodProp Провод");  // no cable bit
}

TEST_F(ProvodDialogs, OpensInTheFirstEditableBoxAndTabsRowByRowThenToTheButtons) {
    QStringList line, cable;
    TProvod record = Line(6);
    Open(record, false, [&](TPropertyDialog& d) { line = TabOrder(d); });
    record = Cable(0.4);
    Open(record, false, [&](TPropertyDialog& d) { cable = TabOrder(d); });
    EXPECT_EQ(line.join(" ").toStdString(), "EditR0 EditX0 EditB0 EditIdop EditG0 EditAddStr BitBtn1 BitBtn2");
    EXPECT_EQ(cable.join(" ").toStdString(), "EditR0 EditCabR0 EditX0 EditCabX0 EditB0 EditCabB0 EditIdop EditCabIdop EditG0 "
                               "EdittgDelta EditAddStr BitBtn1 BitBtn2");
}

TEST_F(ProvodDialogs, LineDialogShowsTheRecordAndLetsOnlyNumbersIntoNumberBoxes) {
    TProvod line = Line(6);
    Open(line, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "АС-70");
        EXPECT_EQ(Edit(d, "EditUnom")->text(), "6");
        EXPECT_EQ(Edit(d, "EditType")->text(), "ac");
        EXPECT_EQ(Edit(d, "EditR0")->text(), "0,42");
        EXPECT_EQ(Edit(d, "EditIdop")->text(), "265");
        EXPECT_EQ(Edit(d, "EditB0")->text(), "");  // not set
        EXPECT_EQ(Edit(d, "EditG0")->text(), "");
        EXPECT_TRUE(Edit(d, "EditUnom")->font().bold());
        for (const char* shown : {"EditUnom", "EditMarka", "EditType", "EditF"})
            EXPECT_TRUE(Edit(d, shown)->isReadOnly()) << shown;
        EXPECT_EQ(d.BitBtn2->text(), "Сохранить");
        EXPECT_TRUE(d.BitBtn2->isDefault());

        Retype(d, "EditR0", "0,,5-a");
        EXPECT_EQ(Edit(d, "EditR0")->text(), "0,5");
        Retype(d, "EditIdop", "2,5x0");
        EXPECT_EQ(Edit(d, "EditIdop")->text(), "250");
        Retype(d, "EditAddStr", "a-1,5");
        EXPECT_EQ(Edit(d, "EditAddStr")->text(), "a-1,5");
    });
}

TEST_F(ProvodDialogs, RefusedOkKeepsTheDialogOpenWithTheInputAndTheRecordUntouched) {
    TProvod line = Line(6);
    const bool changed = Open(line, false, [this](TPropertyDialog& d) {
        Retype(d, "EditR0", "100");
        d.BitBtn2->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Edit(d, "EditR0")->text(), "100");
        Retype(d, "EditX0", "");
        test::Press(Edit(d, "EditX0"), Qt::Key_Return);  // Enter presses "Сохранить"
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}, {kMissing, ""}}));
        d.BitBtn1->click();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(line.R0, 0.42);
    EXPECT_EQ(line.X0, 0.4);
}

TEST_F(ProvodDialogs, AcceptedOkWritesTheValuesBackAndKeepsTheRecordsMarks) {
    TProvod line = Line(6);
    line.Deleted = 1;
    const bool changed = Open(line, false, [](TPropertyDialog& d) {
        Retype(d, "EditR0", "0.5");
        Retype(d, "EditAddStr", "новый");
        EXPECT_TRUE(d.TryAccept());
    });
    EXPECT_TRUE(changed);
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(line.R0, 0.5);
    EXPECT_EQ(line.AddStr, W("новый"));
    EXPECT_EQ(line.B0, NotSet);  // the blank box keeps the value unset
    EXPECT_EQ(line.Ident, 7);
    EXPECT_EQ(line.Deleted, 1);
    EXPECT_EQ(line.Added, 0);  // the caller marks it
}

TEST_F(ProvodDialogs, ReadOnlyDialogOnlyShowsTheRecord) {
    for (TProvod record : {Line(6), Cable(0.4)}) {
        const TProvod before = record;
        const bool changed = Open(record, true, [](TPropertyDialog& d) {
            for (QLineEdit* edit : d.findChildren<QLineEdit*>()) EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
            EXPECT_FALSE(d.BitBtn2->isEnabled());
            Type(Edit(d, "EditR0"), "7");
            EXPECT_EQ(Edit(d, "EditR0")->text(), "0,42");
            EXPECT_FALSE(d.TryAccept());
            d.done(QDialog::Accepted);  // whatever it ends with
        });
        EXPECT_FALSE(changed);
        EXPECT_EQ(record.R0, before.R0);
        EXPECT_EQ(record.PhaseNull_F, before.PhaseNull_F);
    }
}

TEST_F(ProvodDialogs, CableDialogShowsItsOwnNullConductorOrElseThePhaseValues) {
    TProvod cable = Cable(0.4);
    Open(cable, false, [](TPropertyDialog& d) {
        for (const auto& [phase, null] : {std::pair{"EditF", "EditCabF"}, {"EditR0", "EditCabR0"},
                                          {"EditX0", "EditCabX0"}, {"EditB0", "EditCabB0"}, {"EditIdop", "EditCabIdop"}})
            EXPECT_EQ(Edit(d, null)->text(), Edit(d, phase)->text()) << null;
        EXPECT_EQ(Edit(d, "EditCabB0")->text(), "0,15");
        EXPECT_EQ(Edit(d, "EdittgDelta")->text(), "");
        EXPECT_EQ(Edit(d, "EditNumFaz")->text(), "4");
        EXPECT_TRUE(Edit(d, "EditCabF")->isReadOnly());
        EXPECT_FALSE(Edit(d, "EditCabR0")->isReadOnly());
    });

    cable.PhaseNull_F = 35;
    cable.PhaseNull_R0 = 0.89;
    cable.PhaseNull_X0 = 0.07;
    cable.PhaseNull_Idop = 140;
    cable.TgDelta = 0.01;
    Open(cable, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Edit(d, "EditCabF")->text(), "35");
        EXPECT_EQ(Edit(d, "EditCabR0")->text(), "0,89");
        EXPECT_EQ(Edit(d, "EditCabIdop")->text(), "140");
        EXPECT_EQ(Edit(d, "EditCabB0")->text(), "");
        EXPECT_EQ(Edit(d, "EdittgDelta")->text(), "0,01");
    });
}

TEST_F(ProvodDialogs, CableSavedWithoutNullConductorValuesSendsADeleteForItsCablesRow) {
    TProvod cable = Cable(0.4);
    cable.Ident = -1;
    ASSERT_TRUE(Open(cable, false, [](TPropertyDialog& d) { EXPECT_TRUE(d.TryAccept()); }));
    EXPECT_EQ(cable.PhaseNull_F, cable.F);
    EXPECT_EQ(cable.PhaseNull_R0, cable.R0);
    EXPECT_EQ(cable.PhaseNull_X0, cable.X0);
    EXPECT_EQ(cable.PhaseNull_B0, cable.B0);
    EXPECT_EQ(cable.PhaseNull_Idop, cable.Idop);

    test::FreshCatalogue catalogue;
    TRef_DataModule db;
    db.ConnectTo(catalogue.Path());
    test::StatementLog log;
    db.SetStatementListener(&log);
    cable.Added = 1;
    EXPECT_EQ(WriteRecord(ProvodsCategory(), cable, db), RecordWrite::Written);
    EXPECT_EQ(log.Starting("delete from \"Cables\"").size(), 1u);
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Provods")"), "1");
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Cables")"), "0");
}

// A dialog with a drop-down list and its stand-by edit, as later dialogs have.
class ListDialog : public TPropertyDialog {
public:
    explicit ListDialog(const DialogContext& context) : TPropertyDialog(context, "ListDialog", "List") {
        ComboBox1 = NewList("ComboBox1", {QString::fromUtf8("одно"), QString::fromUtf8("два")});
        AddRow(0, NewLabel("Label1", QString::fromUtf8("Направление")), ComboBox1);
        EditBox1 = NewStandBy(ComboBox1, "EditBox1");
        AddRow(1, NewLabel("Label2", QString::fromUtf8("Количество")), NewEdit("EditCount", EditUse::Editable, Keys::Digits));
    }
    EntryCheck FormCloseQuery() override { return EntryCheck::Passed; }
    QComboBox* ComboBox1;
    QLineEdit* EditBox1;
};

TEST_F(ProvodDialogs, ReadOnlyViewShowsStandByEditsOverTheirLists) {
    ListDialog dialog(context);
    dialog.show();
    EXPECT_FALSE(dialog.EditBox1->isVisible());
    EXPECT_EQ(dialog.EditBox1->property("Tag").toInt(), 1);
    MakeReadOnly(dialog);
    EXPECT_TRUE(dialog.EditBox1->isVisible());
    EXPECT_TRUE(dialog.EditBox1->isReadOnly());
    EXPECT_TRUE(Edit(dialog, "EditCount")->isReadOnly());
    EXPECT_FALSE(Edit(dialog, "EditCount")->isHidden());
    EXPECT_EQ(dialog.ComboBox1->focusPolicy(), Qt::NoFocus);
    dialog.layout()->activate();
    EXPECT_EQ(dialog.EditBox1->geometry(), dialog.ComboBox1->geometry());
}

}  // namespace
}  // namespace kelm
