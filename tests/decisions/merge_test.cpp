// The three-way merge of catalogues written to exchange files, brought into
// a right pane: what it finds in each category and what it does to ours.
#include "decisions/merge.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalogues/categories.h"
#include "decisions/comparison.h"
#include "formats/catalogue_file.h"
#include "support/differing_catalogues.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using namespace test;

// The first number of a category that does not name its elements: the value the sides change.
int ValueField(const TXMLCustomClass& collection) {
    const std::vector<int>& identity = collection.IdentityFields();
    for (int field : ComparedFields(collection)) {
        const FieldKind kind = collection.Field(field).kind;
        if ((kind == FieldKind::Number || kind == FieldKind::Whole) &&
            std::find(identity.begin(), identity.end(), field) == identity.end())
            return field;
    }
    return -1;
}

class Merging : public ::testing::Test {
protected:
    // Every category, alike: each element "marka" with its value on the three
    // sides (0 where a side has no such element), one per way a merge decides.
    struct Row {
        const char* marka;
        int base, ours, theirs;
    };
    static constexpr Row kRows[] = {
        {"K", 1, 1, 1},  // unchanged
        {"T", 1, 1, 2},  // changed by them: taken
        {"O", 1, 2, 1},  // changed by us: kept
        {"S", 1, 2, 2},  // changed alike: kept
        {"X", 1, 2, 3},  // changed differently: conflict
        {"D", 1, 1, 0},  // deleted by them: deleted
        {"Q", 1, 0, 1},  // deleted by us: stays deleted
        {"R", 1, 2, 0},  // deleted by them, changed by us: conflict
        {"P", 1, 0, 2},  // deleted by us, changed by them: conflict
        {"N", 0, 0, 4},  // added by them: added
        {"M", 0, 4, 0},  // added by us: kept
        {"B", 0, 5, 5},  // added alike: kept
        {"C", 0, 5, 6},  // added differently: conflict
    };
    // What the merge says of each category, in its order.
    static constexpr const char* kFound = "T~ X! D- R! P! N+ C!";

    void SetUp() override {
        auto base = NewReference(), ours = NewReference(), theirs = NewReference();
        for (int c = 0; c < base->CategoryCount(); ++c) {
            const int field = ValueField(*base->GetCollection(c));
            ASSERT_GE(field, 0) << CategoryCaption(c);
            for (const Row& row : kRows) {
                for (const auto& [reference, value] : {std::pair{base.get(), row.base}, std::pair{ours.get(), row.ours},
                                                       std::pair{theirs.get(), row.theirs}}) {
                    if (value == 0) continue;
                    TXMLCustomClass& collection = *reference->GetCollection(c);
                    TBaseElement* record = AddElement(collection, row.marka);
                    collection.SetFieldText(*record, field, std::to_string(value));
                    collection.RecordsChanged();
                }
            }
        }
        WriteCatalogueFile(*base, dir.File("base.xml"), settings, 0);
        WriteCatalogueFile(*ours, dir.File("ours.xml"), settings, 0);
        WriteCatalogueFile(*theirs, dir.File("theirs.xml"), settings, 0);
        this->base = OpenCatalogue(dir.File("base.xml"), db);
        this->theirs = OpenCatalogue(dir.File("theirs.xml"), db);
        pane.Open(dir.File("ours.xml"), db);
    }
    CatalogueMerge Merge() const { return CatalogueMerge(*base, pane.Reference(), *theirs); }

    // The elements of category `c` as "marka" + action mark.
    static std::string Found(const CatalogueMerge& merge, int c) {
        std::string found;
        for (const MergeElement& element : merge.Elements()) {
            if (element.category != c) continue;
            if (!found.empty()) found += ' ';
            found += element.Shown().Marka + ActionMark(element.action);
        }
        return found;
    }
    // The kept elements of ours in category `c`, each "marka=value", in marka order.
    std::string Ours(int c) const {
        const TXMLCustomClass& collection = *pane.Reference().GetCollection(c);
        std::vector<std::string> kept;
        for (int i = 0; i < collection.Count(); ++i) {
            const TBaseElement& record = *collection.GetItem(i);
            if (record.Deleted == 0)
                kept.push_back(record.Marka + "=" + collection.FieldText(record, ValueField(collection), numbers));
        }
        std::sort(kept.begin(), kept.end());
        std::string text;
        for (const std::string& one : kept) text += (text.empty() ? "" : " ") + one;
        return text;
    }

