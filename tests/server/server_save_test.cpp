// A save to a database server sends its records in batches: the rows come
// out as a save to a local file writes them, a record that fails fails alone
// with the database's reason, and a save cut short leaves nothing.
#include <gtest/gtest.h>

#include "app/catalogue_tool_fixture.h"
#include "bench/catalogue_generator.h"
#include "catalogues/categories.h"
#include "catalogues/provods.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"
#include "core/batched_write.h"
#include "core/collection.h"
#include "core/data_module.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "formats/catalogue_file.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::ServerCatalogue;

class ServerSave : public ::testing::Test {
protected:
    // What `source` holds, as an exchange file's text.
    std::string Contents(const std::string& source, const std::string& name) {
        TRef_DataModule db;
        auto reference = OpenCatalogue(source, db);
        const std::string path = dir.File(name);
        WriteExchangeFile(*reference, path, settings, 0);
        return test::ReadText(path);
    }
    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    NumberText numbers{','};
    test::TempDir dir;
};

TEST_F(ServerSave, WritesWhatALocalSaveWritesAndFailsBadRecordsAlone) {
    constexpr int kElements = 1500;
    FreshCatalogue local;
    ServerCatalogue remote;
    struct Save {
        std::unique_ptr<TReference> reference;
        std::vector<std::string> reasons;
    };
    // Saves the generated catalogue with one mark too long for its column,
    // then again with some records changed and some deleted.
    auto save = [&](const std::string& source, test::StatementLog& log) {
        TRef_DataModule db;
        db.ConnectTo(source);
        Save saved{bench::GenerateCatalogue(kElements, 3), {}};
        auto* transformers = static_cast<TTransforms*>(saved.reference->GetCollection(1));
        transformers->GetItem(7)->Marka = std::string(150, 'x');
        db.SetStatementListener(&log);
        EXPECT_EQ(SaveDatabase(*saved.reference, db, numbers), 1);
        saved.reasons = transformers->ErrorReasons;
        EXPECT_EQ(transformers->GetItem(7)->Added, 1);
        EXPECT_LT(transformers->GetItem(7)->Ident, 1);
        for (int c = 0; c < saved.reference->CategoryCount(); ++c) {
            TXMLCustomClass& collection = *saved.reference->GetCollection(c);
            for (int i = 0; i < collection.Count(); i += 5) {
                TBaseElement& record = *collection.GetItem(i);
                if (record.Ident < 1) continue;
                if (i % 2) {
                    record.Deleted = 1;
                } else {
                    record.Marka += "-2";
                    record.Added = 1;
                }
            }
        }
        EXPECT_EQ(SaveDatabase(*saved.reference, db, numbers), 1);
        db.SetStatementListener(nullptr);
        return saved;
    };
    test::StatementLog localLog, remoteLog;
    const Save inFile = save(local.Path(), localLog);
    const Save onServer = save(remote.Source(), remoteLog);

    EXPECT_EQ(onServer.reasons, inFile.reasons);
    ASSERT_EQ(onServer.reasons.size(), 1u);
    EXPECT_NE(onServer.reasons[0].find("truncation"), std::string::npos) << onServer.reasons[0];
    EXPECT_EQ(Contents(remote.Source(), "server.xml"), Contents(local.Path(), "local.xml"));
    for (int c = 0; c < inFile.reference->CategoryCount(); ++c) {
        const TXMLCustomClass& a = *inFile.reference->GetCollection(c);
        const TXMLCustomClass& b = *onServer.reference->GetCollection(c);
        ASSERT_EQ(a.Count(), b.Count());
        for (int i = 0; i < a.Count(); ++i) EXPECT_EQ(a.GetItem(i)->Ident, b.GetItem(i)->Ident) << c << " " << i;
    }
    // Batches, and the bad record once more on its own for its reason.
    EXPECT_FALSE(remoteLog.Starting("EXECUTE BLOCK").empty());
    EXPECT_EQ(remoteLog.Starting("INSERT INTO \"Transforms2\"").size(), 2u);
    // Each save within its share of round trips: a statement per fifty records, and a few more.
    EXPECT_LE(remoteLog.entries.size(), 2u * (kElements / 50 + 20));
    EXPECT_LT(remoteLog.entries.size() * 5, localLog.entries.size());
}

