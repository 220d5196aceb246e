// Switching devices and their type table.
#include "catalogues/switch_gr.h"

#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "catalogues/catalogue_fixture.h"

namespace kelm {
namespace {

using test::ChildNames;
using test::W;

TSwitchGR* AddDevice(TSwitchGRs& c, const std::string& marka, double unom, std::int16_t type = 0,
                     const std::string& name = "") {
    TSwitchGR* d = c.NewElement();
    d->Marka = marka;
    d->Unom = unom;
    d->SwitchGType = type;
    d->Name = name;
    return d;
}

TSwitchGR* AddFull(TSwitchGRs& c) {
    TSwitchGR* d = AddDevice(c, W("ВМП-10"), 10, 2, W("Выключатель"));
    d->Ident = 8;
    d->AddStr = W("маломасляный");
    d->Inom = 0.63, d->Ioff = 20, d->Id = 52, d->It = 20, d->Toff = 0.12, d->Ton = 0.3;
    return d;
}

// --- Records and the collection contract -----------------------------------

TEST(SwitchGRsContract, NewElementLeavesTheCurrentsAndTimesNotSet) {
    TSwitchGRs c;
    const TSwitchGR* d = c.NewElement();
    for (double value : {d->Inom, d->Ioff, d->Id, d->It, d->Toff, d->Ton}) EXPECT_EQ(value, NotSet);
    EXPECT_EQ(d->SwitchGType, 0);
    EXPECT_TRUE(d->Name.empty());
    EXPECT_STREQ(d->ClassName(), "TSwitchGR");
    EXPECT_STREQ(NewReference()->GetCollection(15)->ClassName(), "TSwitchGRs");
}

// The type takes part by its name: the row identifier belongs to one database.
TEST(SwitchGRsContract, FindSameComparesTheTypeByNameNotByIdentifier) {
    TSwitchGRs c;
    const TSwitchGR* original = AddFull(c);
    for (const std::string& element : test::FieldElements(SwitchGRsCategory())) {
        TSwitchGR probe = *original;
        test::ChangeField(SwitchGRsCategory(), probe, element);
        const bool compared = element != "Ident" && element != "AddStr" && element != "SwitchGType";
        EXPECT_EQ(c.FindSame(probe), compared ? nullptr : original) << element;
        EXPECT_EQ(c.FindSameWithComment(probe), compared || element == "AddStr" ? nullptr : original) << element;
    }
}

TEST(SwitchGRsContract, CopyWithEqualVoltageAndMarkLandsAfterAllOfThem) {
    TSwitchGRs c, source;
    AddDevice(c, "A", 10);
    for (const char* comment : {"1", "2", "3"}) AddDevice(c, "M", 10)->AddStr = comment;
    AddDevice(c, "A", 35);
    c.Sort();  // equal keys keep their order
    int index = -1;
    TSwitchGR* copy = static_cast<TSwitchGR*>(c.AddCopy(*AddDevice(source, "M", 10, 3, "x"), index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(copy->Ident, -1);
    EXPECT_EQ(copy->Added, 1);
    EXPECT_EQ(copy->Name, "x");
    EXPECT_EQ(copy->SwitchGType, 3);
    c.AddCopy(*AddDevice(source, "B", 10), index);
    EXPECT_EQ(index, 1);
    std::vector<std::string> order;
    for (int i = 0; i < c.Count(); ++i) order.push_back(c.GetItem(i)->Marka + c.GetItem(i)->AddStr);
    EXPECT_EQ(order, (std::vector<std::string>{"A", "B", "M1", "M2", "M3", "M", "A"}));
}

TEST(SwitchGRsContract, CopyValuesCarriesTheTypeByIdentifierAndName) {
    // A type picked in the dialog reaches the record with both, so the
    // writer's lookup by name finds the picked type.
    TSwitchGRs c;
    TSwitchGR* device = AddFull(c);
    device->Added = 1;
    TSwitchGR edited;
    CopyValues(*device, &edited);
    EXPECT_EQ(edited.Added, 0);
    edited.SwitchGType = 5;
    edited.Name = W("Разъединитель");
    CopyValues(edited, device);
    EXPECT_EQ(device->SwitchGType, 5);
    EXPECT_EQ(device->Name, W("Разъединитель"));
    EXPECT_EQ(device->AddStr, W("маломасляный"));
    EXPECT_EQ(device->Added, 1);
}

// --- Exchange-file elements ----------------------------------------------------

TEST(SwitchGRsXml, WritesFieldsFromMarkaIdentUnomToName) {
    TSwitchGRs c;
    AddFull(c);
    AddDevice(c, "R", 6)->Ident = -2;  // type 0 is a value, an empty name is not
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    const pugi::xml_node collection = doc.child("KelmSwitchGRs");
    EXPECT_EQ(ChildNames(collection), (std::vector<std::string>{"KelmSwitchGR", "KelmSwitchGR"}));
    const pugi::xml_node full = collection.first_child();
    EXPECT_EQ(ChildNames(full), (std::vector<std::string>{"Marka", "Ident", "Unom", "SwitchGType", "AddStr", "Inom",
                                                          "Ioff", "Id", "It", "Toff", "Ton", "Name"}));
    EXPECT_STREQ(full.child("Name").text().get(), "Выключатель");
    EXPECT_STREQ(full.child("Toff").text().get(), "0,12");
    const pugi::xml_node bare = full.next_sibling();
    EXPECT_EQ(ChildNames(bare), (std::vector<std::string>{"Marka", "Ident", "Unom", "SwitchGType"}));
    EXPECT_STREQ(bare.child("SwitchGType").text().get(), "0");

    TSwitchGRs back;
    back.LoadFromXml(doc);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.GetItem(0)->Name, W("Выключатель"));
    EXPECT_EQ(back.FindSameWithComment(*c.GetItem(0)), back.GetItem(0));
    EXPECT_EQ(back.GetItem(1)->Inom, NotSet);
}

TEST(SwitchGRsXml, DeviceWithoutNameLoadsWithEmptyName) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<r><KelmSwitchGR><Marka>QF</Marka><SwitchGType>4</SwitchGType><Ton>0,1</Ton>"
                                "</KelmSwitchGR></r>"));
    TSwitchGRs c;
    c.LoadFromXml(doc);
    ASSERT_EQ(c.Count(), 1);
    EXPECT_TRUE(c.GetItem(0)->Name.empty());
    EXPECT_EQ(c.GetItem(0)->SwitchGType, 4);
    EXPECT_EQ(c.GetItem(0)->Ton, 0.1);
    EXPECT_EQ(c.GetItem(0)->Inom, NotSet);
}