    TempDir dir;
    TRef_DataModule db;
    NumberText numbers{','};
    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    std::unique_ptr<TReference> base, theirs;
    RightPane pane;
};

TEST_F(Merging, EachWayOfChangingAnElementIsFoundInEveryCategory) {
    const CatalogueMerge merge = Merge();
    for (int c = 0; c < base->CategoryCount(); ++c) EXPECT_EQ(Found(merge, c), kFound) << CategoryCaption(c);
    EXPECT_EQ(merge.ConflictCount(), 4 * base->CategoryCount());

    // A conflict names the fields the sides disagree in, and both its elements know it.
    const TXMLCustomClass& transformers = *pane.Reference().GetCollection(1);
    const TBaseElement* x = DifferingCatalogues::Find(pane.Reference(), 1, "X");
    const MergeElement* conflict = merge.ConflictOf(*x);
    ASSERT_NE(conflict, nullptr);
    EXPECT_EQ(conflict->fields, std::vector<int>{ValueField(transformers)});
    EXPECT_EQ(conflict->base, DifferingCatalogues::Find(*base, 1, "X"));
    EXPECT_EQ(merge.ConflictOf(*conflict->theirs), conflict);
    EXPECT_EQ(merge.ConflictOf(*DifferingCatalogues::Find(pane.Reference(), 1, "T")), nullptr);
}

TEST_F(Merging, OpenConflictsLeaveOursAsItIsAndTheRestIsOneStepBack) {
    const PaneChanges merged = ApplyMerge(pane, Merge());
    ASSERT_TRUE(merged.step);
    EXPECT_EQ(StepText(*merged.step), "слияние");
    for (int c = 0; c < base->CategoryCount(); ++c)
        EXPECT_EQ(Ours(c), "B=5 C=5 K=1 M=4 N=4 O=2 R=2 S=2 T=2 X=2") << CategoryCaption(c);
    // Taken values keep the element's identifier; the addition is a new copy.
    const TBaseElement& taken = *DifferingCatalogues::Find(pane.Reference(), 1, "T");
    EXPECT_EQ(taken.Added, 1);
    EXPECT_NE(taken.Ident, kUnsavedCopy);
    EXPECT_EQ(DifferingCatalogues::Find(pane.Reference(), 1, "N")->Ident, kUnsavedCopy);
    EXPECT_TRUE(pane.HasUnsavedChanges());

    pane.Undo(*merged.step);
    EXPECT_FALSE(pane.HasUnsavedChanges());
    const auto saved = OpenCatalogue(dir.File("ours.xml"), db);
    EXPECT_TRUE(CatalogueComparison(*saved, pane.Reference()).Same());
    pane.Redo(*merged.step);
    EXPECT_EQ(Ours(5), "B=5 C=5 K=1 M=4 N=4 O=2 R=2 S=2 T=2 X=2");
}

TEST_F(Merging, ConflictsDecidedTheirsTakeTheirValuesDeleteAndAddBack) {
    CatalogueMerge merge = Merge();
    merge.DecideAll(MergeDecision::Theirs);
    EXPECT_EQ(merge.OpenConflictCount(), 0);
    ApplyMerge(pane, merge);
    for (int c = 0; c < base->CategoryCount(); ++c)
        EXPECT_EQ(Ours(c), "B=5 C=6 K=1 M=4 N=4 O=2 P=2 S=2 T=2 X=3") << CategoryCaption(c);

    // Saved and merged again, nothing is left to bring over.
    pane.SaveToFile(dir.File("ours.xml"), settings, 0);
    EXPECT_TRUE(Merge().Elements().empty());
}

