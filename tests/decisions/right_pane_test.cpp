// The right pane's operations without a window: what each changes in the
// records, in their marks and in the unsaved state.
#include "decisions/right_pane.h"

#include <gtest/gtest.h>

#include <fstream>

#include "catalogues/categories.h"
#include "catalogues/provods.h"
#include "catalogues/transforms.h"
#include "core/exchange_file.h"
#include "decisions/comparison.h"
#include "support/scripted_copy_questions.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using namespace test;

class RightPaneTest : public ::testing::Test {
protected:
    // A left catalogue of two-winding transformers, each "marka unom snom".
    void OpenLeft(const std::string& records) {
        const std::string path = dir.File("left.xml");
        std::ofstream(path) << "<KelmStorage><KelmReference_v1>" << records << "</KelmReference_v1></KelmStorage>";
        left = OpenSource(path, db, NewReference);
    }
    static std::string Transformer(const std::string& marka, const std::string& snom) {
        return "<KelmTransfor><Marka>" + marka + "</Marka><Unom>10</Unom><Snom>" + snom + "</Snom></KelmTransfor>";
    }
    PaneChanges DropAll() {
        std::vector<DroppedElement> elements;
        for (int c = 0; c < left->CategoryCount(); ++c)
            for (int i = 0; i < left->GetCollection(c)->Count(); ++i)
                elements.push_back({left->GetCollection(c)->GetItem(i), left->GetCollection(c)->GetItem(i)->Marka});
        CopyRun run(questions);
        return pane.Copy(run, elements);
    }
    TXMLCustomClass& Transformers() { return *pane.Reference().GetCollection(1); }
    TBaseElement* Record(int index) { return Transformers().GetItem(index); }
    std::vector<std::string> Markas() {
        std::vector<std::string> markas;
        for (int i = 0; i < Transformers().Count(); ++i) markas.push_back(Record(i)->Marka);
        return markas;
    }
    int Rows() { return std::stoi(database.Value(R"(select count(*) from "Transforms2")")); }
    // A node of the network with the transformer type `marka`, as another program would attach it.
    void AttachNode(const std::string& marka) {
        database.Run(R"(INSERT INTO "Nodes" ("Transf") SELECT "Ident" FROM "Transforms2" WHERE "TypeTR" = ')" + marka + "'");
    }
    // A database pane holding the transformers "A" (used by two nodes) and "B" (by none).
    void OpenUsedTypes() {
        database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('A',10,100))");
        database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,200))");
        AttachNode("A");
        AttachNode("A");
        pane.Open(database.Path(), db);
    }
    int Uses(int index) { return pane.Reference().Network.CountOf(*Record(index)); }

    TempDir dir;
    TRef_DataModule db;
    NumberText numbers{','};
    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    ScriptedCopyQuestions questions;
    std::unique_ptr<TReference> left;
    RightPane pane;
    FreshCatalogue database;
};