TEST(SwitchGRsXml, TypeIdentifierBeyondSixteenBitsIsRefused) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string("<KelmSwitchGR><SwitchGType>70000</SwitchGType></KelmSwitchGR>"));
    TSwitchGRs c;
    EXPECT_THROW(c.LoadFromXml(doc), XmlFieldError);
}

// --- Database ------------------------------------------------------------------

class SwitchGRsDatabase : public test::CatalogueDatabase {
protected:
    // A type row; the database gives its identifier.
    std::string Type(const std::string& name) {
        catalogue.Run(R"(INSERT INTO "SwitchGN" ("Name") VALUES (')" + name + "')");
        return catalogue.Value(R"(select "Ident" from "SwitchGN" where "Name"=')" + name + "'");
    }
    // A device row at 10 kV; `columns` and `values` add to the statement.
    std::string Device(const std::string& marka, const std::string& type, const std::string& columns = "",
                       const std::string& values = "") {
        catalogue.Run(R"(INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType")" + columns + ") VALUES ('" + marka +
                      "',10," + type + values + ")");
        return catalogue.Value(R"(select "Ident" from "SwitchGR" where "Marka"=')" + marka + "'");
    }
    std::vector<std::vector<std::string>> TypeRows() {
        return catalogue.Rows(R"(select "Ident","Name" from "SwitchGN" order by "Ident")");
    }
    // Saves one device copied in from elsewhere.
    TSwitchGR* SaveCopy(TSwitchGRs& c, const TSwitchGR& source) {
        int index = 0;
        auto* copy = static_cast<TSwitchGR*>(c.AddCopy(source, index));
        Save(c);
        return copy;
    }
};

