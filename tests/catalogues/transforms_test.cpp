// The collection contract, exercised on its model category.
#include "catalogues/transforms.h"

#include <gtest/gtest.h>

#include <random>

#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::W;

TTransform* Add(TTransforms& c, const std::string& marka, double unom, double snom) {
    TTransform* t = c.NewElement();
    t->Marka = marka;
    t->Unom = unom;
    t->Snom = snom;
    return t;
}

std::vector<std::string> Markas(const TTransforms& c) {
    std::vector<std::string> out;
    for (int i = 0; i < c.Count(); ++i) out.push_back(c.GetItem(i)->Marka);
    return out;
}

// --- Records and the collection contract -----------------------------------

TEST(TransformsContract, NewElementAppendsWithDefaults) {
    TTransforms c;
    TTransform* t = c.NewElement();
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0), t);
    EXPECT_EQ(c.GetItem(1), nullptr);
    EXPECT_EQ(c.GetItem(-1), nullptr);
    EXPECT_EQ(t->NumberOtp, NotSet);
    EXPECT_EQ(t->DeltaUotp, -1000.0);
    EXPECT_EQ(t->Ixx, 0);
    EXPECT_EQ(t->Deleted, 0);
    EXPECT_EQ(t->Added, 0);
    EXPECT_STREQ(t->ClassName(), "TTransform");
    EXPECT_STREQ(c.ClassName(), "TTransforms");
}

TEST(TransformsContract, MarkAndRemoveTouchOnlyOwnRecords) {
    TTransforms c, other;
    TTransform* mine = Add(c, "T", 10, 100);
    TTransform* foreign = Add(other, "T", 10, 100);
    c.MarkDeleted(foreign);
    EXPECT_EQ(foreign->Deleted, 0);
    c.MarkDeleted(mine);
    EXPECT_EQ(mine->Deleted, 1);
    c.RemoveElement(foreign);
    EXPECT_EQ(c.Count(), 1);
    c.RemoveElement(mine);
    EXPECT_EQ(c.Count(), 0);
}

TEST(TransformsContract, FindSameIgnoresCommentAndFuzzOfVoltage) {
    TTransforms c;
    TTransform* a = Add(c, "T", 10, 100);
    a->AddStr = "first";
    a->Deleted = 1;  // marked records are found too
    TTransforms probe;
    TTransform* x = Add(probe, "T", 10 + 1e-13, 100);
    x->AddStr = "second";
    EXPECT_EQ(c.FindSame(*x), a);
    EXPECT_EQ(c.FindSameWithComment(*x), nullptr);
    x->AddStr = "first";
    EXPECT_EQ(c.FindSameWithComment(*x), a);

    x->NumberOtp = 0;  // 0 is a value, unlike NotSet
    EXPECT_EQ(c.FindSame(*x), nullptr);
    x->NumberOtp = NotSet;
    x->Marka = "t";  // exact, case-sensitive
    EXPECT_EQ(c.FindSame(*x), nullptr);
}

TEST(TransformsContract, FindSameReturnsTheFirstEqualRecord) {
    TTransforms c;
    Add(c, "A", 6, 100);
    TTransform* first = Add(c, "T", 10, 100);
    Add(c, "T", 10, 100);
    EXPECT_EQ(c.FindSame(*first), first);
}

