// Lines and cables: the conductor type table, the null conductors of
// low-voltage cables and the voltage registry.
#include "catalogues/provods.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::StatementLog;
using test::XmlOf;
using test::W;
using Rows = std::vector<std::vector<std::string>>;

TProvod* Add(TProvods& c, const std::string& marka, double unom, double f) {
    TProvod* p = c.NewElement();
    p->Marka = marka;
    p->Unom = unom;
    p->F = f;
    return p;
}

// A 0.4 kV cable whose null conductor is thinner than its phases.
TProvod* Cable(TProvods& c, const std::string& marka, double f) {
    TProvod* p = Add(c, marka, 0.4, f);
    p->Name = W("кабель");
    p->CableFlags = kCableFlag | 1;
    p->R0 = 0.32;
    p->X0 = 0.06;
    p->Idop = 200;
    p->PhaseNull_F = f / 2;
    p->PhaseNull_R0 = 0.64;
    p->PhaseNull_X0 = 0.07;
    p->PhaseNull_Idop = 120;
    p->NumberPhases = 4;
    return p;
}

void MakeNullConductorEqual(TProvod& p) {
    p.PhaseNull_F = p.F;
    p.PhaseNull_R0 = p.R0;
    p.PhaseNull_X0 = p.X0;
    p.PhaseNull_B0 = p.B0;
    p.PhaseNull_Idop = p.Idop;
}

bool MentionsCables(const StatementLog& log) {
    for (const auto& e : log.entries)
        if (e.sql.find("\"Cables\"") != std::string::npos) return true;
    return false;
}

// --- Records and the collection contract -----------------------------------

TEST(ProvodsContract, NewElementHasTheLineDefaults) {
    TProvods c;
    TProvod* p = c.NewElement();
    EXPECT_STREQ(p->ClassName(), "TProvod");
    EXPECT_EQ(p->Name, "ac");
    EXPECT_EQ(p->NumberPhases, 3);
    EXPECT_EQ(p->ProvodType, 0);
    EXPECT_EQ(p->R0, 0);
    EXPECT_EQ(p->Idop, 0);
    for (double value : {p->B0, p->G0, p->TgDelta, p->PhaseNull_F, p->PhaseNull_R0, p->PhaseNull_X0, p->PhaseNull_B0})
        EXPECT_EQ(value, NotSet);
    EXPECT_EQ(p->PhaseNull_Idop, NotSet);
}

// The conductor type takes part by its content (voltage, name, cable flags),
// never by the row identifier one database gave it.
TEST(ProvodsContract, FindSameComparesMarkaSectionAndTheTypesContent) {
    TProvods c;
    TProvod* a = Add(c, "AC-70", 110, 70);
    a->ProvodType = 3;
    a->R0 = 0.42;
    a->AddStr = "one";
    TProvods probe;
    TProvod* x = Add(probe, "AC-70", 110 + 1e-13, 70 + 1e-13);  // another type row, another resistance
    x->ProvodType = 9;
    x->R0 = 0.5;
    x->AddStr = "two";
    EXPECT_EQ(c.FindSame(*x), a);
    EXPECT_EQ(c.FindSameWithComment(*x), nullptr);
    x->AddStr = "one";
    EXPECT_EQ(c.FindSameWithComment(*x), a);
    for (auto change : std::vector<void (*)(TProvod&)>{[](TProvod& r) { r.Name = "other"; },
                                                       [](TProvod& r) { r.CableFlags = kCableFlag; },
                                                       [](TProvod& r) { r.Unom = 35; },
                                                       [](TProvod& r) { r.F = 95; }}) {
        TProvod changed = *x;
        change(changed);
        EXPECT_EQ(c.FindSame(changed), nullptr);
    }
}

TEST(ProvodsContract, SortsByVoltageMarkaAndSection) {
    TProvods c;
    Add(c, "AC", 10, 120);
    Add(c, "AC", 10, 70);
    Add(c, "A", 10, 150);
    Add(c, "Z", 0.4, 16);
    c.Sort();
    std::vector<std::pair<std::string, double>> order;
    for (int i = 0; i < c.Count(); ++i) order.emplace_back(c.GetItem(i)->Marka, c.GetItem(i)->F);
    EXPECT_EQ(order, (std::vector<std::pair<std::string, double>>{{"Z", 16}, {"A", 150}, {"AC", 70}, {"AC", 120}}));
    TProvods source;
    int index = -1;
    c.AddCopy(*Add(source, "AC", 10, 95), index);
    EXPECT_EQ(index, 3);
}

