// What sets single members of the station equipment apart: the motors'
// optional values, the reactors' power held as text, the instrument
// transformers' optional values and their designation column.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogue_fixture.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"

namespace kelm {
namespace {

using test::W;
using Rows = std::vector<std::vector<std::string>>;
using Names = std::vector<std::string>;

class EquipmentDatabase : public test::CatalogueDatabase {
protected:
    // Saves a copy of `record` into `c`, recording what is sent.
    template <class C, class R>
    R* SaveCopy(C& c, const R& record) {
        int index = -1;
        R* copy = static_cast<R*>(c.AddCopy(record, index));
        RecordStatements();
        Save(c);
        EXPECT_TRUE(errors.shown.empty());
        return copy;
    }
    // The one insert the save sent.
    test::StatementLog::Entry Insert() const {
        const auto inserts = log.Starting("INSERT");
        EXPECT_EQ(inserts.size(), 1u);
        return inserts.at(0);
    }
};

// --- Motors --------------------------------------------------------------------

TEST(Motors, NewRecordsHaveNoRunningValues) {
    TSyncMotors sync;
    const TSyncMotor* s = sync.NewElement();
    EXPECT_EQ(s->Pnom, 0);
    EXPECT_EQ(s->Performance, NotSet);
    EXPECT_EQ(s->CosFi, NotSet);
    EXPECT_EQ(s->n, NotSet);
    TAsyncMotors async;
    const TAsyncMotor* a = async.NewElement();
    EXPECT_EQ(a->Slip, NotSet);
    EXPECT_EQ(a->n, NotSet);
}

TEST_F(EquipmentDatabase, AsyncMotorUnsetValuesTravelAsNullAndStayOutOfTheFile) {
    TAsyncMotors source;
    TAsyncMotor* motor = source.NewElement();
    motor->Marka = "4A";
    motor->Unom = 0.4;
    motor->Pnom = 15;
    motor->CosFi = 0.88;
    motor->n = 1460;
    TAsyncMotors c;
    SaveCopy(c, *motor);
    EXPECT_EQ(Insert().params, (Names{"4A", "0.4", "15", "NULL", "0.88", "1460", "NULL"}));
    EXPECT_EQ(catalogue.Rows(R"(select "Performance","Slip","n" from "AsynchronousMotors")"),
              (Rows{{"NULL", "NULL", "1460"}}));

    TAsyncMotors back;
    Load(back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Performance, NotSet);
    EXPECT_EQ(back.GetItem(0)->Slip, NotSet);
    EXPECT_EQ(test::FieldElements(back), (Names{"Marka", "Ident", "Unom", "Pnom", "CosFi", "n"}));
}

TEST_F(EquipmentDatabase, SyncMotorSpeedZeroIsAValue) {
    TSyncMotors source;
    TSyncMotor* motor = source.NewElement();
    motor->Marka = "SD";
    motor->n = 0;
    TSyncMotors c;
    SaveCopy(c, *motor);
    EXPECT_EQ(Insert().params[5], "0");
    EXPECT_EQ(catalogue.Value(R"(select "n" from "SynchronousMotors")"), "0");
    EXPECT_NE(test::XmlOf(c).find("<n>0</n>"), std::string::npos);
}

// --- Members without optional values -------------------------------------------------

TEST_F(EquipmentDatabase, NullValuesOfCapacitorBankLoadAsZero) {
    catalogue.Run(R"(INSERT INTO "CapacitorBanks" ("Marka","Unom","Snom","dP") VALUES ('KB-1',10,NULL,NULL))");
    TCapacitorBanks c;
    Load(c);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->dP, 0);
    EXPECT_EQ(c.GetItem(0)->Snom, 0);
    EXPECT_NE(test::XmlOf(c).find("<dP>0</dP>"), std::string::npos);
}

TEST(StationEquipmentSort, TwoKeysKeepOrderAndShuntReactorsOrderByPower) {
    TBusbars busbars;
    for (double r : {3.0, 1.0, 2.0}) {
        TBusbar* b = busbars.NewElement();
        b->Marka = "ShM";
        b->Unom = 10;
        b->R = r;
    }
    busbars.Sort();
    EXPECT_EQ(busbars.GetItem(0)->R, 3);
    EXPECT_EQ(busbars.GetItem(1)->R, 1);
    EXPECT_EQ(busbars.GetItem(2)->R, 2);

    TShuntReactors reactors;
    for (double snom : {400.0, 100.0, 250.0}) {
        TShuntReactor* r = reactors.NewElement();
        r->Marka = "RTD";
        r->Unom = 500;
        r->Snom = snom;
    }
    reactors.Sort();
    EXPECT_EQ(reactors.GetItem(0)->Snom, 100);
    EXPECT_EQ(reactors.GetItem(1)->Snom, 250);
    EXPECT_EQ(reactors.GetItem(2)->Snom, 400);
    TShuntReactors source;
    TShuntReactor* middle = source.NewElement();
    *middle = *reactors.GetItem(0);
    middle->Snom = 300;
    int index = -1;
    reactors.AddCopy(*middle, index);
    EXPECT_EQ(index, 2);
}

// --- Current-limiting reactors -------------------------------------------------------

TCurrentLimitReactorsRef* AddReactor(TCurrentLimitReactorsRefs& c, const std::string& snom) {
    TCurrentLimitReactorsRef* r = c.NewElement();
    r->Marka = W("РБ");
    r->Unom = 10;
    r->Snom = snom;
    return r;
}

TEST(CurrentLimitReactors, PowerSortsAsText) {
    TCurrentLimitReactorsRefs c;
    AddReactor(c, "9");
    AddReactor(c, "10");
    c.Sort();
    EXPECT_EQ(c.GetItem(0)->Snom, "10");
    EXPECT_EQ(c.GetItem(1)->Snom, "9");
    TCurrentLimitReactorsRefs source;
    int index = -1;
    c.AddCopy(*AddReactor(source, "100"), index);
    EXPECT_EQ(index, 1);
}

TEST(CurrentLimitReactors, PowerDifferingInLetterCaseIsAnotherReactor) {
    TCurrentLimitReactorsRefs c;
    TCurrentLimitReactorsRef* stored = AddReactor(c, W("2х630"));
    TCurrentLimitReactorsRefs probe;
    EXPECT_EQ(c.FindSame(*AddReactor(probe, W("2Х630"))), nullptr);
    TCurrentLimitReactorsRef* same = AddReactor(probe, W("2х630"));
    EXPECT_EQ(c.FindSame(*same), stored);
    same->IsDouble = 1;
    EXPECT_EQ(c.FindSame(*same), nullptr);
}

TEST(CurrentLimitReactors, TwinFlagIsAlwaysWritten) {
    TCurrentLimitReactorsRefs c;
    AddReactor(c, "10")->IsDouble = 1;
    AddReactor(c, "10")->IsDouble = 0;
    const std::string xml = test::XmlOf(c);
    EXPECT_NE(xml.find("<IsDouble>1</IsDouble></KelmCurrentLimitReactorsRef><KelmCurrentLimitReactorsRef>"),
              std::string::npos);
    EXPECT_NE(xml.find("<IsDouble>0</IsDouble></KelmCurrentLimitReactorsRef></KelmCurrentLimitReactorsRefs>"),
              std::string::npos);
}

TEST(CurrentLimitReactors, TwinFlagThatIsNotAWholeNumberIsRefused) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<KelmCurrentLimitReactorsRef><IsDouble>1,5</IsDouble></KelmCurrentLimitReactorsRef>"));
    TCurrentLimitReactorsRefs c;
    EXPECT_THROW(c.LoadFromXml(doc), XmlFieldError);
}