TEST(TransformsContract, AddCopyLandsAtItsSortedPosition) {
    TTransforms c;
    TTransforms source;
    TTransform* only = Add(source, "T", 10, 250);
    only->NumberOtp = 8;
    only->AddStr = W("комментарий");
    int index = -1;
    TTransform* copy = static_cast<TTransform*>(c.AddCopy(*only, index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(c.GetItem(0), copy);
    EXPECT_EQ(copy->Ident, -1);
    EXPECT_EQ(copy->Added, 1);
    EXPECT_EQ(copy->NumberOtp, 8);
    EXPECT_EQ(copy->AddStr, W("комментарий"));
    EXPECT_EQ(copy->DeltaUotp, NotSet);

    Add(c, "T", 10, 400);
    Add(c, "T", 35, 100);
    // Equal Unom and Marka: in front of the first larger Snom.
    EXPECT_EQ(Markas(c), (std::vector<std::string>{"T", "T", "T"}));
    TTransform* middle = Add(source, "T", 10, 300);
    c.AddCopy(*middle, index);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(static_cast<TTransform*>(c.GetItem(1))->Snom, 300);
    // Larger than all: last.
    c.AddCopy(*Add(source, "Z", 110, 1), index);
    EXPECT_EQ(index, 4);
    // A lower voltage goes first.
    c.AddCopy(*Add(source, "Z", 6, 1), index);
    EXPECT_EQ(index, 0);
}

TEST(TransformsContract, InsertPositionCountsTheFreshSlot) {
    TTransforms c;
    Add(c, "B", 10, 100);
    Add(c, "A", 10, 100);  // not sorted: the first record that sorts after wins
    TTransforms probe;
    TTransform* x = Add(probe, "A", 10, 50);
    c.NewElement();  // the slot AddCopy appends before asking
    EXPECT_EQ(c.InsertPosition(*x), 0);
    x->Marka = "C";
    EXPECT_EQ(c.InsertPosition(*x), 2);
}

TEST(TransformsContract, CopyValuesKeepsTheMarks) {
    TTransforms c;
    TTransform* source = Add(c, "T", 10, 100);
    source->Ident = 7;
    source->AddStr = "x";
    source->Added = 1;
    TTransform target;
    target.Deleted = 1;
    CopyValues(*source, &target);
    EXPECT_EQ(target.Ident, 7);
    EXPECT_EQ(target.AddStr, "x");
    EXPECT_EQ(target.NumberOtp, NotSet);
    EXPECT_EQ(target.Deleted, 1);
    EXPECT_EQ(target.Added, 0);
    CopyValues(*source, static_cast<TTransform*>(nullptr));  // nothing happens
}

// --- Sort --------------------------------------------------------------------

// The order the product defines: a selection sort by moving, in which a
// candidate replaces the minimum only when it goes strictly in front of it.
std::vector<const TTransform*> SelectionSorted(std::vector<const TTransform*> items) {
    auto before = [](const TTransform& c, const TTransform& m) {
        if (m.Unom > c.Unom) return true;
        if (SameValue(m.Unom, c.Unom)) {
            if (CompareBytes(m.Marka, c.Marka) > 0) return true;
            if (m.Marka == c.Marka && m.Snom > c.Snom) return true;
        }
        return false;
    };
    for (std::size_t i = 0; i + 1 < items.size(); ++i) {
        std::size_t m = i;
        for (std::size_t c = i + 1; c < items.size(); ++c)
            if (before(*items[c], *items[m])) m = c;
        std::rotate(items.begin() + i, items.begin() + m, items.begin() + m + 1);
    }
    return items;
}

TEST(TransformsSort, GivesTheSelectionSortOrder) {
    std::mt19937 random(2024);
    const std::vector<double> voltages = {0.4, 6, 10, 10 + 1e-13, 10 - 2e-13, 35, 110, 110.0000001};
    const std::vector<std::string> markas = {"T", "TM", W("ТМ"), W("ТД"), "t", "", W("ТМ-1")};
    for (int round = 0; round < 50; ++round) {
        TTransforms c;
        const int n = 1 + round * 7;
        for (int i = 0; i < n; ++i) {
            TTransform* t = Add(c, markas[random() % markas.size()], voltages[random() % voltages.size()],
                                static_cast<double>(random() % 4) * 100);
            t->Ident = i;  // tells equal records apart
        }
        std::vector<const TTransform*> before;
        for (int i = 0; i < c.Count(); ++i) before.push_back(c.GetItem(i));
        const auto expected = SelectionSorted(before);
        c.Sort();
        for (int i = 0; i < c.Count(); ++i) ASSERT_EQ(c.GetItem(i), expected[i]) << "round " << round << " at " << i;
    }
}

TEST(TransformsSort, OrdersByVoltageThenBytesThenPowerAndKeepsTies) {
    TTransforms c;
    Add(c, W("ТМ"), 10, 400)->Ident = 1;
    Add(c, "TM", 10, 100)->Ident = 2;
    Add(c, W("ТМ"), 10, 100)->Ident = 3;
    Add(c, W("ТМ"), 10, 100)->Ident = 4;
    Add(c, "Z", 6, 999)->Ident = 5;
    c.Sort();
    std::vector<int> idents;
    for (int i = 0; i < c.Count(); ++i) idents.push_back(c.GetItem(i)->Ident);
    // Latin before Cyrillic (byte order); equal keys keep their order.
    EXPECT_EQ(idents, (std::vector<int>{5, 2, 3, 4, 1}));
}

// --- Exchange-file elements ----------------------------------------------------

std::string Serialized(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

TEST(TransformsXml, WritesFieldsInOrderLeavingUnsetOnesOut) {
    TTransforms c;
    TTransform* t = Add(c, W("ТМ-100"), 10.5, 100);
    t->Ident = -5;
    t->Pxx = 0.33;
    t->Uk = 4.5;
    TTransform* blank = Add(c, "   ", 0.4, 25);
    blank->NumberOtp = 0;
    blank->Ident = 3;
    Add(c, "gone", 1, 1)->Deleted = 1;
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    EXPECT_EQ(Serialized(doc),
              "<KelmTransforms>"
              "<KelmTransfor><Ident>-1</Ident><Marka>ТМ-100</Marka><Unom>10,5</Unom><Pxx>0,33</Pxx><Pkz>0</Pkz>"
              "<UhiV>0</UhiV><UlowV>0</UlowV><Snom>100</Snom><Ukz>4,5</Ukz><Ixx>0</Ixx></KelmTransfor>"
              "<KelmTransfor><Ident>3</Ident><Unom>0,4</Unom><Pxx>0</Pxx><Pkz>0</Pkz><UhiV>0</UhiV>"
              "<UlowV>0</UlowV><Snom>25</Snom><Ukz>0</Ukz><Ixx>0</Ixx><Notv>0</Notv></KelmTransfor>"
              "</KelmTransforms>");
    EXPECT_EQ(t->Ident, -1);
    EXPECT_EQ(c.Count(), 2);  // the marked record is dropped
}

TEST(TransformsXml, AllDeletedWritesAnEmptyCollectionElement) {
    TTransforms c;
    Add(c, "a", 1, 1)->Deleted = 1;
    Add(c, "b", 1, 1)->Deleted = 1;
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText());
    EXPECT_EQ(Serialized(doc), "<KelmTransforms/>");
    EXPECT_EQ(c.Count(), 0);
}

TEST(TransformsXml, ReadsRecordsAtAnyDepthKeepingDefaults) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<Any><KelmTransfor><Marka>ТМ</Marka><Unom>10.5</Unom><Snom>100</Snom><Unknown>x</Unknown><AddStr/></KelmTransfor>"
        "<deep><deeper><KelmTransfor><Notv>4</Notv><DeltaOtv>1,5</DeltaOtv><Ident>12</Ident></KelmTransfor></deeper></deep>"
        "<KelmTransfor3><Marka>other category</Marka></KelmTransfor3></Any>"));
    TTransforms c;
    c.LoadFromXml(doc.document_element());
    ASSERT_EQ(c.Count(), 2);
    const TTransform* first = c.GetItem(0);
    EXPECT_EQ(first->Marka, W("ТМ"));
    EXPECT_EQ(first->Unom, 10.5);
    EXPECT_EQ(first->Ident, 0);
    EXPECT_EQ(first->NumberOtp, NotSet);
    const TTransform* second = c.GetItem(1);
    EXPECT_EQ(second->NumberOtp, 4);
    EXPECT_EQ(second->DeltaUotp, 1.5);
    EXPECT_EQ(second->Ident, 12);
}

