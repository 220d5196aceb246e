// What the thirteen single-table categories share, run on each of them:
// registration, copying into a database, updating, deleting, loading by
// owners and the exchange-file elements.
#include <gtest/gtest.h>

#include "catalogue_fixture.h"
#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/categories.h"
#include "catalogues/compensators.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"

namespace kelm {
namespace {

using test::W;

// One member of the family: its collection, where it stands, and values for
// every field of its record.
struct Busbars {
    using Collection = TBusbars;
    static constexpr int index = 5;
    static constexpr const char* table = "Busbars";
    static constexpr int updatePositions = 5;  // the values, then Ident
    static void Fill(TBusbar& r) { r.R = 0.06; r.X = 0.4; }
};
struct ShuntReactors {
    using Collection = TShuntReactors;
    static constexpr int index = 6;
    static constexpr const char* table = "ShuntReactorsRef";
    static constexpr int updatePositions = 6;
    static void Fill(TShuntReactor& r) { r.Snom = 180; r.Inom = 520.5; r.dP = 400; }
};
template <class C, int Index, const char* Table>
struct Compensating {
    using Collection = C;
    static constexpr int index = Index;
    static constexpr const char* table = Table;
    static constexpr int updatePositions = 5;
    static void Fill(TCompensatorValues& r) { r.Snom = 50; r.dP = 0.35; }
};
constexpr char kSyncCondensers[] = "SynchronousCondensers";
constexpr char kCapacitorBanks[] = "CapacitorBanks";
constexpr char kTiristorCondensers[] = "TiristorCondensers";
struct SyncMotors {
    using Collection = TSyncMotors;
    static constexpr int index = 10;
    static constexpr const char* table = "SynchronousMotors";
    static constexpr int updatePositions = 7;
    static void Fill(TSyncMotor& r) { r.Pnom = 2500; r.Performance = 0.96; r.CosFi = 0.9; r.n = 1500; }
};
struct AsyncMotors {
    using Collection = TAsyncMotors;
    static constexpr int index = 11;
    static constexpr const char* table = "AsynchronousMotors";
    static constexpr int updatePositions = 8;  // ":7" after ":p7" is a position of its own
    static void Fill(TAsyncMotor& r) { r.Pnom = 630; r.Performance = 0.95; r.CosFi = 0.87; r.n = 2980; r.Slip = 1.5; }
};
template <class C, int Index, const char* Table>
struct Arresting {
    using Collection = C;
    static constexpr int index = Index;
    static constexpr const char* table = Table;
    static constexpr int updatePositions = 4;
    static void Fill(TArresterValues& r) { r.dP = 0.02; }
};
constexpr char kValveArresters[] = "ValveArresters";
constexpr char kSuppressors[] = "ExcessVoltageSuppressors";
struct CurrentLimitReactors {
    using Collection = TCurrentLimitReactorsRefs;
    static constexpr int index = 14;
    static constexpr const char* table = "CurrentLimitReactorsRef";
    static constexpr int updatePositions = 7;
    static void Fill(TCurrentLimitReactorsRef& r) { r.Snom = W("2х630"); r.Inom = 1000; r.dP = 5.2; r.IsDouble = 1; }
};
struct CurrentTransformers {
    using Collection = TTransformsIRefs;
    static constexpr int index = 17;
    static constexpr const char* table = "TransformsIRef";
    static constexpr int updatePositions = 11;
    static void Fill(TTransformsIRef& r) {
        r.AccuracyClass = 2;
        r.I1nom = 600;
        r.I2nom = 5;
        r.RatedLoad = 30;
        r.Manufacturer = W("Завод");
        r.PrefailureLife = 200000;
        r.WorkTemperatureLow = -45;
        r.WorkTemperatureHigh = 40;
    }
};
struct VoltageTransformers {
    using Collection = TTransformsVRefs;
    static constexpr int index = 18;
    static constexpr const char* table = "TransformsVRef";
    static constexpr int updatePositions = 11;
    static void Fill(TTransformsVRef& r) {
        r.AccuracyClass = 1;
        r.UnomB = 10000;
        r.UnomH = 100;
        r.VoltageDrop = 0.5;
        r.Manufacturer = W("Завод");
        r.PrefailureLife = 150000;
        r.WorkTemperatureLow = 0;
        r.WorkTemperatureHigh = 55;
    }
};

using Members = ::testing::Types<Busbars, ShuntReactors, Compensating<TSyncCondensers, 7, kSyncCondensers>,
                                 Compensating<TCapacitorBanks, 8, kCapacitorBanks>,
                                 Compensating<TTiristorCondensers, 9, kTiristorCondensers>, SyncMotors, AsyncMotors,
                                 Arresting<TValveArresters, 12, kValveArresters>,
                                 Arresting<TExcessVoltageSuppressors, 13, kSuppressors>, CurrentLimitReactors,
                                 CurrentTransformers, VoltageTransformers>;

template <class M>
class StationEquipment : public test::CatalogueDatabase {
protected:
    using Collection = typename M::Collection;
    using Record = std::remove_pointer_t<decltype(std::declval<Collection&>().NewElement())>;