TEST_F(RightPaneTest, CopiesDeletesAndUndeletesTellWhatTheyChanged) {
    database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,100))");
    pane.Open(database.Path(), db);
    EXPECT_FALSE(pane.HasUnsavedChanges());
    OpenLeft(Transformer("A", "1") + Transformer("C", "2"));

    const PaneChanges copied = DropAll();
    ASSERT_EQ(copied.added.size(), 2u);
    EXPECT_EQ(Markas(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(copied.added[0]->Ident, kUnsavedCopy);
    EXPECT_EQ(copied.added[0]->Added, 1);
    EXPECT_TRUE(pane.HasUnsavedChanges());

    // A copy goes at once; a loaded record is only marked.
    TBaseElement* loaded = Record(1);
    const PaneChanges deleted = pane.Delete({copied.added[0], loaded});
    EXPECT_EQ(deleted.removed, std::vector<const TBaseElement*>{copied.added[0]});
    EXPECT_EQ(deleted.changed, std::vector<TBaseElement*>{loaded});
    EXPECT_EQ(Markas(), (std::vector<std::string>{"B", "C"}));
    EXPECT_EQ(loaded->Deleted, 1);

    const PaneChanges undeleted = pane.Undelete({loaded, Record(1)});
    EXPECT_EQ(undeleted.changed, std::vector<TBaseElement*>{loaded});  // the unmarked copy is not changed
    EXPECT_EQ(loaded->Deleted, 0);
    EXPECT_TRUE(pane.Delete({}).Empty());
}

TEST_F(RightPaneTest, AnEditWritesTheValuesAndTheLookupsFollow) {
    OpenLeft(Transformer("A", "1"));
    DropAll();
    TTransform values = static_cast<TTransform&>(*Record(0));
    values.Marka = "edited";
    values.Deleted = 1;  // marks are the record's own, never the dialog's
    const PaneChanges changes = pane.Edit(*Record(0), values);
    EXPECT_EQ(changes.changed, std::vector<TBaseElement*>{Record(0)});
    EXPECT_EQ(Record(0)->Marka, "edited");
    EXPECT_EQ(Record(0)->Deleted, 0);
    EXPECT_EQ(Record(0)->Added, 1);
    EXPECT_EQ(Transformers().FindSame(values), Record(0));
}

TEST_F(RightPaneTest, ADatabaseSaveDropsDeletedRecordsAndGivesCopiesTheirIdentifiers) {
    database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,100))");
    pane.Open(database.Path(), db);
    OpenLeft(Transformer("A", "1"));
    DropAll();
    TBaseElement* copy = Record(0);
    const TBaseElement* loaded = Record(1);
    pane.Delete({Record(1)});

    const PaneChanges saved = pane.SaveToDatabase(db, numbers);
    EXPECT_EQ(saved.removed, std::vector<const TBaseElement*>{loaded});
    EXPECT_EQ(saved.changed, std::vector<TBaseElement*>{copy});
    EXPECT_EQ(Markas(), std::vector<std::string>{"A"});
    EXPECT_GT(copy->Ident, 0);
    EXPECT_EQ(copy->Added, 0);
    EXPECT_EQ(database.Value(R"(select "TypeTR" from "Transforms2")"), "A");
    EXPECT_FALSE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, AFailedConnectionLeavesThePaneUnsaved) {
    pane.Open(database.Path(), db);
    OpenLeft(Transformer("A", "1"));
    DropAll();
    std::filesystem::remove(database.Path());
    EXPECT_ANY_THROW(pane.SaveToDatabase(db, numbers));
    EXPECT_EQ(Record(0)->Ident, kUnsavedCopy);
    EXPECT_EQ(Record(0)->Added, 1);
    EXPECT_TRUE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, ARefusedCommitLeavesThePaneAndTheDatabaseUnsaved) {
    database.Run(R"(CREATE EXCEPTION "NoCommit" 'commit refused')");
    database.Run(R"(CREATE TRIGGER "RefuseCommit" ON TRANSACTION COMMIT AS BEGIN
        IF (EXISTS(SELECT 1 FROM "Transforms2" WHERE "TypeTR" = 'refuse')) THEN EXCEPTION "NoCommit"; END)");
    pane.Open(database.Path(), db);
    OpenLeft(Transformer("A", "1") + Transformer("refuse", "2"));
    DropAll();

    EXPECT_ANY_THROW(pane.SaveToDatabase(db, numbers));
    EXPECT_EQ(Rows(), 0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Record(i)->Ident, kUnsavedCopy);
        EXPECT_EQ(Record(i)->Added, 1);
    }
    EXPECT_TRUE(pane.HasUnsavedChanges());

    // The connection outlives the refused commit: without the refused record the next save goes through.
    ASSERT_EQ(Markas(), (std::vector<std::string>{"A", "refuse"}));
    pane.Delete({Record(1)});
    pane.SaveToDatabase(db, numbers);
    EXPECT_EQ(database.Value(R"(select "TypeTR" from "Transforms2")"), "A");
    EXPECT_FALSE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, AFileSaveMakesThePaneThatFileAndCancelReloadsIt) {
    pane.Open(database.Path(), db);
    OpenLeft(Transformer("A", "1") + Transformer("C", "2"));
    DropAll();
    pane.Delete({Record(1)});  // a copy: gone at once
    const std::string path = dir.File("saved.xml");
    const PaneChanges saved = pane.SaveToFile(path, settings, 0);
    EXPECT_EQ(saved.changed, std::vector<TBaseElement*>{Record(0)});
    EXPECT_EQ(Record(0)->Ident, -1);
    EXPECT_EQ(pane.Path(), path);
    EXPECT_FALSE(pane.IsDatabase());
    EXPECT_FALSE(pane.HasUnsavedChanges());
    EXPECT_EQ(Rows(), 0);  // the database is not touched

    pane.Delete({Record(0)});
    EXPECT_TRUE(pane.HasUnsavedChanges());
    EXPECT_TRUE(pane.Cancel(db).replaced);
    EXPECT_EQ(Markas(), std::vector<std::string>{"A"});
    EXPECT_EQ(Record(0)->Deleted, 0);
    EXPECT_FALSE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, CancelWithoutASourceEmptiesAndANewFileStartsEmpty) {
    OpenLeft(Transformer("A", "1"));
    DropAll();
    EXPECT_TRUE(pane.Cancel(db).replaced);
    EXPECT_EQ(pane.Reference().TotalCount(), 0);
    EXPECT_FALSE(pane.HasUnsavedChanges());

    DropAll();
    const std::string path = dir.File("new.xml");
    EXPECT_TRUE(pane.NewExchangeFile(path, db, settings, 0).replaced);
    EXPECT_EQ(pane.Reference().TotalCount(), 0);
    EXPECT_EQ(pane.Path(), path);
    EXPECT_FALSE(pane.HasUnsavedChanges());
    EXPECT_THROW(pane.Open(dir.File("missing.xml"), db), OpenError);
    EXPECT_EQ(pane.Path(), path);
}

