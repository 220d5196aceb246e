#include "core/database.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "catalogues/categories.h"
#include "core/data_module.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "core/number_text.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::W;

TEST(PositionalSql, EachNamedParameterIsOnePosition) {
    int count = 0;
    EXPECT_EQ(PositionalSql(R"(UPDATE "C" set "Ident"=:p1,"N"=:p2 WHERE "Ident"=:p1)", &count),
              R"(UPDATE "C" set "Ident"=?,"N"=? WHERE "Ident"=?)");
    EXPECT_EQ(count, 3);
    EXPECT_EQ(PositionalSql(R"(x=:p10 WHERE "Ident"=:11)", &count), R"(x=? WHERE "Ident"=?)");
    EXPECT_EQ(count, 2);
    EXPECT_EQ(PositionalSql(R"(select ':a', "b:c" from t -- :d
 where x = :e)", &count), R"(select ':a', "b:c" from t -- :d
 where x = ?)");
    EXPECT_EQ(count, 1);
}

class DatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    FreshCatalogue catalogue;
    TRef_DataModule db;
};

TEST_F(DatabaseTest, TransactionKeepsNothingUntilCommittedAndSavepointsUndoAlone) {
    auto insert = [&](const std::string& type) {
        db.SQLQuery.SetText(R"(INSERT INTO "Transforms2" ("TypeTR") VALUES (:p1))");
        db.SQLQuery.Param(0).SetString(type);
        db.SQLQuery.Execute();
    };
    auto count = [&] { return catalogue.Value(R"(select count(*) from "Transforms2")"); };
    {
        Transaction transaction(db.SQLConnection);
        insert("dropped");
    }  // not committed
    EXPECT_EQ(count(), "0");
    {
        Transaction transaction(db.SQLConnection);
        insert("kept");
        {
            Savepoint savepoint(transaction);
            insert("undone");
        }
        Savepoint savepoint(transaction);
        insert("kept too");
        savepoint.release();
        // Its own statements see what it wrote; others do not until the commit.
        db.SQLQuery.SetText(R"(select count(*) from "Transforms2")");
        db.SQLQuery.Open();
        EXPECT_EQ(db.SQLQuery.Field(0).AsInteger(), 2);
        db.SQLQuery.Close();
        EXPECT_EQ(count(), "0");
        transaction.commit();
    }
    EXPECT_EQ(catalogue.Rows(R"(select "TypeTR" from "Transforms2" order by 1)"),
              (std::vector<std::vector<std::string>>{{"kept"}, {"kept too"}}));
}

TEST_F(DatabaseTest, TextTravelsAsWindows1251Bytes) {
    const std::string marka = W("ТМ-1000/10 «ёлка» №5");
    Query& q = db.SQLQuery;
    q.SetText(R"(INSERT INTO "Transforms2" ("TypeTR","Unom") VALUES (:p1,:p2) RETURNING "Ident")");
    q.Param(0).SetString(marka);
    q.Param(1).SetDouble(10.5);
    q.Execute();
    const auto ident = q.Field("ident").AsInteger();
    EXPECT_EQ(ident, 1);  // from the generator, through the trigger
    q.SetText(R"(select * from "Transforms2" where "Ident"=:p1)");
    q.Param(0).SetInteger(ident);
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.Field("TYPETR").AsString(), marka);
    EXPECT_DOUBLE_EQ(q.Field("Unom").AsDouble(), 10.5);
    EXPECT_TRUE(q.Field("NumberOtp").IsNull());
    EXPECT_EQ(q.Field("NumberOtp").AsInteger(), 0);
    EXPECT_THROW(q.Field("NoSuchColumn"), DatabaseError);
    q.Next();
    EXPECT_TRUE(q.Eof());
}

// Committing a read-write transaction writes the database file, a synchronous
// disk write under forced writes, so opening a catalogue of many statements
// would wait on the disk for each of them.
TEST_F(DatabaseTest, SelectsRunInReadOnlyTransactions) {
    Query& q = db.SQLQuery;
    q.SetText(R"(select MON$READ_ONLY from MON$TRANSACTIONS where MON$TRANSACTION_ID = CURRENT_TRANSACTION)");
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.Field(0).AsInteger(), 1);
    q.SetText(R"(INSERT INTO "Unom" ("Unom") VALUES (:p1))");
    q.Param(0).SetDouble(10);
    q.Execute();  // writes still can
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Unom")"), "1");
}

// Selects share one reading transaction; it must not keep them from seeing
// what was committed since, here or by another connection.
TEST_F(DatabaseTest, SelectsSeeEveryCommittedChange) {
    Query& q = db.SQLQuery;
    auto count = [&] {
        q.SetText(R"(select count(*) from "Unom")");
        q.Open();
        const auto value = q.Field(0).AsInteger();
        q.Close();
        return value;
    };
    EXPECT_EQ(count(), 0);
    catalogue.Run(R"(INSERT INTO "Unom" ("Unom") VALUES (6))");
    EXPECT_EQ(count(), 1);
    db.EnsureUnom(10);
    EXPECT_EQ(count(), 2);
}