    static Record* Add(Collection& c, const std::string& marka, double unom) {
        Record* r = c.NewElement();
        r->Marka = marka;
        r->Unom = unom;
        return r;
    }
    // A record with every field set, as the exchange file below gives it.
    Record* Filled(Collection& c) {
        Record* r = Add(c, W("Тип-1 \"А\""), 10.5);
        M::Fill(*r);
        return r;
    }
    // Saves a copy of a filled record to the database; the copy stays in `c`.
    Record* SavedCopy(Collection& c) {
        Collection source;
        int index = -1;
        auto* copy = static_cast<Record*>(c.AddCopy(*Filled(source), index));
        Save(c);
        return copy;
    }
    std::string Rows() { return catalogue.Value(std::string("select count(*) from \"") + M::table + "\""); }
};

TYPED_TEST_SUITE(StationEquipment, Members);

TYPED_TEST(StationEquipment, IsRegisteredAtItsIndex) {
    using Collection = typename TestFixture::Collection;
    const CategoryEntry& entry = Categories()[TypeParam::index];
    ASSERT_NE(entry.make, nullptr);
    auto made = entry.make();
    EXPECT_NE(dynamic_cast<Collection*>(made.get()), nullptr);
    EXPECT_STREQ(made->ClassName(), entry.collectionClass);
    EXPECT_NE(dynamic_cast<Collection*>(NewReference()->GetCollection(TypeParam::index)), nullptr);
}

TYPED_TEST(StationEquipment, CopyTakesGeneratorPlusOneAndASecondSaveSendsNothing) {
    this->catalogue.Run(R"(SET GENERATOR "ReferenceIdent" TO 500)");
    typename TestFixture::Collection c;
    auto* copy = this->SavedCopy(c);
    EXPECT_EQ(copy->Ident, 501);
    EXPECT_EQ(copy->Added, 0);
    EXPECT_TRUE(this->errors.shown.empty());
    EXPECT_EQ(this->catalogue.Value(std::string("select \"Ident\" from \"") + TypeParam::table + "\""), "501");
    this->RecordStatements();
    this->Save(c);
    EXPECT_TRUE(this->log.entries.empty());
}

TYPED_TEST(StationEquipment, UpdateCarriesIdentAfterTheValues) {
    this->catalogue.Run(R"(SET GENERATOR "ReferenceIdent" TO 16)");
    typename TestFixture::Collection c;
    auto* record = this->SavedCopy(c);
    ASSERT_EQ(record->Ident, 17);
    record->Marka = "edited";
    record->Added = 1;
    this->RecordStatements();
    this->Save(c);
    ASSERT_EQ(this->log.entries.size(), 1u);
    const auto& update = this->log.entries[0];
    EXPECT_EQ(update.sql.rfind("UPDATE", 0), 0u);
    ASSERT_EQ(update.params.size(), static_cast<std::size_t>(TypeParam::updatePositions));
    EXPECT_EQ(update.params.front(), "edited");
    EXPECT_EQ(update.params.back(), "17");

    typename TestFixture::Collection back;
    this->Load(back);
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Marka, "edited");
    EXPECT_EQ(back.GetItem(0)->Ident, 17);
}

TYPED_TEST(StationEquipment, ValuesSurviveTheFileAndTheDatabase) {
    using Collection = typename TestFixture::Collection;
    for (bool everything : {true, false}) {
        SCOPED_TRACE(everything ? "every field set" : "defaults only");
        Collection original;
        if (everything)
            this->Filled(original);
        else
            this->Add(original, "bare", 6);
        const std::string written = test::XmlOf(original);

        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_string(written.c_str()));
        Collection file;
        file.LoadFromXml(doc);
        ASSERT_EQ(file.Count(), 1);
        Collection target;
        int index = -1;
        target.AddCopy(*file.GetItem(0), index);
        this->Save(target);
        Collection back;
        this->Load(back);
        ASSERT_EQ(back.Count(), 1);
        EXPECT_NE(back.FindSame(*file.GetItem(0)), nullptr);
        std::string expected = written;
        expected.replace(expected.find("<Ident>0</Ident>"), 16,
                         "<Ident>" + std::to_string(back.GetItem(0)->Ident) + "</Ident>");
        EXPECT_EQ(test::XmlOf(back), expected);
        back.MarkDeleted(back.GetItem(0));
        this->Save(back);
        EXPECT_EQ(back.Count(), 0);
        EXPECT_EQ(this->Rows(), "0");
    }
}