TEST(TransformsXml, ATextThatIsNotANumberNamesElementAndField) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<r>\n<KelmTransfor>\n<Unom>ten</Unom></KelmTransfor></r>"));
    TTransforms c;
    try {
        c.LoadFromXml(doc);
        FAIL();
    } catch (const XmlFieldError& error) {
        EXPECT_NE(std::string(error.what()).find("KelmTransfor"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("Unom"), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("ten"), std::string::npos);
        EXPECT_EQ(error.offset, 20);  // the field's name, on the third line
    }
}

TEST(TransformsXml, SurvivesDeepNesting) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<a>";
    text += "<KelmTransfor><Marka>deep</Marka></KelmTransfor>";
    for (int i = 0; i < 100000; ++i) text += "</a>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    TTransforms c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, "deep");
}

TEST(TransformsXml, ElementRoundTripKeepsEveryValue) {
    TTransforms c;
    TTransform* t = Add(c, W("ТДН-16000/110 \"особый\" <&>"), 110, 16000);
    t->Ident = 42;
    t->AddStr = W("  с пробелами  ");
    t->Pxx = 0.1 + 0.2;
    t->UnomB = 115;
    t->UnomH = 6.6;
    t->NumberOtp = -3;
    t->DeltaUotp = 1.78;
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    TTransforms back;
    back.LoadFromXml(doc);
    ASSERT_EQ(back.Count(), 1);
    const TTransform* r = back.GetItem(0);
    EXPECT_EQ(r->Marka, t->Marka);
    EXPECT_EQ(r->AddStr, t->AddStr);
    EXPECT_EQ(r->Ident, 42);
    EXPECT_EQ(r->UnomH, 6.6);
    EXPECT_EQ(r->NumberOtp, -3);
    EXPECT_EQ(r->DeltaUotp, 1.78);
    EXPECT_DOUBLE_EQ(r->Pxx, 0.3);
    EXPECT_EQ(back.FindSameWithComment(*t), r);
}