TEST_F(Merging, ConflictsDecidedOursChangeNothingOfTheirs) {
    CatalogueMerge merge = Merge();
    // Decisions are per conflict; a decision on anything else is no decision.
    merge.Decide(0, MergeDecision::Theirs);
    EXPECT_EQ(merge.Elements()[0].decision, MergeDecision::Open);
    merge.DecideAll(MergeDecision::Ours);
    ApplyMerge(pane, merge);
    EXPECT_EQ(Ours(18), "B=5 C=5 K=1 M=4 N=4 O=2 R=2 S=2 T=2 X=2");
}

TEST_F(Merging, AConflictDecidedAfterTheMergeIsAStepOfItsOwn) {
    CatalogueMerge merge = Merge();
    ApplyMerge(pane, merge);
    const std::vector<std::size_t> x = merge.OpenConflictsOf({DifferingCatalogues::Find(*theirs, 2, "X")});
    ASSERT_EQ(x.size(), 1u);
    PaneChanges decided = Resolve(pane, merge, x, MergeDecision::Theirs);
    ASSERT_TRUE(decided.step);
    EXPECT_TRUE(merge.OpenConflictsOf({DifferingCatalogues::Find(*theirs, 2, "X")}).empty());
    EXPECT_EQ(Ours(2), "B=5 C=5 K=1 M=4 N=4 O=2 R=2 S=2 T=2 X=3");
    pane.Undo(*decided.step);
    EXPECT_EQ(Ours(2), "B=5 C=5 K=1 M=4 N=4 O=2 R=2 S=2 T=2 X=2");
    EXPECT_TRUE(Resolve(pane, merge, merge.OpenConflictsOf({DifferingCatalogues::Find(pane.Reference(), 2, "R")}),
                        MergeDecision::Ours)
                    .Empty());
}

// A type the network uses is not deleted: the merge goes on and says so.
TEST(MergingIntoADatabase, ADeleteOfATypeInUseIsRefusedAndTheRestIsSaved) {
    TempDir dir;
    TRef_DataModule db;
    const NumberText numbers{','};
    const RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    FreshCatalogue ours;
    ours.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Uk") VALUES ('A',10,100,4.5))");
    ours.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Uk") VALUES ('B',10,200,4.5))");
    ours.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","Uk") VALUES ('C',10,300,4.5))");
    ours.Run(R"(INSERT INTO "Nodes" ("Transf") SELECT "Ident" FROM "Transforms2" WHERE "TypeTR" = 'A')");
    const std::string identOfC = ours.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='C')");
    auto base = OpenCatalogue(ours.Path(), db);
    auto theirs = OpenCatalogue(ours.Path(), db);
    TXMLCustomClass& transformers = *theirs->GetCollection(1);
    transformers.MarkDeleted(DifferingCatalogues::Find(*theirs, 1, "A"));
    transformers.MarkDeleted(DifferingCatalogues::Find(*theirs, 1, "B"));
    transformers.SetFieldText(*DifferingCatalogues::Find(*theirs, 1, "C"), transformers.FieldIndex("Ukz"), "5");
    transformers.RecordsChanged();

    RightPane pane;
    pane.Open(ours.Path(), db);
    const PaneChanges merged = ApplyMerge(pane, CatalogueMerge(*base, pane.Reference(), *theirs));
    ASSERT_EQ(merged.refused.size(), 1u);
    EXPECT_EQ(merged.refused[0].first->Marka, "A");
    EXPECT_EQ(merged.refused[0].second, 1);
    pane.SaveToDatabase(db, numbers);
    EXPECT_EQ(ours.Rows(R"(select "TypeTR", "Uk" from "Transforms2" order by "TypeTR")"),
              (std::vector<std::vector<std::string>>{{"A", "4.5"}, {"C", "5"}}));
    // The corrected type keeps its row.
    EXPECT_EQ(ours.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='C')"), identOfC);
}

}  // namespace
}  // namespace kelm
