// The instrument transformer dialogs with their accuracy classes read from a
// real catalogue database.
#include "dialogs/instrument_transform_prop.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_driver.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using namespace test;

template <class R>
R Transformer(std::int16_t accuracyClass) {
    R r;
    r.Ident = 9;
    r.Marka = W("ТПЛ-10");
    r.Unom = 10;
    r.AccuracyClass = accuracyClass;
    r.Manufacturer = W("СЗТТ");
    r.PrefailureLife = 250000;
    r.WorkTemperatureLow = r.WorkTemperatureHigh = NotSet;
    if constexpr (std::is_same_v<R, TTransformsIRef>) {
        r.I1nom = 600;
        r.I2nom = 5;
        r.RatedLoad = NotSet;
    } else {
        r.UnomB = 10000;
        r.UnomH = 100;
        r.VoltageDrop = NotSet;
    }
    return r;
}

const auto CurrentTransformer = Transformer<TTransformsIRef>;
const auto VoltageTransformer = Transformer<TTransformsVRef>;

class InstrumentTransformDialogs : public DialogDriver {
protected:
    InstrumentTransformDialogs() {
        // Two meter types; the classes of type 1 come in the order of their rows.
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (4,'0,5S',1))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (5,'1,0',1))");
        catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (6,'0,2',2))");
        db.ConnectTo(catalogue.Path());
        context.db = &db;
    }
    static QComboBox* Classes(TPropertyDialog& d) { return Child<QComboBox>(d, "ComboBox1"); }
    static QStringList Names(QComboBox* list) {
        QStringList names;
        for (int i = 0; i < list->count(); ++i) names << list->itemText(i);
        return names;
    }

    FreshCatalogue catalogue;
    TRef_DataModule db;
};