// --- Database ------------------------------------------------------------------

class TransformsDatabase : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    void Save(TTransforms& c) { c.SaveToDatabase(db, NumberText(',')); c.ShowSaveErrors(errors); }
    void Load(TTransforms& c) { c.LoadFromDatabase(db, 0, ""); }
    FreshCatalogue catalogue;
    TRef_DataModule db;
    test::SaveErrorsRecorder errors;
};

TEST_F(TransformsDatabase, LoadsSortedWithNullsAsNotSet) {
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","NumberOtp","DeltaUotp") VALUES ('B',10,100,NULL,NULL))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","NumberOtp","DeltaUotp","Pxx") VALUES ('A',10,400,8,1.5,NULL))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('A',10,100))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('Z',6,100))");
    TTransforms c;
    Load(c);
    std::vector<std::pair<std::string, double>> order;
    for (int i = 0; i < c.Count(); ++i) order.emplace_back(c.GetItem(i)->Marka, c.GetItem(i)->Snom);
    EXPECT_EQ(order, (std::vector<std::pair<std::string, double>>{{"Z", 100}, {"A", 100}, {"A", 400}, {"B", 100}}));
    const TTransform* b = c.GetItem(3);
    EXPECT_EQ(b->NumberOtp, NotSet);
    EXPECT_EQ(b->DeltaUotp, NotSet);
    const TTransform* a400 = c.GetItem(2);
    EXPECT_EQ(a400->NumberOtp, 8);
    EXPECT_EQ(a400->Pxx, 0);  // a NULL in a mandatory column reads as 0
    EXPECT_GT(a400->Ident, 0);
}

TEST_F(TransformsDatabase, OwnerFilterReadsOnlyTheOwnersTransformers) {
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('used',10,100))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('unused',10,100))");
    catalogue.Run(R"(INSERT INTO "Nodes" ("Transf","OwnerGUID") VALUES (1,'owner-1'))");
    TTransforms c;
    c.LoadFromDatabase(db, 1, "'owner-1'");
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, "used");
}