TEST_F(RightPaneTest, EachStepIsTakenBackAndMadeAgainWithTheSameRecords) {
    database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,100))");
    pane.Open(database.Path(), db);
    OpenLeft(Transformer("A", "1") + Transformer("C", "2"));
    TBaseElement* loaded = Record(0);

    PaneChanges copied = DropAll();
    TBaseElement* a = copied.added[0];
    TBaseElement* c = copied.added[1];
    const std::uint64_t afterCopy = pane.Revision();
    TTransform values = static_cast<TTransform&>(*loaded);
    values.Marka = "B2";
    PaneChanges edited = pane.Edit(*loaded, values);
    PaneChanges deleted = pane.Delete({a, loaded});
    PaneChanges undeleted = pane.Undelete({loaded});
    EXPECT_EQ(StepText(*copied.step), "копирование 2 элементов");
    EXPECT_EQ(StepText(*edited.step, "B2 (10 кВ)"), "изменение свойств B2 (10 кВ)");

    EXPECT_EQ(pane.Undo(*undeleted.step).changed, std::vector<TBaseElement*>{loaded});
    EXPECT_EQ(loaded->Deleted, 1);
    const PaneChanges undoneDelete = pane.Undo(*deleted.step);
    EXPECT_EQ(undoneDelete.added, std::vector<TBaseElement*>{a});
    EXPECT_EQ(Markas(), (std::vector<std::string>{"A", "B2", "C"}));
    EXPECT_EQ(Record(0), a);
    EXPECT_EQ(loaded->Deleted, 0);
    pane.Undo(*edited.step);
    EXPECT_EQ(loaded->Marka, "B");
    EXPECT_EQ(loaded->Added, 0);
    EXPECT_EQ(pane.Revision(), afterCopy);
    const PaneChanges undoneCopy = pane.Undo(*copied.step);
    EXPECT_EQ(undoneCopy.removed, (std::vector<const TBaseElement*>{a, c}));
    EXPECT_EQ(Markas(), std::vector<std::string>{"B"});
    EXPECT_FALSE(pane.HasUnsavedChanges());
    EXPECT_TRUE(pane.Undo(*copied.step).Empty());  // already taken back

    EXPECT_EQ(pane.Redo(*copied.step).added, (std::vector<TBaseElement*>{a, c}));
    EXPECT_EQ(Markas(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(Record(0), a);
    EXPECT_EQ(Record(2), c);
    EXPECT_EQ(pane.Revision(), afterCopy);
    pane.Redo(*edited.step);
    EXPECT_EQ(loaded->Marka, "B2");
    EXPECT_EQ(loaded->Added, 1);
    EXPECT_EQ(pane.Redo(*deleted.step).removed, std::vector<const TBaseElement*>{a});
    EXPECT_EQ(Markas(), (std::vector<std::string>{"B2", "C"}));
    EXPECT_EQ(loaded->Deleted, 1);
    pane.Redo(*undeleted.step);
    EXPECT_EQ(loaded->Deleted, 0);
    EXPECT_TRUE(pane.HasUnsavedChanges());
    // A new change after an undo starts a new state: it never counts as saved.
    pane.Undo(*undeleted.step);
    pane.Undo(*deleted.step);
    pane.Undo(*edited.step);
    pane.Undo(*copied.step);
    pane.Delete({loaded});
    EXPECT_TRUE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, AStepOfTheCatalogueBeforeASaveChangesNothing) {
    OpenLeft(Transformer("A", "1"));
    PaneChanges copied = DropAll();
    pane.SaveToFile(dir.File("saved.xml"), settings, 0);
    EXPECT_TRUE(pane.Undo(*copied.step).Empty());
    EXPECT_EQ(Markas(), std::vector<std::string>{"A"});
    EXPECT_FALSE(pane.HasUnsavedChanges());
}

TEST_F(RightPaneTest, APartlyFailedSaveKeepsTheStepsOfTheRecordsStillUnsaved) {
    database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,100))");
    pane.Open(database.Path(), db);
    const std::string tooLong(150, 'x');  // does not fit the column
    OpenLeft(Transformer("A", "1") + Transformer(tooLong, "2"));
    auto named = [&](const std::string& marka) {
        for (int i = 0; i < Transformers().Count(); ++i)
            if (Record(i)->Marka == marka) return Record(i);
        return static_cast<TBaseElement*>(nullptr);
    };
    std::vector<std::unique_ptr<PaneStep>> steps;
    steps.push_back(DropAll().step);
    std::unique_ptr<TBaseElement> values = Transformers().Clone(*named("A"));
    values->Unom = 6;
    steps.push_back(pane.Edit(*named("A"), *values).step);
    steps.push_back(pane.Delete({named("B")}).step);
    pane.SaveToDatabase(db, numbers);
    ASSERT_TRUE(pane.HasUnsavedChanges());

    // Only the copy that failed is left to take back, and then nothing is unsaved.
    std::vector<std::unique_ptr<PaneStep>> kept = pane.KeepUnsavedSteps(std::move(steps));
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(StepText(*kept[0]), "копирование 1 элемента");
    pane.Undo(*kept[0]);
    EXPECT_EQ(Markas(), std::vector<std::string>{"A"});
    EXPECT_FALSE(pane.HasUnsavedChanges());
    pane.Redo(*kept[0]);
    EXPECT_EQ(Markas().size(), 2u);
    EXPECT_TRUE(pane.HasUnsavedChanges());
    EXPECT_TRUE(pane.KeepUnsavedSteps({}).empty());  // once, right after the save
}