TEST_F(EquipmentDatabase, ReactorWithEmptyPowerSendsEmptyTextNeverNull) {
    TCurrentLimitReactorsRefs source;
    TCurrentLimitReactorsRef* reactor = AddReactor(source, "");
    reactor->IsDouble = 1;
    TCurrentLimitReactorsRefs c;
    SaveCopy(c, *reactor);
    EXPECT_EQ(Insert().params, (Names{W("РБ"), "10", "", "0", "0", "1"}));
    EXPECT_EQ(catalogue.Rows(R"(select "Snom","isDouble" from "CurrentLimitReactorsRef")"), (Rows{{"", "1"}}));
    EXPECT_EQ(test::FieldElements(c), (Names{"Marka", "Ident", "Unom", "Inom", "dP", "IsDouble"}));

    TCurrentLimitReactorsRefs back;
    Load(back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Snom, "");
    EXPECT_EQ(back.GetItem(0)->IsDouble, 1);
}

// --- Instrument transformers ----------------------------------------------------------

TEST(InstrumentTransformers, NewRecordsHaveNoOptionalValues) {
    TTransformsIRefs currents;
    const TTransformsIRef* i = currents.NewElement();
    EXPECT_EQ(i->RatedLoad, NotSet);
    EXPECT_EQ(i->PrefailureLife, NotSet);
    EXPECT_EQ(i->WorkTemperatureLow, NotSet);
    EXPECT_EQ(i->WorkTemperatureHigh, NotSet);
    EXPECT_EQ(i->I1nom, 0);
    EXPECT_EQ(i->Manufacturer, "");
    TTransformsVRefs voltages;
    const TTransformsVRef* v = voltages.NewElement();
    EXPECT_EQ(v->VoltageDrop, NotSet);
    EXPECT_EQ(v->UnomH, 0);
}