TEST(ProvodsContract, LowVoltageCableNeedsTheCableBitAndLessThanOneKilovolt) {
    TProvod p;
    p.Unom = 0.4;
    p.CableFlags = 1;
    EXPECT_FALSE(IsLowVoltageCable(p));
    p.CableFlags = 3;
    EXPECT_TRUE(IsLowVoltageCable(p));
    p.Unom = 1;
    EXPECT_FALSE(IsLowVoltageCable(p));
}

TEST(ProvodsContract, TheContainerHoldsLinesAtIndexZero) {
    auto reference = NewReference();
    ASSERT_NE(reference->GetCollection(0), nullptr);
    EXPECT_STREQ(reference->GetCollection(0)->ClassName(), "TProvods");
    EXPECT_NE(dynamic_cast<TXMLClass*>(reference->GetCollection(0)), nullptr);
}

// --- Exchange-file elements ----------------------------------------------------

TEST(ProvodsXml, WritesFieldsInOrderLeavingUnsetOnesOut) {
    TProvods c;
    TProvod* line = Add(c, "AC-70/11", 110, 70);
    line->Ident = 5;
    line->ProvodType = 2;
    line->R0 = 0.428;
    line->X0 = 0.444;
    line->B0 = 2.547;
    line->Idop = 265;
    TProvod* cable = Cable(c, W("АВВГ 4х50"), 50);
    cable->Ident = -2;
    cable->AddStr = W("медь");
    EXPECT_EQ(XmlOf(c),
              "<KelmProvods>"
              "<KelmProvod><B0>2,547</B0><Ident>5</Ident><Marka>AC-70/11</Marka><R0>0,428</R0><X0>0,444</X0>"
              "<F>70</F><Idop>265</Idop><ProvodType>2</ProvodType><Unom>110</Unom><CableFlags>0</CableFlags>"
              "<NumberPhases>3</NumberPhases><Name>ac</Name></KelmProvod>"
              "<KelmProvod><AddStr>медь</AddStr><Ident>-1</Ident><Marka>АВВГ 4х50</Marka><R0>0,32</R0>"
              "<X0>0,06</X0><F>50</F><Idop>200</Idop><ProvodType>0</ProvodType><Unom>0,4</Unom>"
              "<CableFlags>3</CableFlags><PhaseNull_F>25</PhaseNull_F><PhaseNull_R0>0,64</PhaseNull_R0>"
              "<PhaseNull_X0>0,07</PhaseNull_X0><PhaseNull_Idop>120</PhaseNull_Idop>"
              "<NumberPhases>4</NumberPhases><Name>кабель</Name></KelmProvod>"
              "</KelmProvods>");
}

TEST(ProvodsXml, ElementWithoutNameIsAnOverheadLineOfThreePhases) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<r><KelmProvod><Name>ac</Name><Marka>AC-95</Marka><F>95</F><B0>2,6</B0></KelmProvod>"
        "<KelmProvod><Unom>10</Unom><Marka>AC-50</Marka><F>50</F><Name></Name></KelmProvod></r>"));
    TProvods c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 2);
    const TProvod* p = c.GetItem(1);
    EXPECT_EQ(p->Name, "ac");
    EXPECT_EQ(p->NumberPhases, 3);
    EXPECT_EQ(p->Unom, 10);
    EXPECT_EQ(p->B0, NotSet);
    EXPECT_EQ(p->PhaseNull_Idop, NotSet);
    EXPECT_EQ(c.GetItem(0)->B0, 2.6);
}

TEST(ProvodsXml, ElementRoundTripKeepsEveryValue) {
    TProvods c;
    TProvod* p = Cable(c, W("ААБл \"особый\" <&>"), 120);
    p->Ident = 9;
    p->ProvodType = 4;
    p->B0 = 0.1 + 0.2;
    p->G0 = 1e-6;
    p->TgDelta = 0.002;
    p->PhaseNull_B0 = 0.15;
    p->AddStr = W("  с пробелами  ");
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    TProvods back;
    back.LoadFromXml(doc);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(XmlOf(back), test::Serialized(doc));
    EXPECT_DOUBLE_EQ(back.GetItem(0)->B0, 0.3);
    EXPECT_EQ(back.FindSameWithComment(*p), back.GetItem(0));
}