// A block the server refuses as a whole (here for a statement naming a table
// the database lacks) has each of its records written on its own instead.
TEST_F(ServerSave, ABlockRefusedAsAWholeGoesRecordByRecord) {
    ServerCatalogue remote;
    Category<TSwitchGR> category = SwitchGRsCategory();
    category.hooks.afterWriteInBatch = {
        {+[](const TSwitchGR&) { return true; }, R"(delete from "NoSuchTable" where "Ident"=:p1)", {}, {}}};
    TCategoryCollection<TSwitchGR, TXMLClass> devices(category);
    for (int i = 0; i < 30; ++i) {
        auto& device = static_cast<TSwitchGR&>(*devices.AppendNew());
        device.Marka = "В-" + std::to_string(i);
        device.Unom = 10;
        device.Name = i % 2 ? "Выключатель" : "Разъединитель";
        device.Added = 1;
    }
    TRef_DataModule db;
    db.ConnectTo(remote.Source());
    test::StatementLog log;
    db.SetStatementListener(&log);
    EXPECT_EQ(devices.SaveToDatabase(db, numbers), 0);
    EXPECT_FALSE(log.Starting("EXECUTE BLOCK").empty());
    EXPECT_EQ(log.Starting(R"(INSERT INTO "SwitchGR")").size(), 30u);
    EXPECT_EQ(remote.Value(R"(select count(*) from "SwitchGR")"), "30");
    EXPECT_EQ(remote.Value(R"(select count(*) from "SwitchGN")"), "2");
    for (int i = 0; i < devices.Count(); ++i) EXPECT_GE(devices.GetItem(i)->Ident, 1);
}

// A voltage the registry refuses in its block is not taken for registered:
// the record's own look-up meets the refusal again and the record fails with
// it, while the rest are saved.
TEST_F(ServerSave, AVoltageTheRegistryRefusesFailsItsRecords) {
    ServerCatalogue remote;
    remote.Run(R"(create exception "VoltageRefused" 'voltage refused')");
    remote.Run(R"(create trigger "RefuseVoltage" for "Unom" before insert as
                  begin if (new."Unom" = 35) then exception "VoltageRefused"; end)");
    std::unique_ptr<TReference> catalogue = bench::GenerateCatalogue(300, 3);
    auto& lines = static_cast<TProvods&>(*catalogue->GetCollection(0));
    for (int i = 0; i < 3; ++i) lines.GetItem(i)->Unom = 35;
    std::size_t refused = 0;
    for (int i = 0; i < lines.Count(); ++i) refused += lines.GetItem(i)->Unom == 35;
    TRef_DataModule db;
    db.ConnectTo(remote.Source());
    EXPECT_EQ(SaveDatabase(*catalogue, db, numbers), static_cast<int>(refused));
    ASSERT_EQ(lines.ErrorReasons.size(), refused);
    EXPECT_NE(lines.ErrorReasons[0].find("voltage refused"), std::string::npos) << lines.ErrorReasons[0];
    for (int i = 0; i < 3; ++i) EXPECT_LT(lines.GetItem(i)->Ident, 1);
    EXPECT_EQ(remote.Value(R"(select count(*) from "Provods")"), std::to_string(lines.Count() - refused));
}

// Blocks follow the network: few and large over a slow one, smaller over a
// fast one, whose server prepares them much sooner; always evenly filled, and
// within the records, inputs and message a block is held to.
TEST(BlockPlaces, FollowTheNetworkWithinTheirLimits) {
    using detail::BlockPlaces;
    for (const std::size_t records : {150u, 400u, 4000u}) {
        for (const std::size_t inputs : {5u, 18u}) {
            const std::size_t fast = BlockPlaces(records, inputs, 300, 0.05);
            const std::size_t slow = BlockPlaces(records, inputs, 300, 10);
            EXPECT_LE(fast, slow) << records << " " << inputs;
            for (const std::size_t places : {fast, slow}) {
                const std::size_t blocks = (records + places - 1) / places;
                EXPECT_GE(places, detail::kBlockRecords);
                EXPECT_LE(places * inputs, detail::kBlockInputs);
                EXPECT_LT(blocks * places - records, blocks);
            }
        }
    }
    EXPECT_LT(BlockPlaces(4000, 18, 300, 0.05), BlockPlaces(4000, 18, 300, 10));
    EXPECT_LT(BlockPlaces(400, 5, 100, 0.05), 200u);
    EXPECT_EQ(BlockPlaces(30, 5, 100, 10), 30u);
    EXPECT_EQ(BlockPlaces(1000, 3, 20000, 10), detail::kBlockMessage / 20000);
}

TEST_F(ServerSave, KilledBetweenBatchesLeavesTheDatabaseAsItWas) {
    ServerCatalogue target;
    ASSERT_TRUE(test::SaveKilledAtLastCategory(target.Source(), [] { return bench::GenerateCatalogue(3000, 5); }));
    EXPECT_EQ(target.Value(R"(select count(*) from "Transforms2")"), "0");
    EXPECT_EQ(target.Value(R"(select count(*) from "Provods")"), "0");
    EXPECT_EQ(target.Value(R"(select count(*) from "Cables")"), "0");
}

}  // namespace
}  // namespace kelm
