// Meters: the voltage as text, small integers that may be not set, and a
// save that keeps a record whose delete failed.
#include "catalogues/meters.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::StatementLog;
using test::Serialized;
using test::XmlOf;
using test::W;
using Rows = std::vector<std::vector<std::string>>;

TMetersRef* Add(TMetersRefs& c, const std::string& marka, const std::string& unom) {
    TMetersRef* m = c.NewElement();
    m->Marka = marka;
    m->UnomText = unom;
    return m;
}

std::vector<std::string> Labels(const TMetersRefs& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i) out.push_back(c.GetItem(i)->UnomText + "/" + c.GetItem(i)->Marka);
    return out;
}

// --- Records and the collection contract -----------------------------------

TEST(MetersContract, NewElementHasEveryOptionalValueNotSet) {
    TMetersRefs c;
    TMetersRef* m = c.NewElement();
    EXPECT_STREQ(m->ClassName(), "TMetersRef");
    EXPECT_EQ(m->UnomText, "");
    EXPECT_EQ(m->Unom, 0);
    EXPECT_EQ(m->Power, 0);
    EXPECT_EQ(m->Reverse, 0);
    EXPECT_EQ(m->AccuracyClass, 0);
    for (std::int16_t value : {m->RevoCount, m->NumberCount, m->CalibrationInterval, m->ServiceLife, m->Inom,
                               m->TariffCount, m->WorkTemperatureLow, m->WorkTemperatureHigh})
        EXPECT_EQ(value, NotSet);
    for (double value : {m->Sensitivity, m->Capacity, m->Pu, m->Si}) EXPECT_EQ(value, NotSet);
    EXPECT_EQ(m->PrefailureLife, NotSet);
}

TEST(MetersContract, TheContainerHoldsMetersAtIndexSixteen) {
    auto reference = NewReference();
    ASSERT_NE(reference->GetCollection(kMetersCategory), nullptr);
    EXPECT_STREQ(reference->GetCollection(kMetersCategory)->ClassName(), "TMetersRefs");
    EXPECT_EQ(dynamic_cast<TXMLClass*>(reference->GetCollection(kMetersCategory)), nullptr);  // no comment field
}

TEST(MetersContract, VoltageTextsSortByteByByteThenByMarka) {
    TMetersRefs c;
    Add(c, "B", "6");
    Add(c, "A", "10");
    Add(c, "B", "0.4");
    Add(c, "A", "6");
    Add(c, "A", "0.4");
    c.Sort();
    EXPECT_EQ(Labels(c), (std::vector<std::string>{"0.4/A", "0.4/B", "10/A", "6/A", "6/B"}));
    TMetersRefs source;
    int index = -1;
    c.AddCopy(*Add(source, "Z", "10"), index);
    EXPECT_EQ(index, 3);
    c.AddCopy(*Add(source, "A", "35"), index);
    EXPECT_EQ(index, 4);  // "35" goes after "10" and before "6"
}

TEST(MetersContract, FindSameComparesEveryField) {
    TMetersRefs c;
    TMetersRef* a = Add(c, W("СЭТ-4ТМ"), "0.4");
    a->Manufacturer = W("завод");
    a->Capacity = 2;
    a->PrefailureLife = 90000;
    TMetersRefs probe;
    TMetersRef* x = Add(probe, W("СЭТ-4ТМ"), "0.4");
    x->Manufacturer = W("завод");
    x->Capacity = 2 + 1e-13;
    x->PrefailureLife = 90000;
    EXPECT_EQ(c.FindSame(*x), a);
    x->UnomText = "0,4";  // the same voltage written otherwise is another text
    EXPECT_EQ(c.FindSame(*x), nullptr);
    x->UnomText = "0.4";
    x->WorkTemperatureLow = -40;
    EXPECT_EQ(c.FindSame(*x), nullptr);
    x->WorkTemperatureLow = NotSet;
    x->Manufacturer = "";
    EXPECT_EQ(c.FindSame(*x), nullptr);
}

// --- Exchange-file elements ----------------------------------------------------

TEST(MetersXml, WritesFieldsInOrderLeavingUnsetOnesOut) {
    TMetersRefs c;
    TMetersRef* m = Add(c, W("Меркурий 230"), "0.4");
    m->Ident = -3;
    m->Power = 3;
    m->AccuracyClass = 2;
    m->Inom = 5;
    m->WorkTemperatureLow = -40;
    m->WorkTemperatureHigh = NotSet;
    m->Pu = 0.5;
    m->PrefailureLife = 150000;
    Add(c, "   ", "");
    EXPECT_EQ(XmlOf(c),
              "<KelmMetersRefs>"
              "<KelmMetersRef><Marka>Меркурий 230</Marka><Ident>-1</Ident><Unom>0.4</Unom><Power>3</Power>"
              "<Reverse>0</Reverse><AccuracyClass>2</AccuracyClass><Inom>5</Inom>"
              "<WorkTemperatureLow>-40</WorkTemperatureLow><Pu>0,5</Pu><PrefailureLife>150000</PrefailureLife>"
              "</KelmMetersRef>"
              "<KelmMetersRef><Ident>0</Ident><Power>0</Power><Reverse>0</Reverse><AccuracyClass>0</AccuracyClass>"
              "</KelmMetersRef>"
              "</KelmMetersRefs>");
}