TEST_F(TransformsDatabase, SavesInsertsUpdatesDeletesAndNulls) {
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","NumberOtp") VALUES ('edit',10,100,4))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('drop',10,200))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('keep',10,300))");
    TTransforms c;
    Load(c);
    ASSERT_EQ(Markas(c), (std::vector<std::string>{"drop", "edit", "keep"}));
    c.MarkDeleted(c.GetItem(0));
    TTransform* edit = c.GetItem(1);
    edit->NumberOtp = NotSet;
    edit->AddStr = W("изменён");
    edit->Added = 1;
    TTransforms source;
    TTransform* fresh = Add(source, W("ТМ-новый"), 0.4, 25);
    fresh->NumberOtp = 0;
    int index = 0;
    TTransform* copy = static_cast<TTransform*>(c.AddCopy(*fresh, index));
    EXPECT_EQ(index, 0);

    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(copy->Added, 0);
    EXPECT_EQ(edit->Added, 0);
    EXPECT_EQ(copy->Ident, std::stoi(catalogue.Value(R"(select "Ident" from "Transforms2" where "Snom"=25)")));

    EXPECT_EQ(catalogue.Rows(R"(select "TypeTR","NumberOtp","DeltaUotp","AddStr" from "Transforms2" order by "Snom")"),
              (std::vector<std::vector<std::string>>{{W("ТМ-новый"), "0", "NULL", ""},
                                                     {"edit", "NULL", "NULL", W("изменён")},
                                                     {"keep", "NULL", "NULL", "NULL"}}));
}

TEST_F(TransformsDatabase, SavingAgainSendsNothing) {
    TTransforms c;
    TTransforms source;
    int index = 0;
    c.AddCopy(*Add(source, "T", 10, 100), index);
    Save(c);
    test::StatementLog log;
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(log.entries.empty());
}

TEST_F(TransformsDatabase, CopiedRecordDeletedBeforeSavingIsJustDropped) {
    TTransforms c;
    TTransforms source;
    int index = 0;
    c.AddCopy(*Add(source, "T", 10, 100), index)->Deleted = 1;
    test::StatementLog log;
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_EQ(c.Count(), 0);
    ASSERT_EQ(log.Starting("delete").size(), 1u);
    EXPECT_EQ(log.Starting("delete")[0].params, (std::vector<std::string>{"-1"}));
}

TEST_F(TransformsDatabase, RecordTakesTheIdentifierTheDatabaseAssigned) {
    // Another user inserts between our generator read and our insert.
    struct Intruder : StatementListener {
        const FreshCatalogue* catalogue;
        bool done = false;
        void StatementRun(const std::string& sql, const std::vector<ParamValue>&) override {
            if (!done && sql.rfind("INSERT INTO \"Transforms2\"", 0) == 0) {
                done = true;
                catalogue->Run(R"(INSERT INTO "Transforms2" ("TypeTR") VALUES ('theirs'))");
            }
        }
    } intruder;
    intruder.catalogue = &catalogue;
    db.SetStatementListener(&intruder);
    TTransforms c;
    TTransforms source;
    int index = 0;
    TTransform* mine = static_cast<TTransform*>(c.AddCopy(*Add(source, "mine", 10, 100), index));
    Save(c);
    ASSERT_TRUE(intruder.done);
    EXPECT_EQ(mine->Ident, std::stoi(catalogue.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='mine')")));
    // A later edit updates our row, not theirs.
    mine->AddStr = "edited";
    mine->Added = 1;
    Save(c);
    EXPECT_EQ(catalogue.Value(R"(select "AddStr" from "Transforms2" where "TypeTR"='theirs')"), "NULL");
}

TEST_F(TransformsDatabase, FailingRecordsGiveOneReportInCollectionOrder) {
    TTransforms c;
    TTransforms source;
    const std::string tooLong(150, 'x');  // does not fit the column
    int index = 0;
    for (double unom : {10.5, 6.0, 35.0}) c.AddCopy(*Add(source, tooLong, unom, 100), index);
    c.AddCopy(*Add(source, "fine", 10, 100), index);
    Save(c);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{tooLong + "-100 (6 " + W("кВ") + ")",
                                                         tooLong + "-100 (10,5 " + W("кВ") + ")",
                                                         tooLong + "-100 (35 " + W("кВ") + ")"}));
    EXPECT_EQ(c.Errors, errors.shown[0]);
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Transforms2")"), "1");
    // Only the written record counts as saved; the others stay new, without an identifier.
    for (int i = 0; i < c.Count(); ++i) {
        const bool fine = c.GetItem(i)->Marka == "fine";
        EXPECT_EQ(c.GetItem(i)->Added, fine ? 0 : 1);
        EXPECT_EQ(c.GetItem(i)->Ident > 0, fine);
    }
}