TEST_F(InstrumentTransformDialogs, OfferTheClassesOfTheRecordsMeterTypeWithItsClassChosen) {
    auto transformer = CurrentTransformer(5);
    EXPECT_TRUE(Open(transformer, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TTransformsIRefProp");
        EXPECT_EQ(d.windowTitle(), "Трансформатор тока");
        EXPECT_EQ(Names(Classes(d)), (QStringList{"0,5S", "1,0"}));
        EXPECT_EQ(Classes(d)->currentText(), "1,0");
        EXPECT_EQ(static_cast<TTransformsIRefProp&>(d).ClassIdents, (std::vector<std::int32_t>{4, 5}));
        Classes(d)->setCurrentIndex(0);
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(transformer.AccuracyClass, 4);
    EXPECT_TRUE(messages.informed.empty());
}

TEST_F(InstrumentTransformDialogs, CurrentTransformerShowsItsValuesAndKeepsUnsetOnesUnset) {
    auto transformer = CurrentTransformer(4);
    EXPECT_TRUE(Open(transformer, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Edit(d, "EditUnom")->text(), "10");
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "ТПЛ-10");
        EXPECT_EQ(Edit(d, "EditA")->text(), "600");
        EXPECT_EQ(Edit(d, "EditB")->text(), "5");
        EXPECT_EQ(Edit(d, "EditManufacturer")->text(), "СЗТТ");
        for (const char* empty : {"EditC", "EditWorkTemperatureLow", "EditWorkTemperatureHigh"})
            EXPECT_EQ(Edit(d, empty)->text(), "") << empty;
        EXPECT_EQ(TabOrder(d).join(" "), "ComboBox1 EditA EditB EditC EditManufacturer EditWorkTemperatureLow "
                                         "EditWorkTemperatureHigh BitBtn1 BitBtn2");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(transformer.RatedLoad, NotSet);
    EXPECT_EQ(transformer.WorkTemperatureLow, NotSet);
    EXPECT_EQ(transformer.WorkTemperatureHigh, NotSet);
    EXPECT_EQ(transformer.PrefailureLife, 250000);
    EXPECT_EQ(transformer.I1nom, 600);
}

TEST_F(InstrumentTransformDialogs, RatedLoadAndTemperatureRangeAreChecked) {
    auto transformer = CurrentTransformer(4);
    EXPECT_TRUE(Open(transformer, false, [](TPropertyDialog& d) {
        Retype(d, "EditC", "1000");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditC", "999,9");
        Retype(d, "EditWorkTemperatureLow", "40-");  // the minus goes in front
        EXPECT_EQ(Edit(d, "EditWorkTemperatureLow")->text(), "-40");
        EXPECT_FALSE(d.TryAccept());  // under a blank upper bound
        Retype(d, "EditWorkTemperatureHigh", "4x0");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}, {kIncorrect, ""}}));
    EXPECT_EQ(transformer.RatedLoad, 999.9);
    EXPECT_EQ(transformer.WorkTemperatureLow, -40);
    EXPECT_EQ(transformer.WorkTemperatureHigh, 40);
}

TEST_F(InstrumentTransformDialogs, CurrentBoxesDropLettersWhileTheVoltageDialogsTakeASeparator) {
    auto current = CurrentTransformer(4);
    auto voltage = VoltageTransformer(4);
    Open(current, false, [](TPropertyDialog& d) {
        Retype(d, "EditA", "6a0,0");
        EXPECT_EQ(Edit(d, "EditA")->text(), "600");
    });
    const bool changed = Open(voltage, false, [](TPropertyDialog& d) {
        Retype(d, "EditA", "6000.5");
        EXPECT_EQ(Edit(d, "EditA")->text(), "6000,5");
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(messages.informed, (Informed{{kMissing, ""}}));
    EXPECT_EQ(voltage.UnomB, 10000);
}

TEST_F(InstrumentTransformDialogs, VoltageTransformerRefusesASecondaryVoltageOf10000) {
    auto transformer = VoltageTransformer(6);
    EXPECT_TRUE(Open(transformer, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TTransformsVRefProp");
        EXPECT_EQ(d.windowTitle(), "Трансформатор напряжения");
        EXPECT_EQ(Child<QLabel>(d, "Label1")->text(), "Класс напряжения, кВ");
        EXPECT_EQ(Child<QLabel>(d, "LabelA")->text(), "Номинальное напряжение первичной обмотки, В");
        EXPECT_EQ(Child<QLabel>(d, "LabelB")->text(), "Номинальное напряжение вторичной обмотки, В");
        EXPECT_TRUE(Child<QLabel>(d, "LabelC")->text().startsWith("Падение напряжения при трехкратной перегрузке  по"));
        EXPECT_EQ(Names(Classes(d)), (QStringList{"0,2"}));
        EXPECT_EQ(Edit(d, "EditB")->text(), "100");
        Retype(d, "EditB", "10000");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditB", "100");
        Retype(d, "EditC", "1,5");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}}));
    EXPECT_EQ(transformer.UnomH, 100);
    EXPECT_EQ(transformer.VoltageDrop, 1.5);
    EXPECT_EQ(transformer.AccuracyClass, 6);
    EXPECT_EQ(transformer.PrefailureLife, 250000);
}

TEST_F(InstrumentTransformDialogs, ReadOnlyViewShowsTheClassNameInPlaceOfTheList) {
    auto transformer = CurrentTransformer(5);
    const bool changed = Open(transformer, true, [](TPropertyDialog& d) {
        EXPECT_TRUE(Edit(d, "EditBox1")->isVisible());
        EXPECT_EQ(Edit(d, "EditBox1")->text(), "1,0");
        EXPECT_EQ(Classes(d)->focusPolicy(), Qt::NoFocus);
        ExpectOnlyShows(d);
    });
    EXPECT_FALSE(changed);
}

TEST_F(InstrumentTransformDialogs, AClassOfNoMeterTypeLeavesNothingToChooseAndOkRefused) {
    auto transformer = CurrentTransformer(99);
    const bool changed = Open(transformer, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Classes(d)->count(), 0);
        EXPECT_FALSE(d.TryAccept());
        d.BitBtn1->click();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(messages.informed, (Informed{{kMissing, ""}}));
    EXPECT_EQ(transformer.AccuracyClass, 99);
}

TEST_F(InstrumentTransformDialogs, UnreadableClassesAreToldAndTheDialogStillCloses) {
    catalogue.Run(R"(DROP TABLE "MeterACs")");
    db.ConnectTo(catalogue.Path());
    auto connected = CurrentTransformer(4);
    Open(connected, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Classes(d)->count(), 0);
        d.BitBtn1->click();
    });
    context.db = nullptr;  // no database at all
    auto unconnected = VoltageTransformer(4);
    const bool changed = Open(unconnected, false, [](TPropertyDialog& d) {
        EXPECT_FALSE(d.TryAccept());
        d.BitBtn1->click();
    });
    EXPECT_FALSE(changed);
    ASSERT_EQ(messages.informed.size(), 3u);
    EXPECT_EQ(messages.informed[0].first, "Классы точности не прочитаны из базы данных.");
    EXPECT_NE(messages.informed[0].second, "");
    EXPECT_EQ(messages.informed[1].first, "Классы точности не прочитаны из базы данных.");
    EXPECT_EQ(messages.informed[1].second, "нет подключенной базы данных");
    EXPECT_EQ(messages.informed[2].first, kMissing);
}

}  // namespace
}  // namespace kelm