TEST_F(SwitchGRsDatabase, DeviceWithoutItsTypeRowIsNotReadByEitherStatement) {
    const std::string breaker = Type("Breaker");
    const std::string viaLine = Device("viaLine", breaker);
    const std::string viaDouble = Device("viaDouble", breaker);
    const std::string orphan = Device("orphan", "99");
    Device("unused", breaker);
    catalogue.Run(R"(INSERT INTO "Lines" ("GUID","Provod","OwnerGUID") VALUES ('g1',)" + viaLine + ",'o1')");
    catalogue.Run(R"(INSERT INTO "Lines" ("GUID","Provod","OwnerGUID") VALUES ('g2',)" + orphan + ",'o1')");
    catalogue.Run(R"(INSERT INTO "Lines" ("GUID","Provod","OwnerGUID") VALUES ('g3',NULL,'o1'))");
    catalogue.Run(R"(INSERT INTO "DoubleLines" ("GUID","Provod") VALUES ('g3',)" + viaDouble + ")");
    auto markas = [](const TSwitchGRs& c) {
        std::vector<std::string> out;
        for (int i = 0; i < c.Count(); ++i) out.push_back(c.GetItem(i)->Marka);
        return out;
    };
    TSwitchGRs whole;
    Load(whole);
    EXPECT_EQ(markas(whole), (std::vector<std::string>{"unused", "viaDouble", "viaLine"}));
    EXPECT_EQ(whole.GetItem(0)->Name, "Breaker");
    EXPECT_EQ(std::to_string(whole.GetItem(0)->SwitchGType), breaker);
    TSwitchGRs owned;
    owned.LoadFromDatabase(db, 1, "'o1'");
    EXPECT_EQ(markas(owned), (std::vector<std::string>{"viaDouble", "viaLine"}));
}

TEST_F(SwitchGRsDatabase, NullCurrentsAndTimesRoundTripAndUpdateNamesIdentEleventh) {
    const std::string breaker = Type("Breaker");
    const std::string ident = Device("QF", breaker, R"(,"Inom","Ton")", ",NULL,NULL");
    Device("gone", breaker, R"(,"Inom")", ",1");
    TSwitchGRs c;
    Load(c);
    ASSERT_EQ(c.Count(), 2);
    TSwitchGR* qf = c.GetItem(0);  // upper-case letters come first in byte order
    ASSERT_EQ(qf->Marka, "QF");
    for (double value : {qf->Inom, qf->Ioff, qf->Id, qf->It, qf->Toff, qf->Ton}) EXPECT_EQ(value, NotSet);
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    EXPECT_EQ(ChildNames(doc.child("KelmSwitchGRs").first_child()),
              (std::vector<std::string>{"Marka", "Ident", "Unom", "SwitchGType", "Name"}));

    c.MarkDeleted(c.GetItem(1));
    qf->Added = 1;
    test::StatementLog log;
    db.SetStatementListener(&log);
    Save(c);
    EXPECT_TRUE(errors.shown.empty());
    EXPECT_EQ(c.Count(), 1);
    EXPECT_EQ(log.Starting(R"(delete from "SwitchGR")").size(), 1u);
    EXPECT_TRUE(log.Starting(R"(INSERT INTO "SwitchGN")").empty());  // the type exists
    const auto updates = log.Starting(R"(UPDATE "SwitchGR")");
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_TRUE(updates[0].sql.ends_with(R"(WHERE "Ident"=:11)"));
    EXPECT_EQ(updates[0].params, (std::vector<std::string>{"10", breaker, "QF", "", "NULL", "NULL", "NULL", "NULL",
                                                           "NULL", "NULL", ident}));
    EXPECT_EQ(catalogue.Rows(R"(select "Inom","Ioff","Id","It","Toff","Ton" from "SwitchGR")"),
              (std::vector<std::vector<std::string>>{std::vector<std::string>(6, "NULL")}));
}