TEST_F(DatabaseTest, NullParametersAndNumbersOfAnyColumnType) {
    Query& q = db.SQLQuery;
    q.SetText(R"(INSERT INTO "Provods" ("Marka",F,B0,"Idop") VALUES (:p1,:p2,:p3,:p4))");
    q.Param(0).SetString("AC-70");
    q.Param(1).SetDouble(70.4);  // whole-number column: the database rounds
    q.Param(2).SetNull();
    q.Param(3).SetString("265");  // text into a number column converts
    q.Execute();
    q.SetText(R"(select * from "Provods")");
    q.Open();
    EXPECT_EQ(q.Field("F").AsInteger(), 70);
    EXPECT_DOUBLE_EQ(q.Field("f").AsDouble(), 70.0);
    EXPECT_EQ(q.Field("F").AsString(), "70");
    EXPECT_TRUE(q.Field("B0").IsNull());
    EXPECT_EQ(q.Field("Idop").AsInteger(), 265);
}

TEST_F(DatabaseTest, EveryParameterMustBeSet) {
    Query& q = db.SQLQuery;
    q.SetText(R"(INSERT INTO "Unom" ("Unom") VALUES (:p1))");
    EXPECT_THROW(q.Execute(), DatabaseError);
}

TEST_F(DatabaseTest, GeneratorIsReadWithoutAdvancing) {
    catalogue.Run(R"(ALTER SEQUENCE "ReferenceIdent" RESTART WITH 500)");
    EXPECT_EQ(db.GeneratorValue("ReferenceIdent"), 500);
    EXPECT_EQ(db.GeneratorValue("ReferenceIdent"), 500);
}

TEST_F(DatabaseTest, EnsureUnomAddsAVoltageOnce) {
    db.EnsureUnom(10.5);
    db.EnsureUnom(10.5);
    db.EnsureUnom(0.4);
    EXPECT_EQ(catalogue.Rows(R"(select "Unom" from "Unom" order by 1)"),
              (std::vector<std::vector<std::string>>{{"0.4"}, {"10.5"}}));
}

// Runs `step` once, just before the first statement that starts with `prefix`.
class BeforeStatement : public StatementListener {
public:
    BeforeStatement(std::string prefix, std::function<void()> step) : prefix_(std::move(prefix)), step_(std::move(step)) {}
    void StatementRun(const std::string& sql, const std::vector<ParamValue>&) override {
        if (step_ && sql.find(prefix_) != std::string::npos) std::exchange(step_, nullptr)();
    }

private:
    std::string prefix_;
    std::function<void()> step_;
};

TEST_F(DatabaseTest, AVoltageAnotherWriterRegisteredMeanwhileIsKeptOnce) {
    // The registry has no unique key to stop the second insert.
    BeforeStatement other(R"(INSERT INTO "Unom")", [&] { catalogue.Run(R"(INSERT INTO "Unom" ("Unom") VALUES (0.4))"); });
    db.SetStatementListener(&other);
    db.EnsureUnom(0.4);
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Unom")"), "1");
}

TEST_F(DatabaseTest, ARowAnotherWriterHoldsFailsItsRecordAfterTheLockTimeout) {
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('held',10,100))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('free',10,200))");
    TRef_DataModule holder;
    holder.ConnectTo(catalogue.Path());
    Transaction held(holder.SQLConnection);
    holder.SQLQuery.SetText(R"(UPDATE "Transforms2" set "Snom"=101 WHERE "TypeTR"='held')");
    holder.SQLQuery.Execute();

    ConnectionSettings settings = TRef_DataModule::CatalogueSettings();
    settings.lockTimeout = 1;
    TRef_DataModule writer(settings);
    const auto reference = OpenSource(catalogue.Path(), writer, NewReference);
    TXMLCustomClass& transformers = *reference->GetCollection(1);
    ASSERT_EQ(transformers.Count(), 2);
    for (int i = 0; i < 2; ++i) transformers.GetItem(i)->Deleted = 1;
    EXPECT_EQ(SaveDatabase(*reference, writer, NumberText(',')), 1);
    ASSERT_EQ(transformers.Errors.size(), 1u);
    EXPECT_EQ(transformers.Errors[0], "held-100 (10 " + W("кВ") + ")");
    EXPECT_NE(transformers.ErrorReasons[0].find("lock"), std::string::npos) << transformers.ErrorReasons[0];
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "Transforms2" where "TypeTR"='free')"), "0");
}

