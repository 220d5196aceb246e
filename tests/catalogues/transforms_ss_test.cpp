// Split-winding transformers.
#include "catalogues/transforms_ss.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "catalogues/catalogue_fixture.h"

namespace kelm {
namespace {

using test::Add;
using test::ChildNames;
using test::W;

TTransformSS* AddFull(TTransformsSS& c) {
    TTransformSS* t = Add(c, W("ТРДН-40000/110"), 110, 40000);
    t->Ident = 5;
    t->AddStr = W("расщеплённая");
    t->UkBH = 10.5, t->UkHH = 30, t->Pxx = 36, t->Pkz = 172, t->Ixx = 0.65;
    t->UnomB = 115, t->UnomH1 = 10.5, t->UnomH2 = 10.5;
    t->NumberOtp = 9, t->DeltaUotp = 1.78;
    return t;
}

TEST(SplitWindingContract, NewElementLeavesTheTapFieldsNotSet) {
    TTransformsSS c;
    const TTransformSS* t = c.NewElement();
    EXPECT_EQ(t->NumberOtp, NotSet);
    EXPECT_EQ(t->DeltaUotp, NotSet);
    EXPECT_EQ(t->UkHH, 0);
    EXPECT_STREQ(t->ClassName(), "TTransformSS");
    EXPECT_STREQ(NewReference()->GetCollection(3)->ClassName(), "TTransformsSS");
}

TEST(SplitWindingContract, EveryValueFieldButTheCommentTakesPartInFindSame) {
    TTransformsSS c;
    const TTransformSS* original = AddFull(c);
    for (const std::string& element : test::FieldElements(TransformsSSCategory())) {
        TTransformSS probe = *original;
        test::ChangeField(TransformsSSCategory(), probe, element);
        const bool compared = element != "Ident" && element != "AddStr";
        EXPECT_EQ(c.FindSame(probe), compared ? nullptr : original) << element;
        EXPECT_EQ(c.FindSameWithComment(probe), element == "Ident" ? original : nullptr) << element;
    }
}

TEST(SplitWindingContract, CopyGoesInFrontOfTheFirstRecordSortingAfterIt) {
    TTransformsSS c, source;
    for (auto [marka, unom, snom] : {std::tuple{"A", 10.0, 100.0}, {"B", 10.0, 100.0}, {"B", 10.0, 400.0},
                                     {"A", 35.0, 100.0}})
        Add(c, marka, unom, snom);
    auto order = [&] {
        std::string text;
        for (int i = 0; i < c.Count(); ++i) {
            const TTransformSS* t = c.GetItem(i);
            text += t->Marka + NumberText::Format(static_cast<std::int64_t>(t->Unom)) + "/" +
                    NumberText::Format(static_cast<std::int64_t>(t->Snom)) + " ";
        }
        return text;
    };
    int index = -1;
    c.AddCopy(*Add(source, "B", 10, 250), index);  // equal Unom and Marka: the larger Snom
    EXPECT_EQ(index, 2);
    c.AddCopy(*Add(source, "C", 10, 1), index);  // equal Unom: the larger Marka
    EXPECT_EQ(index, 4);
    c.AddCopy(*Add(source, "Z", 6, 1), index);  // a lower Unom
    EXPECT_EQ(index, 0);
    EXPECT_EQ(order(), "Z6/1 A10/100 B10/100 B10/250 B10/400 C10/1 A35/100 ");
}

TEST(SplitWindingContract, ExchangeFileListsFieldsFromMarkaIdentUnom) {
    TTransformsSS c;
    AddFull(c)->NumberOtp = 0;
    Add(c, "", 110, 1)->Ident = -4;
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    const pugi::xml_node collection = doc.child("KelmTransformsSS");
    ASSERT_TRUE(collection);
    const pugi::xml_node full = collection.child("KelmTransforSS");
    EXPECT_EQ(ChildNames(full), (std::vector<std::string>{"Marka", "Ident", "Unom", "AddStr", "Snom", "UkBH", "UkHH",
                                                          "Pxx", "Pkz", "Ixx", "UnomB", "UnomH1", "UnomH2",
                                                          "NumberOtp", "DeltaUotp"}));
    EXPECT_STREQ(full.child("NumberOtp").text().get(), "0");
    const pugi::xml_node bare = full.next_sibling();
    EXPECT_EQ(ChildNames(bare), (std::vector<std::string>{"Ident", "Unom", "Snom", "UkBH", "UkHH", "Pxx", "Pkz",
                                                          "Ixx", "UnomB", "UnomH1", "UnomH2"}));
    EXPECT_STREQ(bare.child("Ident").text().get(), "-1");

    TTransformsSS back;
    back.LoadFromXml(doc);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.FindSameWithComment(*c.GetItem(0)), back.GetItem(0));
    EXPECT_EQ(back.GetItem(1)->NumberOtp, NotSet);
}

using SplitWindingDatabase = test::CatalogueDatabase;

TEST_F(SplitWindingDatabase, NullTapColumnsRoundTripAndZeroIsSentAsZero) {
    catalogue.Run(R"(INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom","NumberOtp","DeltaUotp") VALUES ('null taps',110,25000,NULL,NULL))");
    catalogue.Run(R"(INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom","NumberOtp","DeltaUotp") VALUES ('zero taps',110,40000,5,1))");
    TTransformsSS c;
    Load(c);
    ASSERT_EQ(c.Count(), 2);
    TTransformSS* nullTaps = c.GetItem(0);
    TTransformSS* zeroTaps = c.GetItem(1);
    EXPECT_EQ(nullTaps->NumberOtp, NotSet);
    EXPECT_EQ(nullTaps->DeltaUotp, NotSet);
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    const pugi::xml_node element = doc.child("KelmTransformsSS").child("KelmTransforSS");
    EXPECT_FALSE(element.child("NumberOtp"));
    EXPECT_FALSE(element.child("DeltaUotp"));

    nullTaps->Added = 1;
    zeroTaps->NumberOtp = 0;
    zeroTaps->Added = 1;
    test::StatementLog log;
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    const auto updates = log.Starting(R"(UPDATE "TransformsSS")");
    ASSERT_EQ(updates.size(), 2u);
    ASSERT_EQ(updates[0].params.size(), 15u);
    EXPECT_EQ(updates[0].params[12], "NULL");
    EXPECT_EQ(updates[0].params[13], "NULL");
    EXPECT_EQ(updates[0].params[14], std::to_string(nullTaps->Ident));
    EXPECT_EQ(updates[1].params[12], "0");
    EXPECT_EQ(catalogue.Rows(R"(select "NumberOtp","DeltaUotp" from "TransformsSS" order by "Snom")"),
              (std::vector<std::vector<std::string>>{{"NULL", "NULL"}, {"0", "1"}}));
}