TEST_F(TransformsDatabase, FailedInsertNeverTakesAnotherRowsIdentifier) {
    TTransforms c;
    TTransforms source;
    int index = 0;
    TTransform* failing = static_cast<TTransform*>(c.AddCopy(*Add(source, std::string(150, 'a'), 10, 100), index));
    c.AddCopy(*Add(source, "fine", 10, 100), index);
    Save(c);
    EXPECT_LT(failing->Ident, 1);
    c.MarkDeleted(failing);
    Save(c);
    EXPECT_EQ(catalogue.Value(R"(select "TypeTR" from "Transforms2")"), "fine");
}

TEST_F(TransformsDatabase, FailedRecordIsSavedByTheNextSave) {
    TTransforms c;
    TTransforms source;
    int index = 0;
    TTransform* failing = static_cast<TTransform*>(c.AddCopy(*Add(source, std::string(150, 'a'), 10, 100), index));
    Save(c);
    ASSERT_EQ(failing->Added, 1);
    failing->Marka = "shorter";
    errors.shown.clear();
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(failing->Added, 0);
    EXPECT_EQ(failing->Ident, std::stoi(catalogue.Value(R"(select "Ident" from "Transforms2")")));
}

TEST_F(TransformsDatabase, FailedDeleteKeepsTheRecordMarked) {
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('T',10,100))");
    catalogue.Run(R"(CREATE EXCEPTION "NoDelete" 'deleting is not allowed')");
    catalogue.Run(R"(CREATE TRIGGER "T2_BD" FOR "Transforms2" BEFORE DELETE AS BEGIN EXCEPTION "NoDelete"; END)");
    TTransforms c;
    Load(c);
    c.MarkDeleted(c.GetItem(0));
    Save(c);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Deleted, 1);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{"T-100 (10 " + W("кВ") + ")"}));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Transforms2")"), "1");
}

TEST_F(TransformsDatabase, FileElementsSurviveTheDatabaseRoundTrip) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        "<KelmTransfor><Marka>ТМН-6300/35</Marka><Unom>35</Unom><AddStr>с РПН</AddStr><Pxx>7,6</Pxx>"
        "<Pkz>46,5</Pkz><UhiV>36,75</UhiV><UlowV>11</UlowV><Snom>6300</Snom><Ukz>7,5</Ukz><Ixx>0,8</Ixx>"
        "<Notv>9</Notv><DeltaOtv>1,33</DeltaOtv></KelmTransfor>"));
    TTransforms file;
    file.LoadFromXml(doc);
    TTransforms c;
    int index = 0;
    c.AddCopy(*file.GetItem(0), index);
    Save(c);
    TTransforms back;
    Load(back);
    pugi::xml_document original, reloaded;
    file.SaveToXml(original, NumberText(','));
    back.SaveToXml(reloaded, NumberText(','));
    std::string expected = Serialized(original);
    expected.replace(expected.find("<Ident>0</Ident>"), 16, "<Ident>" + std::to_string(back.GetItem(0)->Ident) + "</Ident>");
    EXPECT_EQ(Serialized(reloaded), expected);
}

}  // namespace
}  // namespace kelm