TYPED_TEST(StationEquipment, OwnerFilteredLoadReadsNoRow) {
    typename TestFixture::Collection c;
    this->SavedCopy(c);
    typename TestFixture::Collection filtered;
    this->Load(filtered, 1);
    EXPECT_EQ(filtered.Count(), 0);
    this->Load(filtered, 0);
    EXPECT_EQ(filtered.Count(), 1);
}

TYPED_TEST(StationEquipment, FailedDeleteKeepsRecordMarked) {
    typename TestFixture::Collection c;
    this->SavedCopy(c);
    this->Add(c, "dropped", 6)->Added = 1;
    this->Save(c);
    ASSERT_EQ(this->Rows(), "2");
    this->catalogue.Run(R"(CREATE EXCEPTION "NoDelete" 'deleting is not allowed')");
    this->catalogue.Run(std::string("CREATE TRIGGER \"NoDelete_BD\" FOR \"") + TypeParam::table +
                        "\" BEFORE DELETE AS BEGIN IF (OLD.\"Unom\" > 10) THEN EXCEPTION \"NoDelete\"; END");

    typename TestFixture::Collection loaded;
    this->Load(loaded);
    ASSERT_EQ(loaded.Count(), 2);
    loaded.MarkDeleted(loaded.GetItem(0));
    loaded.MarkDeleted(loaded.GetItem(1));
    this->Save(loaded);
    ASSERT_EQ(loaded.Count(), 1);
    EXPECT_EQ(loaded.GetItem(0)->Deleted, 1);
    EXPECT_EQ(loaded.GetItem(0)->Unom, 10.5);
    EXPECT_EQ(this->errors.shown, (std::vector<std::vector<std::string>>{{W("Тип-1 \"А\" (10,5 кВ)")}}));
    EXPECT_EQ(this->Rows(), "1");
    // Still marked, it is tried again by the next save.
    this->RecordStatements();
    this->Save(loaded);
    EXPECT_EQ(this->log.Starting("delete").size(), 1u);
}

TYPED_TEST(StationEquipment, ReadsOnlyItsOwnRecordElement) {
    const char* names[] = {"KelmBusbar", "KelmShuntReactorsRef", "KelmSyncCondeser", "KelmCapacitorBank",
                           "KelmTiristorCondenser", "KelmSyncMotor", "KelmAsyncMotor", "KelmValveArrester",
                           "KelmExcessVoltageSuppressor", "KelmCurrentLimitReactorsRef", "KelmTransformsIRef",
                           "KelmTransformsVRef",
                           // near misses
                           "KelmSyncCondenser", "kelmbusbar", "KelmTransfor", "KelmBusbars"};
    std::string text = "<KelmReference_v1><nested>";
    for (const char* name : names) text += std::string("<") + name + "><Marka>" + name + "</Marka></" + name + ">";
    text += "</nested></KelmReference_v1>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(text.c_str()));
    typename TestFixture::Collection c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_EQ(c.GetItem(0)->Marka, c.RecordElement());
}

TYPED_TEST(StationEquipment, SortsByVoltageThenMarkaKeepingTies) {
    typename TestFixture::Collection c;
    this->Add(c, "B", 10)->Ident = 1;
    this->Add(c, "A", 10)->Ident = 2;
    this->Add(c, "A", 10)->Ident = 3;
    this->Add(c, "Z", 6)->Ident = 4;
    c.Sort();
    std::vector<int> idents;
    for (int i = 0; i < c.Count(); ++i) idents.push_back(c.GetItem(i)->Ident);
    EXPECT_EQ(idents, (std::vector<int>{4, 2, 3, 1}));

    typename TestFixture::Collection source;
    int index = -1;
    c.AddCopy(*this->Add(source, "A", 10), index);
    EXPECT_EQ(index, 3);
}

TYPED_TEST(StationEquipment, FindSameSeesMarkedRecordsAndExactMarka) {
    typename TestFixture::Collection c;
    auto* stored = this->Filled(c);
    stored->Deleted = 1;
    typename TestFixture::Collection probe;
    auto* x = this->Filled(probe);
    x->Unom += 1e-13;
    EXPECT_EQ(c.FindSame(*x), stored);
    x->Marka = W("тип-1 \"А\"");
    EXPECT_EQ(c.FindSame(*x), nullptr);
}

}  // namespace
}  // namespace kelm