TEST(StepText, CountsElementsInRussian) {
    EXPECT_EQ(CopyingText(1), "копирование 1 элемента");
    EXPECT_EQ(CopyingText(11), "копирование 11 элементов");
    EXPECT_EQ(CopyingText(12), "копирование 12 элементов");
    EXPECT_EQ(CopyingText(21), "копирование 21 элемента");
    EXPECT_EQ(CopyingText(20000), "копирование 20000 элементов");
}

// A line names its conductor type by content: the type's row identifier in
// one database means nothing in a file or in another database.
TEST_F(RightPaneTest, ALineIsFoundAgainAfterASaveAndBetweenDatabasesWithOtherTypeRows) {
    const std::string line = "<KelmProvod><Marka>AC-70</Marka><F>70</F><Unom>10</Unom><Name>ac</Name>"
                             "<ProvodType>77</ProvodType><R0>0.4</R0><X0>0.3</X0><Idop>265</Idop></KelmProvod>";
    OpenLeft(line);
    // The two databases give the same type different row identifiers.
    FreshCatalogue other;
    database.Run(R"(INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (35,'x',0))");
    pane.Open(database.Path(), db);
    DropAll();
    pane.SaveToDatabase(db, numbers);
    const TBaseElement& saved = *pane.Reference().GetCollection(0)->GetItem(0);
    EXPECT_NE(static_cast<const TProvod&>(saved).ProvodType, 77);
    EXPECT_TRUE(CatalogueComparison(*left, pane.Reference()).Same());
    questions.choices = {{Skip, false}};
    EXPECT_TRUE(DropAll().added.empty());
    EXPECT_EQ(questions.asked.size(), 1u);

    RightPane second;
    second.Open(other.Path(), db);
    CopyRun run(questions);
    second.Copy(run, {{&saved, "AC-70"}});
    second.SaveToDatabase(db, numbers);
    const auto reopened = OpenSource(database.Path(), db, NewReference);
    EXPECT_NE(other.Value(R"(select "ProvodType" from "Provods")"), database.Value(R"(select "ProvodType" from "Provods")"));
    EXPECT_TRUE(CatalogueComparison(*reopened, second.Reference()).Same());
}

