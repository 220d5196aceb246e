// Three-winding transformers and autotransformers: one set of rules over two
// tables, told apart by their record classes.
#include "catalogues/transforms3.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "catalogues/catalogue_fixture.h"

namespace kelm {
namespace {

using test::Add;
using test::ChildNames;
using test::FieldElements;
using test::RecordOf;
using test::W;

template <class C>
struct Kind;

template <>
struct Kind<TTransforms3> {
    static constexpr int index = 2;
    static constexpr const char* table = "Transforms3";
    static constexpr const char* collectionElement = "KelmTransforms3";
    static constexpr const char* recordElement = "KelmTransfor3";
    static constexpr const char* recordClass = "TTransform3";
    static const Category<TTransform3>& Table() { return Transforms3Category(); }
};

template <>
struct Kind<TTransformsA> {
    static constexpr int index = 4;
    static constexpr const char* table = "TransformsA";
    static constexpr const char* collectionElement = "KelmTransformsA";
    static constexpr const char* recordElement = "KelmTransforA";
    static constexpr const char* recordClass = "TTransformA";
    static const Category<TTransformA>& Table() { return TransformsACategory(); }
};

struct KindName {
    template <class C>
    static std::string GetName(int) {
        return std::is_same_v<C, TTransforms3> ? "ThreeWinding" : "Auto";
    }
};

using Kinds = ::testing::Types<TTransforms3, TTransformsA>;

const std::vector<std::string> kElementOrder = {
    "Unom", "Marka", "Ident", "AddStr", "Snom", "UnomB", "UnomC", "UnomH", "Pxx", "Ixx", "PkzBC", "PkzBH",
    "PkzCH", "UkBC", "UkBH", "UkCH", "SobmB", "SobmC", "SobmH", "NumberOtpB", "DeltaUotpB", "NumberOtpC",
    "DeltaUotpC"};

// A record with every field holding a value of its own.
template <class C>
RecordOf<C>* AddFull(C& c) {
    auto* t = Add(c, W("АТДЦТН-250000/220/110"), 220, 250000);
    t->Ident = 9;
    t->AddStr = W("с РПН");
    t->UnomB = 230, t->UnomC = 121, t->UnomH = 11;
    t->Pxx = 120, t->Ixx = 0.5;
    t->PkzBC = 520, t->PkzBH = 480, t->PkzCH = 400;
    t->UkBC = 11, t->UkBH = 32, t->UkCH = 20;
    t->SobmB = 100, t->SobmC = 100, t->SobmH = 50;
    t->NumberOtpB = 6, t->DeltaUotpB = 2;
    t->NumberOtpC = 0, t->DeltaUotpC = 1.5;
    return t;
}

// --- Records and the collection contract -----------------------------------

template <class C>
class ThreeWindingContract : public ::testing::Test {};
TYPED_TEST_SUITE(ThreeWindingContract, Kinds, KindName);

TYPED_TEST(ThreeWindingContract, NewElementLeavesTheSevenOptionalFieldsNotSet) {
    TypeParam c;
    const auto* t = c.NewElement();
    for (double value : {t->SobmB, t->SobmC, t->SobmH, t->DeltaUotpB, t->DeltaUotpC}) EXPECT_EQ(value, NotSet);
    EXPECT_EQ(t->NumberOtpB, NotSet);
    EXPECT_EQ(t->NumberOtpC, NotSet);
    EXPECT_EQ(t->PkzBC, 0);
    EXPECT_EQ(t->Snom, 0);
    EXPECT_STREQ(t->ClassName(), Kind<TypeParam>::recordClass);
    // The container holds this category at its index.
    EXPECT_STREQ(NewReference()->GetCollection(Kind<TypeParam>::index)->ClassName(), c.ClassName());
}

TYPED_TEST(ThreeWindingContract, EveryValueFieldButTheCommentTakesPartInFindSame) {
    TypeParam c;
    const auto* original = AddFull(c);
    for (const std::string& element : FieldElements(Kind<TypeParam>::Table())) {
        RecordOf<TypeParam> probe = *original;
        test::ChangeField(Kind<TypeParam>::Table(), probe, element);
        const bool compared = element != "Ident" && element != "AddStr";
        EXPECT_EQ(c.FindSame(probe), compared ? nullptr : original) << element;
    }
}

TYPED_TEST(ThreeWindingContract, TapCountThreeDiffersFromNotSetAndCommentOnlyFromComment) {
    TypeParam c;
    auto* original = AddFull(c);
    original->NumberOtpC = NotSet;
    RecordOf<TypeParam> probe = *original;
    probe.NumberOtpC = 3;
    EXPECT_EQ(c.FindSame(probe), nullptr);
    probe.NumberOtpC = NotSet;
    probe.AddStr = "other";
    EXPECT_EQ(c.FindSame(probe), original);
    EXPECT_EQ(c.FindSameWithComment(probe), nullptr);
}

TYPED_TEST(ThreeWindingContract, CopyLandsInFrontOfTheFirstLargerSnom) {
    TypeParam c;
    Add(c, "T", 110, 100);
    Add(c, "T", 110, 250);
    Add(c, "T", 110, 400);
    Add(c, "U", 110, 100);
    TypeParam source;
    auto* full = AddFull(source);
    full->Marka = "T", full->Unom = 110, full->Snom = 300;
    int index = -1;
    auto* copy = static_cast<RecordOf<TypeParam>*>(c.AddCopy(*full, index));
    EXPECT_EQ(index, 2);
    EXPECT_EQ(c.GetItem(2), copy);
    EXPECT_EQ(copy->Ident, -1);
    EXPECT_EQ(copy->Added, 1);
    EXPECT_EQ(c.FindSameWithComment(*full), copy);  // every value came along
    std::vector<double> snoms;
    for (int i = 0; i < c.Count(); ++i) snoms.push_back(c.GetItem(i)->Snom);
    EXPECT_EQ(snoms, (std::vector<double>{100, 250, 300, 400, 100}));
}

TYPED_TEST(ThreeWindingContract, ExchangeFileListsFieldsFromUnomMarkaIdentLeavingNotSetOut) {
    TypeParam c;
    AddFull(c);
    Add(c, "T", 110, 100)->Ident = 3;
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    const pugi::xml_node collection = doc.first_child();
    EXPECT_STREQ(collection.name(), Kind<TypeParam>::collectionElement);
    EXPECT_EQ(ChildNames(collection),
              (std::vector<std::string>(2, Kind<TypeParam>::recordElement)));
    const pugi::xml_node full = collection.first_child();
    EXPECT_EQ(ChildNames(full), kElementOrder);
    EXPECT_STREQ(full.child("NumberOtpC").text().get(), "0");  // 0 is a value
    EXPECT_STREQ(full.child("DeltaUotpC").text().get(), "1,5");
    // No comment, the seven optional fields not set.
    std::vector<std::string> bare = kElementOrder;
    bare.erase(bare.begin() + 3);
    bare.resize(bare.size() - 7);
    EXPECT_EQ(ChildNames(full.next_sibling()), bare);
}

TYPED_TEST(ThreeWindingContract, ReadsFieldChildrenInAnyOrderKeepingDefaults) {
    const std::string element = Kind<TypeParam>::recordElement;
    const std::string other = element == "KelmTransfor3" ? "KelmTransforA" : "KelmTransfor3";
    const std::string text = "<r><" + element + "><DeltaUotpB>1,25</DeltaUotpB><Unknown>7</Unknown>"
                             "<PkzCH>300</PkzCH><Marka>АТ</Marka><NumberOtpB>-8</NumberOtpB><Unom>330</Unom></" +
                             element + "><" + other + "><Marka>not mine</Marka></" + other + "></r>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    TypeParam c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 1);
    const auto* t = c.GetItem(0);
    EXPECT_EQ(t->Marka, W("АТ"));
    EXPECT_EQ(t->Unom, 330);
    EXPECT_EQ(t->PkzCH, 300);
    EXPECT_EQ(t->NumberOtpB, -8);
    EXPECT_EQ(t->DeltaUotpB, 1.25);
    EXPECT_EQ(t->NumberOtpC, NotSet);
    EXPECT_EQ(t->SobmH, NotSet);
    EXPECT_EQ(t->PkzBC, 0);
    EXPECT_EQ(t->Ident, 0);
}

TYPED_TEST(ThreeWindingContract, TapCountBeyondSixteenBitsIsRefused) {
    const std::string element = Kind<TypeParam>::recordElement;
    const std::string text = "<" + element + "><NumberOtpC>40000</NumberOtpC></" + element + ">";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    TypeParam c;
    EXPECT_THROW(c.LoadFromXml(doc), XmlFieldError);
}

// --- Database ------------------------------------------------------------------

template <class C>
class ThreeWindingDatabase : public test::CatalogueDatabase {
protected:
    std::string Table() const { return Kind<C>::table; }
    void Insert(const std::string& columns, const std::string& values) {
        catalogue.Run("INSERT INTO \"" + Table() + "\" (" + columns + ") VALUES (" + values + ")");
    }
};
TYPED_TEST_SUITE(ThreeWindingDatabase, Kinds, KindName);

TYPED_TEST(ThreeWindingDatabase, NullColumnsLoadAsNotSetOrZeroAndAreWrittenBackSo) {
    this->Insert(R"("TypeTR","Unom","Snom","PkzBC","SobmB","SobmC","SobmH","NumberOtpB","DeltaUotpB","NumberOtpC","DeltaUotpC")",
                 "'T',110,250,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL");
    TypeParam c;
    this->Load(c);
    ASSERT_EQ(c.Count(), 1);
    auto* t = c.GetItem(0);
    for (double value : {t->SobmB, t->SobmC, t->SobmH, t->DeltaUotpB, t->DeltaUotpC}) EXPECT_EQ(value, NotSet);
    EXPECT_EQ(t->NumberOtpB, NotSet);
    EXPECT_EQ(t->NumberOtpC, NotSet);
    EXPECT_EQ(t->PkzBC, 0);
    EXPECT_TRUE(t->AddStr.empty());

    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    const pugi::xml_node element = doc.first_child().first_child();
    for (const char* name : {"SobmB", "SobmC", "SobmH", "NumberOtpB", "DeltaUotpB", "NumberOtpC", "DeltaUotpC"})
        EXPECT_FALSE(element.child(name)) << name;
    EXPECT_STREQ(element.child("PkzBC").text().get(), "0");

    t->Added = 1;
    test::StatementLog log;
    this->db.SetStatementListener(&log);
    this->Save(c);
    const auto updates = log.Starting("UPDATE \"" + this->Table() + "\"");
    ASSERT_EQ(updates.size(), 1u);
    const auto& params = updates[0].params;
    ASSERT_EQ(params.size(), 23u);
    EXPECT_EQ(params[9], "0");  // PkzBC is always sent as it is
    for (std::size_t i = 15; i < 22; ++i) EXPECT_EQ(params[i], "NULL") << "position " << i + 1;
    EXPECT_EQ(params[22], std::to_string(t->Ident));
    EXPECT_EQ(this->catalogue.Rows("select \"PkzBC\",\"SobmB\",\"NumberOtpB\",\"DeltaUotpC\" from \"" + this->Table() + "\""),
              (std::vector<std::vector<std::string>>{{"0", "NULL", "NULL", "NULL"}}));
}

TYPED_TEST(ThreeWindingDatabase, SavesCopiesAndDeletionsToItsOwnTable) {
    this->Insert(R"("TypeTR","Unom","Snom")", "'old',110,100");
    TypeParam c;
    this->Load(c);
    c.MarkDeleted(c.GetItem(0));
    TypeParam source;
    int index = 0;
    auto* copy = static_cast<RecordOf<TypeParam>*>(c.AddCopy(*AddFull(source), index));
    test::StatementLog log;
    this->db.SetStatementListener(&log);
    this->Save(c);
    EXPECT_TRUE(this->errors.shown.empty());
    ASSERT_EQ(log.Starting("delete from \"" + this->Table() + "\"").size(), 1u);
    const auto inserts = log.Starting("INSERT INTO \"" + this->Table() + "\"");
    ASSERT_EQ(inserts.size(), 1u);
    EXPECT_EQ(inserts[0].params.size(), 22u);
    EXPECT_EQ(inserts[0].params[18], "6");  // NumberOtpB
    EXPECT_EQ(inserts[0].params[20], "0");  // NumberOtpC 0 is a value, not NULL
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(copy->Added, 0);

    TypeParam back;
    this->Load(back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Ident, copy->Ident);
    EXPECT_EQ(back.FindSameWithComment(*copy), back.GetItem(0));
}

TYPED_TEST(ThreeWindingDatabase, FailingRecordGivesTypePowerAndVoltage) {
    TypeParam c, source;
    int index = 0;
    const std::string tooLong(150, 'T');  // does not fit "TypeTR"
    c.AddCopy(*Add(source, tooLong, 110, 250), index);
    this->Save(c);
    ASSERT_EQ(this->errors.shown.size(), 1u);
    EXPECT_EQ(this->errors.shown[0], (std::vector<std::string>{tooLong + "-250 (110 " + W("кВ") + ")"}));
    EXPECT_EQ(c.GetItem(0)->Added, 1);  // tried again by the next save
    EXPECT_LT(c.GetItem(0)->Ident, 1);
}

TYPED_TEST(ThreeWindingDatabase, OwnerFilterReadsOnlyTheOwnersTransformers) {
    this->Insert(R"("TypeTR","Unom","Snom")", "'used',110,100");
    this->Insert(R"("TypeTR","Unom","Snom")", "'unused',110,100");
    const std::string used = this->catalogue.Value("select \"Ident\" from \"" + this->Table() + "\" where \"TypeTR\"='used'");
    this->catalogue.Run("INSERT INTO \"Nodes\" (\"Transf\",\"OwnerGUID\") VALUES (" + used + ",'owner-1')");
    this->catalogue.Run("INSERT INTO \"Nodes\" (\"Transf\",\"OwnerGUID\") VALUES (" + used + ",'owner-1')");
    TypeParam c;
    c.LoadFromDatabase(this->db, 1, "'owner-1'");
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, "used");
}

// --- The two kinds stay apart ------------------------------------------------------

static_assert(!std::is_base_of_v<TTransform3, TTransformA>);

TEST(Autotransformers, RecordOfTheOtherKindIsNotCopiedIn) {
    TTransforms3 threeWinding;
    TTransformsA auto_;
    int index = 0;
    EXPECT_THROW(auto_.AddCopy(*threeWinding.NewElement(), index), std::invalid_argument);
    EXPECT_EQ(auto_.Count(), 0);
}

TEST(Autotransformers, RecordCopiesItsValuesKeepingTheMarks) {
    TTransformsA c;
    auto* source = AddFull(c);
    source->Added = 1;
    TTransformA target;
    target.Deleted = 1;
    source->CopyValues(&target);
    EXPECT_EQ(c.FindSameWithComment(target), source);
    EXPECT_EQ(target.Ident, 9);
    EXPECT_EQ(target.Deleted, 1);
    EXPECT_EQ(target.Added, 0);
    source->CopyValues(nullptr);
}

using AutotransformersDatabase = test::CatalogueDatabase;

TEST_F(AutotransformersDatabase, StayAutotransformersThroughAnExchangeFile) {
    catalogue.Run(R"(INSERT INTO "TransformsA" ("TypeTR","Unom","Snom") VALUES ('AT',220,125000))");
    auto fromDatabase = NewReference();
    ASSERT_TRUE(fromDatabase->LoadFromDatabase(db, 0, ""));
    pugi::xml_document doc;
    pugi::xml_node root = doc.append_child("KelmReference_v1");
    fromDatabase->SaveToXml(root, NumberText(','));
    EXPECT_EQ(ChildNames(root), (std::vector<std::string>{"KelmTransformsA"}));
    EXPECT_EQ(ChildNames(root.first_child()), (std::vector<std::string>{"KelmTransforA"}));

    auto fromFile = NewReference();
    fromFile->LoadFromXml(doc);
    EXPECT_EQ(fromFile->GetCollection(2)->Count(), 0);
    ASSERT_EQ(fromFile->GetCollection(4)->Count(), 1);
    const TBaseElement* record = fromFile->GetCollection(4)->GetItem(0);
    EXPECT_STREQ(record->ClassName(), "TTransformA");
    EXPECT_EQ(record->Marka, "AT");
}

}  // namespace
}  // namespace kelm