// --- Database ------------------------------------------------------------------

class ProvodsDatabase : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    void Save(TProvods& c) { c.SaveToDatabase(db, NumberText(',')); c.ShowSaveErrors(errors); }
    void Load(TProvods& c) { c.LoadFromDatabase(db, 0, ""); }
    TProvod* Copy(TProvods& c, const TProvod& source) {
        int index = 0;
        return static_cast<TProvod*>(c.AddCopy(source, index));
    }
    // Types get 1, 2, ... and lines 1, 2, ... in the order they are added (names in UTF-8).
    void AddType(double unom, const std::string& name, int flags) {
        catalogue.Run(R"(INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES ()" + std::to_string(unom) +
                      ",'" + name + "'," + std::to_string(flags) + ")");
    }
    FreshCatalogue catalogue;
    TRef_DataModule db;
    test::SaveErrorsRecorder errors;
    StatementLog log;
};

TEST_F(ProvodsDatabase, LoadsLinesWithTheirTypesSorted) {
    AddType(110, "ac", 0);
    AddType(0.4, "кабель", 3);
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,B0,"Idop","Hide") VALUES (1,'AC-95',95,0.3,0.43,2.6,330,1))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop","G0","TgDelta") VALUES (1,'AC-70',70,0.42,0.44,265,0.5,0.01))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (2,'AVVG',50))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (99,'no type',50))");
    TProvods c;
    Load(c);
    ASSERT_EQ(c.Count(), 3);  // a line without its type row is not read
    EXPECT_EQ(c.GetItem(0)->Marka, "AVVG");
    EXPECT_EQ(c.GetItem(0)->Name, W("кабель"));
    EXPECT_EQ(c.GetItem(0)->CableFlags, 3);
    EXPECT_EQ(c.GetItem(0)->Unom, 0.4);
    const TProvod* ac70 = c.GetItem(1);
    EXPECT_EQ(ac70->Marka, "AC-70");
    EXPECT_EQ(ac70->Ident, 2);
    EXPECT_EQ(ac70->ProvodType, 1);
    EXPECT_EQ(ac70->F, 70);
    EXPECT_EQ(ac70->Unom, 110);
    EXPECT_EQ(ac70->Name, "ac");
    EXPECT_EQ(ac70->B0, NotSet);
    EXPECT_EQ(ac70->G0, 0.5);
    EXPECT_EQ(ac70->TgDelta, 0.01);
    EXPECT_EQ(ac70->Idop, 265);
    const TProvod* ac95 = c.GetItem(2);
    EXPECT_EQ(ac95->B0, 2.6);
    EXPECT_EQ(ac95->G0, NotSet);
    EXPECT_EQ(ac95->TgDelta, NotSet);
}