// A correction goes into the row the network already uses.
class UpdatingInPlace : public RightPaneTest {
protected:
    int Count(const std::string& select) { return std::stoi(database.Value(select)); }
    static std::string Corrected(const char* uk, const char* comment) {
        return "<KelmTransfor><Marka>T</Marka><Unom>10</Unom><UhiV>10</UhiV><UlowV>0.4</UlowV><Snom>100</Snom>"
               "<Ukz>" + std::string(uk) + "</Ukz><AddStr>" + comment + "</AddStr></KelmTransfor>";
    }
    // "T" with Uk 4.5 and the comment "old", used by a network node.
    std::string SavedTransformer() {
        database.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","UnomB","UnomH","Uk","AddStr") )"
                     R"(VALUES ('T',10,100,10,0.4,4.5,'old'))");
        const std::string ident = database.Value(R"(select "Ident" from "Transforms2")");
        database.Run(R"(INSERT INTO "Nodes" ("Transf","OwnerGUID") VALUES ()" + ident + ",'{N}')");
        return ident;
    }
};

TEST_F(UpdatingInPlace, AnUpdatedTransformerKeepsItsRowAndTheSameDropAgainChangesNothing) {
    const std::string ident = SavedTransformer();
    pane.Open(database.Path(), db);
    OpenLeft(Corrected("4.7", "new") + Transformer("N", "40"));
    questions.updateRule = ChoiceResult{Update, false};
    const PaneChanges dropped = DropAll();
    EXPECT_EQ(dropped.added.size(), 1u);
    EXPECT_EQ(dropped.changed.size(), 1u);
    EXPECT_EQ(StepText(*dropped.step), "копирование 2 элементов");
    EXPECT_EQ(pane.SaveToDatabase(db, numbers).removed.size(), 0u);

    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Count(R"(select count(*) from "Transforms2" where "Ident"=)" + ident +
                    R"( and "Uk"=4.7 and "AddStr"='new')"),
              1);
    EXPECT_EQ(Count(R"(select count(*) from "Nodes" n join "Transforms2" t on t."Ident"=n."Transf" where t."Uk"=4.7)"), 1);

    questions.choices = {{Skip, true}};
    const PaneChanges again = DropAll();
    EXPECT_TRUE(again.Empty());
    EXPECT_EQ(questions.updatesAsked.size(), 1u);
    EXPECT_EQ(Rows(), 2);
}

TEST_F(UpdatingInPlace, AnUpdatedCableKeepsItsRowsAndTheLinesUsingThem) {
    database.Run(R"(INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (0.4,'cab',2))");
    database.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop") VALUES (1,'AVB',50,0.6,0.08,140))");
    const std::string ident = database.Value(R"(select "Ident" from "Provods")");
    database.Run(R"(INSERT INTO "Cables" ("Ident","NumberPhases","PhaseNull_F","PhaseNull_R0","PhaseNull_X0",)"
                 R"("PhaseNull_Idop") VALUES ()" + ident + ",4,25,1.2,0.09,100)");
    database.Run(R"(INSERT INTO "Lines" ("GUID","Provod","OwnerGUID") VALUES ('{L}',)" + ident + ",'{O}')");
    pane.Open(database.Path(), db);
    // The same cable from elsewhere, corrected: its row identifiers mean nothing here.
    left = OpenSource(database.Path(), db, NewReference);
    auto& cable = static_cast<TProvod&>(*left->GetCollection(0)->GetItem(0));
    cable.Ident = 999;
    cable.ProvodType = 77;
    cable.R0 = 0.64;
    cable.PhaseNull_R0 = 1.25;
    questions.updateRule = ChoiceResult{Update, false};
    EXPECT_EQ(DropAll().changed.size(), 1u);
    pane.SaveToDatabase(db, numbers);
    EXPECT_TRUE(pane.Reference().GetCollection(0)->Errors.empty());

    EXPECT_EQ(Count(R"(select count(*) from "Provods")"), 1);
    EXPECT_EQ(Count(R"(select count(*) from "Provods" where "Ident"=)" + ident + R"( and R0=0.64 and "ProvodType"=1)"), 1);
    EXPECT_EQ(Count(R"(select count(*) from "Cables")"), 1);
    EXPECT_EQ(Count(R"(select count(*) from "Cables" where "Ident"=)" + ident + R"( and "PhaseNull_R0"=1.25)"), 1);
    EXPECT_EQ(Count(R"(select count(*) from "Lines" l join "Provods" p on p."Ident"=l."Provod" where p.R0=0.64)"), 1);
    EXPECT_EQ(Count(R"(select count(*) from "ProvodTypes")"), 1);
}