TEST(MetersXml, ElementRoundTripKeepsEveryValue) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<r><KelmMetersRef><Marka>ЦЭ6803В</Marka><Ident>7</Ident><Unom>3x220/380</Unom><Power>1</Power>"
        "<Reverse>1</Reverse><AccuracyClass>4</AccuracyClass><RevoCount>1600</RevoCount><NumberCount>6</NumberCount>"
        "<CalibrationInterval>16</CalibrationInterval><ServiceLife>30</ServiceLife><Manufacturer>Энергомера</Manufacturer>"
        "<Inom>10</Inom><TariffCount>4</TariffCount><WorkTemperatureLow>-40</WorkTemperatureLow>"
        "<WorkTemperatureHigh>55</WorkTemperatureHigh><Sensitivity>0,02</Sensitivity><Capacity>10</Capacity>"
        "<Pu>2</Pu><Si>0,1</Si><PrefailureLife>160000</PrefailureLife></KelmMetersRef></r>"));
    TMetersRefs c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 1);
    const TMetersRef* m = c.GetItem(0);
    EXPECT_EQ(m->UnomText, "3x220/380");
    EXPECT_EQ(m->Unom, 0);
    EXPECT_EQ(m->Manufacturer, W("Энергомера"));
    EXPECT_EQ(m->WorkTemperatureLow, -40);
    EXPECT_EQ(m->Sensitivity, 0.02);
    EXPECT_EQ(XmlOf(c), "<KelmMetersRefs>" + Serialized(doc.child("r").first_child()) + "</KelmMetersRefs>");
}

// --- Database ------------------------------------------------------------------

class MetersDatabase : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    void Save(TMetersRefs& c) { c.SaveToDatabase(db, NumberText(',')); c.ShowSaveErrors(errors); }
    void Load(TMetersRefs& c) { c.LoadFromDatabase(db, 0, ""); }
    TMetersRef* Copy(TMetersRefs& c, const TMetersRef& source) {
        int index = 0;
        return static_cast<TMetersRef*>(c.AddCopy(source, index));
    }
    void ForbidDeletes() {
        catalogue.Run(R"(CREATE EXCEPTION "NoDelete" 'deleting is not allowed')");
        catalogue.Run(R"(CREATE TRIGGER "M_BD" FOR "MetersRef" BEFORE DELETE AS BEGIN EXCEPTION "NoDelete"; END)");
    }
    FreshCatalogue catalogue;
    TRef_DataModule db;
    test::SaveErrorsRecorder errors;
    StatementLog log;
};

TEST_F(MetersDatabase, LoadsSortedByTextWithNullsAsNotSet) {
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom","WorkTemperatureLow","Sensitivity") VALUES ('B','6',-40,0.5))");
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom","Power","Inom") VALUES ('A','10',3,5))");
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom") VALUES ('C','0.4'))");
    TMetersRefs c;
    Load(c);
    EXPECT_EQ(Labels(c), (std::vector<std::string>{"0.4/C", "10/A", "6/B"}));
    const TMetersRef* c04 = c.GetItem(0);
    EXPECT_EQ(c04->Ident, 3);
    EXPECT_EQ(c04->Power, 0);  // a NULL in a mandatory column reads as 0
    EXPECT_EQ(c04->Inom, NotSet);
    EXPECT_EQ(c04->PrefailureLife, NotSet);
    EXPECT_EQ(c04->Pu, NotSet);
    EXPECT_EQ(c04->Manufacturer, "");
    EXPECT_EQ(c04->Unom, 0);
    EXPECT_EQ(c.GetItem(1)->Power, 3);
    EXPECT_EQ(c.GetItem(1)->Inom, 5);
    EXPECT_EQ(c.GetItem(2)->WorkTemperatureLow, -40);
    EXPECT_EQ(c.GetItem(2)->Sensitivity, 0.5);
}

TEST_F(MetersDatabase, OwnerFilterGivesNoMeters) {
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom") VALUES ('A','0.4'))");
    TMetersRefs c;
    db.SetStatementListener(&log);
    c.LoadFromDatabase(db, 1, "'owner'");
    EXPECT_EQ(c.Count(), 0);
    ASSERT_EQ(log.entries.size(), 1u);
    EXPECT_EQ(log.entries[0].sql, R"(Select * from "MetersRef" WHERE 1=0)");
}