TEST_F(ProvodsDatabase, NullConductorIsReadOnlyForLowVoltageCables) {
    AddType(0.4, "cable", 2);
    AddType(6, "cable", 2);
    AddType(0.4, "line", 1);
    for (int type : {1, 1, 2, 3, 1})
        catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,"Idop") VALUES ()" + std::to_string(type) +
                      ",'L" + std::to_string(type) + "',50,100)");
    // Rows for line 1 (full), 2 (NULLs), 3 (a 6 kV cable) and 4 (not a cable); line 5 has none.
    catalogue.Run(R"(INSERT INTO "Cables" VALUES (1,4,25,1.2,0.07,0.5,90))");
    catalogue.Run(R"(INSERT INTO "Cables" ("Ident","PhaseNull_F") VALUES (2,35))");
    catalogue.Run(R"(INSERT INTO "Cables" VALUES (3,4,25,1.2,0.07,0.5,90))");
    catalogue.Run(R"(INSERT INTO "Cables" VALUES (4,4,25,1.2,0.07,0.5,90))");
    TProvods c;
    Load(c);
    ASSERT_EQ(c.Count(), 5);
    auto byIdent = [&](int ident) {
        for (int i = 0; i < c.Count(); ++i)
            if (c.GetItem(i)->Ident == ident) return c.GetItem(i);
        throw std::runtime_error("no line " + std::to_string(ident));
    };
    const TProvod* full = byIdent(1);
    EXPECT_EQ(full->PhaseNull_F, 25);
    EXPECT_EQ(full->PhaseNull_R0, 1.2);
    EXPECT_EQ(full->PhaseNull_X0, 0.07);
    EXPECT_EQ(full->PhaseNull_B0, 0.5);
    EXPECT_EQ(full->PhaseNull_Idop, 90);
    EXPECT_EQ(full->NumberPhases, 4);
    // NULL columns read as 0, but the susceptance stays not set and three phases the default.
    const TProvod* sparse = byIdent(2);
    EXPECT_EQ(sparse->PhaseNull_F, 35);
    EXPECT_EQ(sparse->PhaseNull_R0, 0);
    EXPECT_EQ(sparse->PhaseNull_X0, 0);
    EXPECT_EQ(sparse->PhaseNull_B0, NotSet);
    EXPECT_EQ(sparse->PhaseNull_Idop, 0);
    EXPECT_EQ(sparse->NumberPhases, 3);
    for (int ident : {3, 4, 5}) {
        EXPECT_EQ(byIdent(ident)->PhaseNull_F, NotSet) << ident;
        EXPECT_EQ(byIdent(ident)->NumberPhases, 3) << ident;
    }
}

TEST_F(ProvodsDatabase, OwnerFilterReadsTheLinesOfTheOwners) {
    AddType(10, "ac", 0);
    for (const char* marka : {"single", "double", "foreign", "unused"})
        catalogue.Run(std::string(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (1,')") + marka + "',50)");
    catalogue.Run(R"(INSERT INTO "Lines" VALUES ('g1',1,'me'))");
    catalogue.Run(R"(INSERT INTO "Lines" VALUES ('g2',1,'me'))");
    catalogue.Run(R"(INSERT INTO "DoubleLines" VALUES ('g2',2))");
    catalogue.Run(R"(INSERT INTO "Lines" VALUES ('g3',3,'someone'))");
    TProvods c;
    c.LoadFromDatabase(db, 1, "'me'");
    std::vector<std::string> markas;
    for (int i = 0; i < c.Count(); ++i) markas.push_back(c.GetItem(i)->Marka);
    EXPECT_EQ(markas, (std::vector<std::string>{"double", "single"}));
}

TEST_F(ProvodsDatabase, NewTypeIsCreatedOnceAndSharedByTheSameSave) {
    AddType(10, "ac", 0);
    TProvods source;
    TProvods c;
    TProvod* known = Copy(c, *Add(source, "AC-50", 10, 50));
    TProvod* first = Copy(c, *Cable(source, "AVVG", 50));
    TProvod* second = Copy(c, *Cable(source, "AVVG", 70));
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(known->ProvodType, 1);
    EXPECT_EQ(first->ProvodType, 2);
    EXPECT_EQ(second->ProvodType, 2);
    ASSERT_EQ(log.Starting("INSERT INTO \"ProvodTypes\"").size(), 1u);
    EXPECT_EQ(log.Starting("INSERT INTO \"ProvodTypes\"")[0].params, (std::vector<std::string>{"0.4", W("кабель"), "3"}));
    EXPECT_EQ(catalogue.Rows(R"(select "Ident","Unom","Name","CableFlags" from "ProvodTypes" order by 1)"),
              (Rows{{"1", "10", "ac", "0"}, {"2", "0.4", W("кабель"), "3"}}));
    EXPECT_EQ(catalogue.Rows(R"(select "Marka",F,"ProvodType","Hide" from "Provods" order by F, "Marka")"),
              (Rows{{"AC-50", "50", "1", "NULL"}, {"AVVG", "50", "2", "NULL"}, {"AVVG", "70", "2", "NULL"}}));
}

TEST_F(ProvodsDatabase, RowsTakeTheIdentifiersTheDatabaseAssigned) {
    // Another user inserts a type and a line between our generator reads and our inserts.
    struct Intruder : StatementListener {
        const FreshCatalogue* catalogue;
        int done = 0;
        void StatementRun(const std::string& sql, const std::vector<ParamValue>&) override {
            if (sql.rfind(" INSERT INTO \"ProvodTypes\"", 0) == 0 || sql.rfind("INSERT INTO \"Provods\"", 0) == 0) {
                ++done;
                catalogue->Run(R"(INSERT INTO "ProvodTypes" ("Name") VALUES ('theirs )" + std::to_string(done) + "')");
                catalogue->Run(R"(INSERT INTO "Provods" ("Marka") VALUES ('theirs'))");
            }
        }
    } intruder;
    intruder.catalogue = &catalogue;
    db.SetStatementListener(&intruder);
    TProvods source;
    TProvods c;
    TProvod* mine = Copy(c, *Add(source, "mine", 10, 50));
    Save(c);
    ASSERT_EQ(intruder.done, 2);
    EXPECT_EQ(catalogue.Rows(R"(select "Ident","ProvodType" from "Provods" where "Marka"='mine')"),
              (Rows{{std::to_string(mine->Ident), std::to_string(mine->ProvodType)}}));
    EXPECT_EQ(catalogue.Value(R"(select "Name" from "ProvodTypes" where "Ident"=)" + std::to_string(mine->ProvodType)),
              "ac");
}

TEST_F(ProvodsDatabase, EveryVoltageIsRegisteredEvenWhenNothingChanged) {
    AddType(110, "ac", 0);
    AddType(0.4, "ac", 0);
    catalogue.Run(R"(INSERT INTO "Unom" VALUES (110))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (1,'AC-70',70))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (2,'A-16',16))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F) VALUES (2,'A-25',25))");
    TProvods c;
    Load(c);
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_EQ(catalogue.Rows(R"(select "Unom" from "Unom" order by 1)"), (Rows{{"0.4"}, {"110"}}));
    for (const auto& e : log.entries) EXPECT_NE(e.sql.find("\"Unom\""), std::string::npos) << e.sql;
    EXPECT_EQ(c.Count(), 3);
}

TEST_F(ProvodsDatabase, NullConductorEqualToThePhasesSendsADeleteInstead) {
    TProvods source;
    TProvod* same = Cable(source, "AVVG 4x50", 50);
    MakeNullConductorEqual(*same);
    TProvods c;
    TProvod* copy = Copy(c, *same);
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Provods")"), "1");
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Cables")"), "0");
    const auto deletes = log.Starting("delete from \"Cables\"");
    ASSERT_EQ(deletes.size(), 1u);
    EXPECT_EQ(deletes[0].params, (std::vector<std::string>{std::to_string(copy->Ident)}));
    EXPECT_TRUE(log.Starting("INSERT INTO \"Cables\"").empty());
}

