// The meter dialog, opened offscreen as the main window opens it, with its
// accuracy classes read from a real catalogue database.
#include "dialogs/meters_ref_prop.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_driver.h"

namespace kelm {
namespace {

using test::Edit;
using test::kIncorrect;
using test::kMissing;
using test::List;
using test::Retype;
using test::Type;
using test::W;

const QString kNoClasses = QString::fromUtf8("Классы точности не прочитаны из базы данных.");

TMetersRef Meter() {
    TMetersRef r;
    r.Ident = 21;
    r.Marka = W("СЭТ-4ТМ");
    r.UnomText = "0,4";
    r.Power = 3;
    r.Reverse = 1;
    r.AccuracyClass = 12;
    r.RevoCount = r.NumberCount = r.CalibrationInterval = r.ServiceLife = NotSet;
    r.Manufacturer = W("НЗиПП");
    r.Inom = 5;
    r.TariffCount = 4;
    r.WorkTemperatureLow = -40;
    r.WorkTemperatureHigh = 60;
    r.Sensitivity = 0.4;
    r.Capacity = r.Pu = r.Si = NotSet;
    r.PrefailureLife = 90000;
    return r;
}

class MeterDialog : public test::DialogOnCatalogue {
protected:
    void SetUp() override {
        // Two meter types: classes 1 to 3 of type 1, classes 11 to 13 of type 2.
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (1,'0,5',1))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (2,'1,0',1))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (3,'2,0',1))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (13,'1,0',2))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (11,'0,2S',2))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (12,'0,5S',2))");
        db.ConnectTo(catalogue.Path());
    }
};

TEST_F(MeterDialog, ShowsTheMeterWithTheClassesOfItsMeterTypeOnly) {
    TMetersRef meter = Meter();
    Open(meter, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TMetersRefProp");
        EXPECT_EQ(d.windowTitle(), "Счетчик");
        EXPECT_EQ(test::Entries(List(d, "ComboBox1")), (QStringList{"0,2S", "0,5S", "1,0"}));
        EXPECT_EQ(List(d, "ComboBox1")->currentText(), "0,5S");
        EXPECT_EQ(List(d, "ComboPower")->currentText(), "активная/реактивная");
        EXPECT_EQ(List(d, "ComboReverse")->currentText(), "два");
        EXPECT_EQ(Edit(d, "EditUnom")->text(), "0,4");
        EXPECT_TRUE(Edit(d, "EditUnom")->font().bold());
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "СЭТ-4ТМ");
        EXPECT_TRUE(Edit(d, "EditMarka")->isReadOnly());
        EXPECT_EQ(Edit(d, "EditManufacturer")->text(), "НЗиПП");
        EXPECT_EQ(Edit(d, "EditRevoCount")->text(), "");  // not set
        EXPECT_EQ(Edit(d, "EditTariffCount")->text(), "4");
        EXPECT_EQ(Edit(d, "EditWorkTemperatureLow")->text(), "-40");
        EXPECT_EQ(Edit(d, "EditSensitivity")->text(), "0,4");
        EXPECT_EQ(Edit(d, "EditSi")->text(), "");
        EXPECT_EQ(test::TabOrder(d).join(" ").toStdString(),
                  "ComboPower ComboReverse ComboBox1 EditRevoCount EditNumberCount EditCalibrationInterval "
                  "EditServiceLife EditManufacturer EditInom EditTariffCount EditWorkTemperatureLow "
                  "EditWorkTemperatureHigh EditSensitivity EditCapacity EditPu EditSi BitBtn1 BitBtn2");
    });
}