TEST_F(SplitWindingDatabase, CopiesAreInsertedAndFailuresNamed) {
    TTransformsSS c, source;
    int index = 0;
    TTransformSS* copy = static_cast<TTransformSS*>(c.AddCopy(*AddFull(source), index));
    const std::string tooLong(150, 'T');  // does not fit "TypeTR"
    c.AddCopy(*Add(source, tooLong, 110, 40000), index);
    Save(c);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{tooLong + "-40000 (110 " + W("кВ") + ")"}));
    TTransformsSS back;
    Load(back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Ident, copy->Ident);
    EXPECT_EQ(back.FindSameWithComment(*copy), back.GetItem(0));
}

TEST_F(SplitWindingDatabase, OwnerFilterReadsOnlyTheOwnersTransformers) {
    catalogue.Run(R"(INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom") VALUES ('used',110,100))");
    catalogue.Run(R"(INSERT INTO "TransformsSS" ("TypeTR","Unom","Snom") VALUES ('unused',110,100))");
    catalogue.Run(R"(INSERT INTO "Nodes" ("Transf","OwnerGUID") SELECT "Ident",'owner-1' FROM "TransformsSS" WHERE "TypeTR"='used')");
    TTransformsSS c;
    c.LoadFromDatabase(db, 1, "'owner-1'");
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, "used");
}

}  // namespace
}  // namespace kelm