TEST_F(ProvodsDatabase, NullConductorRowIsInsertedThenUpdatedByItsIdentifier) {
    TProvods source;
    TProvods c;
    TProvod* cable = Copy(c, *Cable(source, "AVVG 3x50+1x25", 50));
    Save(c);
    const std::string ident = std::to_string(cable->Ident);
    EXPECT_EQ(catalogue.Rows(R"(select * from "Cables")"), (Rows{{ident, "4", "25", "0.64", "0.07", "NULL", "120"}}));

    cable->PhaseNull_F = 35;
    cable->PhaseNull_B0 = 0.2;
    cable->Added = 1;
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    const auto updates = log.Starting("UPDATE \"Cables\"");
    ASSERT_EQ(updates.size(), 1u);
    // ":p1" stands twice, in the assignment and in the condition.
    EXPECT_EQ(updates[0].params, (std::vector<std::string>{ident, "4", "35", "0.64", "0.07", "0.2", "120", ident}));
    EXPECT_EQ(catalogue.Rows(R"(select * from "Cables")"), (Rows{{ident, "4", "35", "0.64", "0.07", "0.2", "120"}}));

    // The update of "Provods" carries the identifier in the last position.
    const auto lineUpdates = log.Starting("UPDATE \"Provods\"");
    ASSERT_EQ(lineUpdates.size(), 1u);
    EXPECT_EQ(lineUpdates[0].params.size(), 11u);
    EXPECT_EQ(lineUpdates[0].params.back(), ident);
}

