#include "core/database.h"

#include <gtest/gtest.h>

#include "core/data_module.h"
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