TEST_F(SwitchGRsDatabase, MissingTypeIsCreatedFirstWithTheIdentifierTheDatabaseGave) {
    Type("Breaker");
    // Another user adds a type between our generator read and our insert.
    struct Intruder : test::StatementLog {
        const test::FreshCatalogue* catalogue;
        bool done = false;
        void StatementRun(const std::string& sql, const std::vector<ParamValue>& params) override {
            StatementLog::StatementRun(sql, params);
            if (!done && sql.starts_with(R"( INSERT INTO "SwitchGN")")) {
                done = true;
                catalogue->Run(R"(INSERT INTO "SwitchGN" ("Name") VALUES ('theirs'))");
            }
        }
    } log;
    log.catalogue = &catalogue;
    db.SetStatementListener(&log);

    TSwitchGRs c, source;
    const TSwitchGR* device = SaveCopy(c, *AddDevice(source, "QS", 10, 1, W("Разъединитель")));
    ASSERT_TRUE(errors.shown.empty());
    ASSERT_TRUE(log.done);
    EXPECT_EQ(TypeRows(), (std::vector<std::vector<std::string>>{{"1", "Breaker"}, {"2", "theirs"},
                                                                  {"3", W("Разъединитель")}}));
    EXPECT_EQ(device->SwitchGType, 3);
    std::vector<std::string> order;
    for (const auto& entry : log.entries) order.push_back(entry.sql.substr(0, 30));
    // No identifier is guessed from a generator: only the database gives them.
    // The look-up after the insert takes the lowest row of that name.
    EXPECT_EQ(order, (std::vector<std::string>{R"( select "Ident" from "SwitchGN)", R"( INSERT INTO "SwitchGN" ("Name)",
                                               R"( select "Ident" from "SwitchGN)", R"(INSERT INTO "SwitchGR" ("Unom")"}));
    EXPECT_EQ(log.entries[3].params[1], "3");
    EXPECT_EQ(catalogue.Value(R"(select "SwitchGType" from "SwitchGR")"), "3");
}

TEST_F(SwitchGRsDatabase, TwoNewTypeNamesInOneSaveGetDistinctIdentifiers) {
    TSwitchGRs c, source;
    int index = 0;
    c.AddCopy(*AddDevice(source, "Q1", 10, 5, W("Выключатель")), index);
    c.AddCopy(*AddDevice(source, "Q2", 10, 6, W("Отделитель")), index);
    c.AddCopy(*AddDevice(source, "Q3", 10, 5, W("Выключатель")), index);
    Save(c);
    ASSERT_TRUE(errors.shown.empty());
    EXPECT_EQ(TypeRows(), (std::vector<std::vector<std::string>>{{"1", W("Выключатель")}, {"2", W("Отделитель")}}));
    TSwitchGRs back;
    Load(back);
    ASSERT_EQ(back.Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.GetItem(i)->Name, c.GetItem(i)->Name);
        EXPECT_EQ(back.GetItem(i)->SwitchGType, c.GetItem(i)->SwitchGType);
    }
    EXPECT_EQ(c.GetItem(0)->SwitchGType, 1);
    EXPECT_EQ(c.GetItem(1)->SwitchGType, 2);
}

TEST_F(SwitchGRsDatabase, TypeNameFoundUnderAnotherIdentifierGivesTheTargetsIdentifier) {
    Type("Disconnector");                           // 1 here
    const std::string breaker = Type("Breaker");  // 2 here
    TSwitchGRs c, source;
    // In the catalogue it comes from, "Breaker" had identifier 1.
    const TSwitchGR* device = SaveCopy(c, *AddDevice(source, "QF", 10, 1, "Breaker"));
    ASSERT_TRUE(errors.shown.empty());
    EXPECT_EQ(std::to_string(device->SwitchGType), breaker);
    EXPECT_EQ(catalogue.Value(R"(select "SwitchGType" from "SwitchGR")"), breaker);
    EXPECT_EQ(TypeRows().size(), 2u);
}

TEST_F(SwitchGRsDatabase, FailedTypeCreationKeepsTheDeviceForTheNextSave) {
    catalogue.Run(R"(CREATE EXCEPTION "NoTypes" 'no new types')");
    catalogue.Run(R"(CREATE TRIGGER "SwitchGN_NoInsert" FOR "SwitchGN" BEFORE INSERT POSITION 1 AS BEGIN EXCEPTION "NoTypes"; END)");
    TSwitchGRs c, source;
    const TSwitchGR* device = SaveCopy(c, *AddDevice(source, "M", 10, 1, "new type"));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{"M (10 " + W("кВ") + ")"}));
    EXPECT_EQ(device->Added, 1);
    EXPECT_EQ(device->Ident, -1);
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "SwitchGR")"), "0");
}

TEST_F(SwitchGRsDatabase, TypeIdentifierBeyondSixteenBitsFailsTheDevice) {
    catalogue.Run(R"(SET GENERATOR "SwitchGNIdent" TO 32767)");
    TSwitchGRs c, source;
    const TSwitchGR* device = SaveCopy(c, *AddDevice(source, "M", 10, 1, "new type"));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(device->Added, 1);
    EXPECT_TRUE(TypeRows().empty());
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "SwitchGR")"), "0");
}

TEST_F(SwitchGRsDatabase, FailedDeviceKeepsItsSharedTypeAndStaysNew) {
    TSwitchGRs c, source;
    const std::string tooLong(150, 'Q');  // does not fit "Marka"
    const TSwitchGR* device = SaveCopy(c, *AddDevice(source, tooLong, 6.3, 1, "new type"));
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0], (std::vector<std::string>{tooLong + " (6,3 " + W("кВ") + ")"}));
    EXPECT_EQ(device->Added, 1);
    EXPECT_EQ(TypeRows().size(), 1u);  // committed on its own, for every writer to share
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "SwitchGR")"), "0");
}

}  // namespace
}  // namespace kelm