TEST_F(MetersDatabase, UnsetValuesAndBlankTextsAreSentAsNull) {
    TMetersRefs source;
    TMetersRef* m = Add(source, "M", "0.4");
    m->Power = 1;
    m->WorkTemperatureLow = -40;
    m->Capacity = 1.5;
    TMetersRefs c;
    TMetersRef* copy = Copy(c, *m);
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    const auto inserts = log.Starting("INSERT INTO \"MetersRef\"");
    ASSERT_EQ(inserts.size(), 1u);
    // Marka, Power, Reverse, AccuracyClass, RevoCount .. ServiceLife, Manufacturer, Inom, Unom, TariffCount,
    // the temperatures, Sensitivity, Capacity, Pu, Si, PrefailureLife.
    EXPECT_EQ(inserts[0].params, (std::vector<std::string>{"M", "1", "0", "0", "NULL", "NULL", "NULL", "NULL", "NULL",
                                                           "NULL", "0.4", "NULL", "-40", "NULL", "NULL", "1.5", "NULL",
                                                           "NULL", "NULL"}));
    EXPECT_EQ(catalogue.Rows(R"(select "Ident","Manufacturer","Inom","WorkTemperatureLow","WorkTemperatureHigh" from "MetersRef")"),
              (Rows{{std::to_string(copy->Ident), "NULL", "NULL", "-40", "NULL"}}));

    copy->UnomText = "  ";
    copy->Manufacturer = "X";
    copy->Added = 1;
    log.entries.clear();
    Save(c);
    const auto updates = log.Starting("UPDATE \"MetersRef\"");
    ASSERT_EQ(updates.size(), 1u);
    ASSERT_EQ(updates[0].params.size(), 20u);
    EXPECT_EQ(updates[0].params[8], "X");
    EXPECT_EQ(updates[0].params[10], "NULL");
    EXPECT_EQ(updates[0].params[19], std::to_string(copy->Ident));
    EXPECT_EQ(catalogue.Rows(R"(select "Unom","Manufacturer" from "MetersRef")"), (Rows{{"NULL", "X"}}));
}

TEST_F(MetersDatabase, FailedDeleteKeepsRecordMarked) {
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom") VALUES ('kept','0.4'))");
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom") VALUES ('other','10'))");
    ForbidDeletes();
    TMetersRefs c;
    Load(c);
    c.MarkDeleted(c.GetItem(0));
    Save(c);
    ASSERT_EQ(c.Count(), 2);
    EXPECT_EQ(c.GetItem(0)->Marka, "kept");
    EXPECT_EQ(c.GetItem(0)->Deleted, 1);  // tried again by the next save
    ASSERT_EQ(errors.shown.size(), 1u);
    // The line names the voltage text and no number.
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{"kept (0.4 " + W("кВ") + ")"}));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "MetersRef")"), "2");
}

TEST_F(MetersDatabase, SuccessfulDeleteDropsTheRecord) {
    catalogue.Run(R"(INSERT INTO "MetersRef" ("Indication","Unom") VALUES ('gone','0.4'))");
    TMetersRefs c;
    Load(c);
    c.MarkDeleted(c.GetItem(0));
    Save(c);
    EXPECT_EQ(c.Count(), 0);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "MetersRef")"), "0");
}

TEST_F(MetersDatabase, FailedInsertNamesMarkaAndVoltageText) {
    TMetersRefs source;
    TMetersRefs c;
    Copy(c, *Add(source, std::string(150, 'x'), "3x57,7/100"));  // the designation does not fit its column
    Copy(c, *Add(source, "fine", "0.4"));
    Save(c);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{std::string(150, 'x') + " (3x57,7/100 " + W("кВ") + ")"}));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "MetersRef")"), "1");
}

TEST_F(MetersDatabase, FileElementsSurviveTheDatabaseRoundTrip) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<KelmMetersRef><Marka>ЦЭ6803В</Marka><Unom>0,4</Unom><Power>1</Power><Reverse>1</Reverse>"
        "<AccuracyClass>4</AccuracyClass><RevoCount>1600</RevoCount><Manufacturer>Энергомера</Manufacturer>"
        "<Inom>10</Inom><WorkTemperatureLow>-40</WorkTemperatureLow><Sensitivity>0,02</Sensitivity>"
        "<Si>0,1</Si><PrefailureLife>160000</PrefailureLife></KelmMetersRef>"));
    TMetersRefs file;
    file.LoadFromXml(doc);
    TMetersRefs c;
    Copy(c, *file.GetItem(0));
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    TMetersRefs back;
    Load(back);
    file.GetItem(0)->Ident = back.GetItem(0)->Ident;  // the target database's own identifier
    EXPECT_EQ(XmlOf(back), XmlOf(file));
}

}  // namespace
}  // namespace kelm