TEST_F(UpdatingInPlace, UndoTakesADropsUpdatesBackWithItsCopiesAndRedoMakesBoth) {
    SavedTransformer();
    pane.Open(database.Path(), db);
    OpenLeft(Corrected("4.7", "new") + Transformer("N", "40"));
    questions.updateRule = ChoiceResult{Update, false};
    PaneChanges dropped = DropAll();
    auto& updated = static_cast<TTransform&>(*dropped.changed.at(0));
    TBaseElement* copy = dropped.added.at(0);

    const PaneChanges undone = pane.Undo(*dropped.step);
    EXPECT_EQ(undone.removed, std::vector<const TBaseElement*>{copy});
    EXPECT_EQ(undone.changed, std::vector<TBaseElement*>{&updated});
    EXPECT_EQ(Markas(), std::vector<std::string>{"T"});
    EXPECT_DOUBLE_EQ(updated.Uk, 4.5);
    EXPECT_EQ(updated.AddStr, "old");
    EXPECT_EQ(updated.Added, 0);
    EXPECT_FALSE(pane.HasUnsavedChanges());

    pane.Redo(*dropped.step);
    EXPECT_EQ(Markas(), (std::vector<std::string>{"N", "T"}));
    EXPECT_EQ(Record(0), copy);
    EXPECT_DOUBLE_EQ(updated.Uk, 4.7);
    EXPECT_EQ(updated.Added, 1);
    pane.SaveToDatabase(db, numbers);
    EXPECT_EQ(Count(R"(select count(*) from "Transforms2" where "Uk"=4.7)"), 1);
}

TEST_F(RightPaneTest, NetworkUseIsCountedOnOpeningAndAgainAfterASave) {
    OpenUsedTypes();
    ASSERT_TRUE(pane.Reference().Network.Known());
    EXPECT_EQ(Uses(0), 2);
    EXPECT_EQ(Uses(1), 0);

    AttachNode("B");
    OpenLeft(Transformer("C", "3"));
    DropAll();
    pane.SaveToDatabase(db, numbers);
    EXPECT_EQ(Markas(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(Uses(1), 1);
    EXPECT_EQ(Uses(2), 0);  // saved just now, no object uses it yet

    pane.SaveToFile(dir.File("saved.xml"), settings, 0);
    EXPECT_FALSE(pane.Reference().Network.Known());  // an exchange file cannot tell
}

TEST_F(RightPaneTest, ADeleteRefusesTypesInUseAndMarksTheOthers) {
    OpenUsedTypes();
    TBaseElement* used = Record(0);
    TBaseElement* unused = Record(1);
    const PaneChanges deleted = pane.Delete({used, unused, used});
    EXPECT_EQ(deleted.refused, (std::vector<std::pair<const TBaseElement*, int>>{{used, 2}}));
    EXPECT_EQ(deleted.changed, std::vector<TBaseElement*>{unused});
    EXPECT_EQ(used->Deleted, 0);
    EXPECT_EQ(unused->Deleted, 1);
}

TEST_F(RightPaneTest, ASaveRefusesADeleteOfATypeTheNetworkTookMeanwhile) {
    OpenUsedTypes();
    TBaseElement* taken = Record(1);
    pane.Delete({taken});
    AttachNode("B");  // another program, between the delete and the save

    const PaneChanges saved = pane.SaveToDatabase(db, numbers);
    EXPECT_TRUE(saved.removed.empty());
    EXPECT_EQ(taken->Deleted, 1);  // still marked, for the user to undelete
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(Transformers().Errors, std::vector<std::string>{W("B-200 (10 кВ)")});
    EXPECT_EQ(Transformers().ErrorReasons, std::vector<std::string>{InUseReason(1)});
    EXPECT_TRUE(pane.HasUnsavedChanges());
}

}  // namespace
}  // namespace kelm