TEST_F(EquipmentDatabase, CurrentTransformerWithOnlyMandatoryValues) {
    TTransformsIRefs source;
    TTransformsIRef* t = source.NewElement();
    t->Marka = W("ТЛМ-10");
    t->Unom = 10;
    t->AccuracyClass = 3;
    t->I1nom = 400;
    t->I2nom = 5;
    t->Manufacturer = "   ";  // blank is no manufacturer
    EXPECT_EQ(test::FieldElements(source), (Names{"Marka", "Ident", "Unom", "AccuracyClass", "I1nom", "I2nom"}));

    TTransformsIRefs c;
    SaveCopy(c, *t);
    EXPECT_EQ(Insert().params, (Names{W("ТЛМ-10"), "3", "400", "5", "10", "NULL", "NULL", "NULL", "NULL", "NULL"}));
    EXPECT_EQ(catalogue.Rows(R"(select "Indication","RatedLoad","Manufacturer","PrefailureLife",)"
                             R"("WorkTemperatureLow","WorkTemperatureHigh" from "TransformsIRef")"),
              (Rows{{W("ТЛМ-10"), "NULL", "NULL", "NULL", "NULL", "NULL"}}));
}

TEST_F(EquipmentDatabase, WorkingTemperatureZeroIsSet) {
    TTransformsIRefs source;
    TTransformsIRef* t = source.NewElement();
    t->Marka = "T";
    t->WorkTemperatureLow = 0;
    TTransformsIRefs c;
    SaveCopy(c, *t);
    EXPECT_EQ(Insert().params[8], "0");
    EXPECT_EQ(catalogue.Value(R"(select "WorkTemperatureLow" from "TransformsIRef")"), "0");
    EXPECT_NE(test::XmlOf(c).find("<WorkTemperatureLow>0</WorkTemperatureLow>"), std::string::npos);
}

TEST_F(EquipmentDatabase, VoltageTransformerSecondaryVoltageKeepsItsFraction) {
    catalogue.Run(R"(INSERT INTO "TransformsVRef" ("Indication","Unom","UnomB","UnomH") VALUES ('NOM',10,10000,57.735))");
    TTransformsVRefs c;
    Load(c);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, "NOM");
    EXPECT_EQ(c.GetItem(0)->UnomH, 57.735);  // equal to the file's value, so copies still find it
    EXPECT_EQ(c.GetItem(0)->VoltageDrop, NotSet);
}

TEST(InstrumentTransformers, SecondaryVoltageComparesExactlyRatedLoadLoosely) {
    TTransformsVRefs voltages;
    TTransformsVRef* v = voltages.NewElement();
    v->UnomH = 100;
    TTransformsVRefs probeV;
    TTransformsVRef* w = probeV.NewElement();
    w->UnomH = std::nextafter(100.0, 200.0);
    EXPECT_EQ(voltages.FindSame(*w), nullptr);
    w->UnomH = 100;
    EXPECT_EQ(voltages.FindSame(*w), v);

    TTransformsIRefs currents;
    TTransformsIRef* i = currents.NewElement();
    i->RatedLoad = 30;
    TTransformsIRefs probeI;
    TTransformsIRef* j = probeI.NewElement();
    j->RatedLoad = 30 + 1e-13;
    EXPECT_EQ(currents.FindSame(*j), i);
    j->Manufacturer = "x";
    EXPECT_EQ(currents.FindSame(*j), nullptr);
}

}  // namespace
}  // namespace kelm