TEST_F(MeterDialog, ChosenEntriesAreStoredAndTheRestIsKept) {
    TMetersRef meter = Meter();
    const bool changed = Open(meter, false, [](TPropertyDialog& d) {
        List(d, "ComboPower")->setCurrentIndex(1);  // "реактивная"
        List(d, "ComboReverse")->setCurrentIndex(0);
        List(d, "ComboBox1")->setCurrentIndex(2);
        Retype(d, "EditNumberCount", "6");
        EXPECT_TRUE(d.TryAccept());
    });
    ASSERT_TRUE(changed);
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(meter.Power, 2);
    EXPECT_EQ(meter.Reverse, 0);
    EXPECT_EQ(meter.AccuracyClass, 13);
    EXPECT_EQ(meter.NumberCount, 6);
    EXPECT_EQ(meter.RevoCount, NotSet);
    EXPECT_EQ(meter.WorkTemperatureLow, -40);
    EXPECT_EQ(meter.PrefailureLife, 90000);  // not shown, not changed
    EXPECT_EQ(meter.Ident, 21);
}

TEST_F(MeterDialog, MeasurementOrDirectionTheListsDoNotOfferShowsNoEntryAndIsKept) {
    TMetersRef meter = Meter();
    meter.Power = 0;  // as a meter without one in its exchange file
    meter.Reverse = 5;
    ASSERT_TRUE(Open(meter, false, [](TPropertyDialog& d) {
        EXPECT_EQ(List(d, "ComboPower")->currentIndex(), -1);
        EXPECT_EQ(List(d, "ComboReverse")->currentIndex(), -1);
        EXPECT_EQ(Edit(d, "EditReverse")->text(), "");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(meter.Power, 0);
    EXPECT_EQ(meter.Reverse, 5);
}

TEST_F(MeterDialog, TemperatureBoxesPutTheSignInFrontOfTheNumber) {
    TMetersRef meter = Meter();
    Open(meter, false, [](TPropertyDialog& d) {
        for (const char* name : {"EditWorkTemperatureLow", "EditWorkTemperatureHigh"}) {
            QLineEdit* edit = Edit(d, name);
            Retype(d, name, "--");
            EXPECT_EQ(edit->text(), "-") << name;  // a lone minus, the second one changes nothing
            Retype(d, name, "4a0");
            edit->setCursorPosition(1);
            Type(edit, "-");
            EXPECT_EQ(edit->text(), "-40") << name;  // wherever the caret is
            edit->setCursorPosition(0);
            Type(edit, "5");
            EXPECT_EQ(edit->text(), "-40") << name;  // nothing goes in front of the sign
        }
    });
}

TEST_F(MeterDialog, LowerTemperatureWithoutUpperOneIsRefusedAndBothEmptyAreTaken) {
    TMetersRef meter = Meter();
    const bool changed = Open(meter, false, [](TPropertyDialog& d) {
        Retype(d, "EditWorkTemperatureHigh", "");
        EXPECT_FALSE(d.TryAccept());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(Edit(d, "EditWorkTemperatureLow")->text(), "-40");
        Retype(d, "EditWorkTemperatureLow", "");
        EXPECT_TRUE(d.TryAccept());
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(messages.informed, (std::vector<std::pair<QString, QString>>{{kIncorrect, ""}}));
    EXPECT_EQ(meter.WorkTemperatureLow, NotSet);
    EXPECT_EQ(meter.WorkTemperatureHigh, NotSet);
}

TEST_F(MeterDialog, SensitivityAtItsLimitIsRefusedAndJustBelowIsTaken) {
    TMetersRef meter = Meter();
    const bool changed = Open(meter, false, [](TPropertyDialog& d) {
        Retype(d, "EditSensitivity", "100");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditSensitivity", "99,9");
        EXPECT_TRUE(d.TryAccept());
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(messages.informed, (std::vector<std::pair<QString, QString>>{{kIncorrect, ""}}));
    EXPECT_EQ(meter.Sensitivity, 99.9);
}

TEST_F(MeterDialog, EmptyTariffCountIsSavedAsNull) {
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom","Power","Reverse","AccuracyClass","TariffCount") )"
                  R"(VALUES ('CE-301','0,4',1,0,1,4))");
    TMetersRefs meters;
    meters.LoadFromDatabase(db, 0, "");
    ASSERT_EQ(meters.Count(), 1);
    TMetersRef& meter = *meters.GetItem(0);
    ASSERT_TRUE(Open(meter, false, [](TPropertyDialog& d) {
        EXPECT_EQ(test::Entries(List(d, "ComboBox1")), (QStringList{"0,5", "1,0", "2,0"}));
        Retype(d, "EditTariffCount", "");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(meter.TariffCount, NotSet);
    meter.Added = 1;  // as the window marks it
    test::SaveErrorsRecorder errors;
    meters.SaveToDatabase(db, NumberText(',')); meters.ShowSaveErrors(errors);
    EXPECT_TRUE(errors.shown.empty() || errors.shown.front().empty());
    EXPECT_EQ(catalogue.Value(R"(select "TariffCount" from "MetersRef")"), "NULL");
    EXPECT_EQ(catalogue.Value(R"(select "AccuracyClass" from "MetersRef")"), "1");
}

TEST_F(MeterDialog, ReadOnlyViewShowsTheListsAsTextOverThem) {
    TMetersRef meter = Meter();
    const bool changed = Open(meter, true, [](TPropertyDialog& d) {
        d.layout()->activate();
        for (const auto& [standBy, list, text] : {std::tuple{"EditPower", "ComboPower", "активная/реактивная"},
                                                  {"EditReverse", "ComboReverse", "два"},
                                                  {"EditBox1", "ComboBox1", "0,5S"}}) {
            EXPECT_TRUE(Edit(d, standBy)->isVisible()) << standBy;
            EXPECT_TRUE(Edit(d, standBy)->isReadOnly()) << standBy;
            EXPECT_EQ(Edit(d, standBy)->text(), QString::fromUtf8(text)) << standBy;
            EXPECT_EQ(Edit(d, standBy)->geometry(), List(d, list)->geometry()) << standBy;
        }
        for (QLineEdit* edit : d.findChildren<QLineEdit*>()) EXPECT_TRUE(edit->isReadOnly());
        EXPECT_FALSE(d.BitBtn2->isEnabled());
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    EXPECT_FALSE(changed);
}

// Without a readable class table the meter is still shown, says why, and can only be cancelled.
TEST(MeterDialogWithoutClasses, SaysWhyRefusesOkAndClosesOnCancel) {
    test::FreshCatalogue withoutTable;
    withoutTable.Run(R"(DROP TABLE "MeterACs")");
    TRef_DataModule withoutTableDb;
    withoutTableDb.ConnectTo(withoutTable.Path());
    TRef_DataModule unconnectedDb;
    for (TRef_DataModule* db : {&withoutTableDb, &unconnectedDb, static_cast<TRef_DataModule*>(nullptr)}) {
        test::ScriptedDialogs messages;
        DialogContext context{nullptr, db, NumberText(','), &messages};
        TMetersRef meter = Meter();
        bool closed = false;
        const bool changed = test::OpenDialog(meter, false, context, [&](TPropertyDialog& d) {
            ASSERT_EQ(messages.informed.size(), 1u);
            EXPECT_EQ(messages.informed[0].first, kNoClasses);
            EXPECT_FALSE(messages.informed[0].second.isEmpty());  // the database's reason
            if (db != &withoutTableDb) {
                EXPECT_EQ(messages.informed[0].second, "нет подключенной базы данных");
            }
            EXPECT_EQ(List(d, "ComboBox1")->count(), 0);
            EXPECT_EQ(Edit(d, "EditTariffCount")->text(), "4");
            d.BitBtn2->click();
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(messages.informed.back().first, kMissing);
            d.BitBtn1->click();
            closed = !d.isVisible();
        });
        EXPECT_TRUE(closed);
        EXPECT_FALSE(changed);
        EXPECT_EQ(meter.AccuracyClass, 12);
    }
}

}  // namespace
}  // namespace kelm