TEST_F(DatabaseTest, StatementErrorsCarryTheEngineMessage) {
    Query& q = db.SQLQuery;
    q.SetText(R"(select * from "NoSuchTable")");
    try {
        q.Open();
        FAIL() << "opened a missing table";
    } catch (const DatabaseError& error) {
        EXPECT_NE(std::string(error.what()).find("NoSuchTable"), std::string::npos) << error.what();
    }
    // The query is usable again after a failure.
    q.SetText(R"(select count(*) from "Unom")");
    q.Open();
    EXPECT_EQ(q.Field(0).AsInteger(), 0);
}

TEST_F(DatabaseTest, ASharedRowCreatedMeanwhileIsFoundAfterItsUniqueKeyConflict) {
    // Another writer inserts the type between this writer's look-up and insert.
    catalogue.Run(R"(INSERT INTO "SwitchGN" ("Ident","Name") VALUES (0,'выключатель'))");
    Query& q = db.SQLQuery;
    int lookups = 0;
    std::int64_t found = 0;
    auto find = [&] {
        if (++lookups == 1) return false;  // the look-up made before the other writer committed
        q.SetText(R"(select "Ident" from "SwitchGN" where "Name"=:p1)");
        q.Param(0).SetString(W("выключатель"));
        q.Open();
        found = q.Eof() ? 0 : q.Field(0).AsInteger();
        return !q.Eof();
    };
    auto create = [&] {
        q.SetText(R"(INSERT INTO "SwitchGN" ("Ident","Name") VALUES (0,:p1))");
        q.Param(0).SetString(W("выключатель"));
        q.Execute();
    };
    EXPECT_FALSE(FindOrCreateRow(db.SQLConnection, find, create));
    EXPECT_EQ(lookups, 2);
    EXPECT_EQ(std::to_string(found), catalogue.Value(R"(select "Ident" from "SwitchGN")"));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "SwitchGN")"), "1");

    // Any other failure of the insert is the writer's own.
    auto failing = [&] {
        q.SetText(R"(INSERT INTO "SwitchGN" ("Ident","Name") VALUES (0,:p1))");
        q.Param(0).SetString(std::string(200, 'x'));  // longer than the column
        q.Execute();
    };
    EXPECT_THROW(FindOrCreateRow(db.SQLConnection, [] { return false; }, failing), DatabaseError);
}

TEST(DatabaseConnection, OpensAFileInAFolderWithACyrillicName) {
    FreshCatalogue catalogue("Справочники Kelm", "каталог.fdb");
    TRef_DataModule db;
    db.ConnectTo(catalogue.Path());
    db.SQLQuery.SetText(R"(select count(*) from "Transforms2")");
    db.SQLQuery.Open();
    EXPECT_EQ(db.SQLQuery.Field(0).AsInteger(), 0);
}

// The script's Russian text arrives whole even when the database was made
// from a shell without a UTF-8 locale.
TEST(DatabaseConnection, RussianMarksAndCommentsArriveWholeFromTheScript) {
    FreshCatalogue catalogue("", "catalogue.fdb", test::CyrillicCatalogueTemplate());
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(catalogue.Rows(R"(select "Marka", "AddStr" from "Provods")"),
              (Rows{{W("АСКП-95/16"), W("для побережья, Ёё")}}));
    EXPECT_EQ(catalogue.Rows(R"(select "TypeTR", "AddStr" from "Transforms2")"),
              (Rows{{W("ТМН-6300/35-У1"), W("с РПН ±9 ступеней по 1,78%; «ёлка»")}}));
}

TEST(DatabaseConnection, MissingFileIsAnErrorAndLeavesNoConnection) {
    test::TempDir dir;
    TRef_DataModule db;
    EXPECT_THROW(db.ConnectTo(dir.File("missing.fdb")), DatabaseError);
    EXPECT_FALSE(db.Connected());
    db.SQLQuery.SetText(R"(select 1 from rdb$database)");
    EXPECT_THROW(db.SQLQuery.Open(), DatabaseError);
}

TEST(DatabaseConnection, ReconnectingSwitchesDatabases) {
    FreshCatalogue first, second;
    second.Run(R"(INSERT INTO "Unom" ("Unom") VALUES (6))");
    TRef_DataModule db;
    db.ConnectTo(first.Path());
    db.SQLQuery.SetText(R"(select count(*) from "Unom")");
    db.SQLQuery.Open();
    EXPECT_EQ(db.SQLQuery.Field(0).AsInteger(), 0);
    db.ConnectTo(second.Path());
    db.SQLQuery.SetText(R"(select count(*) from "Unom")");
    db.SQLQuery.Open();
    EXPECT_EQ(db.SQLQuery.Field(0).AsInteger(), 1);
}

}  // namespace
}  // namespace kelm