TEST_F(ProvodsDatabase, CablesOfOneKilovoltAndMoreNeverTouchTheCablesTable) {
    TProvods source;
    TProvods c;
    TProvod* six = Cable(source, "AAShv", 95);
    six->Unom = 6;
    Copy(c, *six);
    TProvod* equal = Cable(source, "AAShv", 120);
    equal->Unom = 10;
    MakeNullConductorEqual(*equal);
    Copy(c, *equal);
    TProvod* lowLine = Cable(source, "line", 16);
    lowLine->CableFlags = 1;  // no cable bit
    Copy(c, *lowLine);
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Provods")"), "3");
    EXPECT_FALSE(MentionsCables(log));

    // Reloading does not ask for their null conductors either.
    TProvods back;
    log.entries.clear();
    Load(back);
    EXPECT_FALSE(MentionsCables(log));
}

TEST_F(ProvodsDatabase, DeletingALineLeavesItsCablesRow) {
    TProvods source;
    TProvods c;
    Copy(c, *Cable(source, "AVVG", 50));
    Save(c);
    c.MarkDeleted(c.GetItem(0));
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_EQ(c.Count(), 0);
    ASSERT_EQ(log.Starting("delete").size(), 1u);
    EXPECT_EQ(log.Starting("delete")[0].sql, R"(delete from "Provods" where "Ident"=:p1)");
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Provods")"), "0");
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Cables")"), "1");
}

TEST_F(ProvodsDatabase, FailedLineIsUndoneButKeepsTheSharedTypeAndVoltageAndNamesSection) {
    TProvods source;
    TProvods c;
    const std::string tooLong(150, 'x');  // does not fit the column
    TProvod* failing = Copy(c, *Add(source, tooLong, 35, 120));
    failing->Name = "new type";
    Copy(c, *Add(source, "fine", 10.5, 70));
    Save(c);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{tooLong + "-120 (35 " + W("кВ") + ")"}));
    EXPECT_EQ(failing->Added, 1);
    // Types and voltages are committed on their own, for every writer to share.
    EXPECT_EQ(catalogue.Rows(R"(select "Name" from "ProvodTypes" order by "Unom")"), (Rows{{"ac"}, {"new type"}}));
    EXPECT_EQ(catalogue.Rows(R"(select "Unom" from "Unom" order by 1)"), (Rows{{"10.5"}, {"35"}}));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Provods")"), "1");
}

// A row written by another program without a cross-section is still a null
// conductor: a copy to another database keeps the row and its values.
TEST_F(ProvodsDatabase, ACablesRowWithoutCrossSectionIsCopiedWhole) {
    AddType(0.4, "cable", 2);
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop") VALUES (1,'AVVG',50,0.62,0.06,175))");
    catalogue.Run(R"(INSERT INTO "Cables" ("Ident","PhaseNull_R0","PhaseNull_X0","PhaseNull_Idop") VALUES (1,1.24,0.07,120))");
    TProvods loaded;
    Load(loaded);
    FreshCatalogue other;
    db.ConnectTo(other.Path());
    TProvods target;
    Copy(target, *loaded.GetItem(0));
    Save(target);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(other.Rows(R"(select * from "Cables")"), (Rows{{"1", "3", "0", "1.24", "0.07", "NULL", "120"}}));
}

TEST_F(ProvodsDatabase, CablesRoundTripThroughFileAndAnotherDatabase) {
    AddType(0.4, "кабель", 3);
    AddType(10, "ac", 0);
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop",G0) VALUES (1,'AVVG',50,'cu',0.62,0.06,0.3,175,0.001))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop","TgDelta") VALUES (2,'AC-70',70,0.42,0.44,265,0.02))");
    catalogue.Run(R"(INSERT INTO "Cables" VALUES (1,4,25,1.24,0.07,0.15,120))");
    TProvods loaded;
    Load(loaded);
    pugi::xml_document file;
    loaded.SaveToXml(file, NumberText(','));

    TProvods fromFile;
    fromFile.LoadFromXml(file);
    FreshCatalogue other;
    db.ConnectTo(other.Path());
    TProvods target;
    for (int i = 0; i < fromFile.Count(); ++i) Copy(target, *fromFile.GetItem(i));
    Save(target);
    EXPECT_TRUE(errors.shown.empty());
    TProvods back;
    Load(back);
    // A fresh database gives the types and lines the same identifiers in the same order.
    EXPECT_EQ(XmlOf(back), test::Serialized(file));
}

}  // namespace
}  // namespace kelm
