// Comparing two catalogues value by value, elements paired by identity.
#include "decisions/comparison.h"

#include <gtest/gtest.h>

#include <ctime>
#include <tuple>

#include "core/collection.h"
#include "core/exchange_file.h"
#include "core/regional.h"
#include "support/differing_catalogues.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::AddRecord;
using test::DifferingCatalogues;

constexpr int kLines = 0, kTransformers = 1, kBusbars = 5;

// Several categories at once, each with its own kind of difference.
struct ChangedCatalogues {
    ChangedCatalogues() : left(NewReference()), right(NewReference()) {
        for (auto [ref, r0, uk] : {std::tuple{left.get(), "0.249", "4.5"}, std::tuple{right.get(), "0.9", "4.7"}}) {
            line[ref == right.get()] = AddRecord(*ref, kLines, {{"Marka", "АС-70"}, {"F", "70"}, {"Unom", "10"},
                                                                {"R0", r0}, {"X0", "0.4"}, {"Ident", ref == left.get() ? "7" : "9"}});
            transformer[ref == right.get()] = AddRecord(
                *ref, kTransformers,
                {{"Marka", "ТМ"}, {"Unom", "10"}, {"Snom", "1000"}, {"UhiV", "10"}, {"UlowV", "0.4"}, {"Ukz", uk}});
        }
        commented[0] = AddRecord(*left, kLines, {{"Marka", "А-35"}, {"F", "35"}, {"AddStr", "старый"}});
        commented[1] = AddRecord(*right, kLines, {{"Marka", "А-35"}, {"F", "35"}, {"AddStr", "новый"}});
        // Three busbars of one identity against two: the equal pair first even
        // though it comes later, then the closest, and the third is left over.
        for (const char* values : {"1", "2", "3"})
            bus[0].push_back(AddRecord(*left, kBusbars, {{"Marka", "Ш"}, {"Unom", "10"}, {"R", values}, {"X", values}}));
        bus[1].push_back(AddRecord(*right, kBusbars, {{"Marka", "Ш"}, {"Unom", "10"}, {"R", "3"}, {"X", "3"}}));
        bus[1].push_back(AddRecord(*right, kBusbars, {{"Marka", "Ш"}, {"Unom", "10"}, {"R", "2"}, {"X", "9"}}));
    }
    std::unique_ptr<TReference> left, right;
    TBaseElement *line[2], *transformer[2], *commented[2];
    std::vector<TBaseElement*> bus[2];
};

int Field(const TReference& reference, int c, const char* element) {
    return reference.GetCollection(c)->FieldIndex(element);
}

TEST(CatalogueComparison, PairsByIdentityAndNamesTheChangedFields) {
    ChangedCatalogues cat;
    const CatalogueComparison comparison(*cat.left, *cat.right);
    EXPECT_FALSE(comparison.Same());

    // Only R0 differs: the row identifiers take no part.
    EXPECT_EQ(comparison.StateOf(*cat.line[0]), Presence::Changed);
    EXPECT_EQ(comparison.PartnerOf(*cat.line[0]), cat.line[1]);
    EXPECT_EQ(comparison.DifferingFields(*cat.line[1]), std::vector<int>{Field(*cat.left, kLines, "R0")});
    EXPECT_EQ(comparison.DifferingFields(*cat.commented[0]), std::vector<int>{Field(*cat.left, kLines, "AddStr")});
    EXPECT_EQ(comparison.LeftCounts(kLines).changed, 2);
    EXPECT_EQ(comparison.LeftCounts(kLines).absent, 0);

    const CategoryComparison& transformers = comparison.Category(kTransformers);
    ASSERT_EQ(transformers.pairs.size(), 1u);
    EXPECT_EQ(transformers.pairs[0].fields, std::vector<int>{Field(*cat.left, kTransformers, "Ukz")});
    EXPECT_TRUE(transformers.onlyLeft.empty() && transformers.onlyRight.empty());

    EXPECT_EQ(comparison.PartnerOf(*cat.bus[0][2]), cat.bus[1][0]);
    EXPECT_EQ(comparison.StateOf(*cat.bus[0][2]), Presence::Present);
    EXPECT_EQ(comparison.PartnerOf(*cat.bus[0][1]), cat.bus[1][1]);
    EXPECT_EQ(comparison.DifferingFields(*cat.bus[0][1]), std::vector<int>{Field(*cat.left, kBusbars, "X")});
    EXPECT_EQ(comparison.StateOf(*cat.bus[0][0]), Presence::Absent);
    EXPECT_EQ(comparison.PartnerOf(*cat.bus[0][0]), nullptr);
    EXPECT_EQ(comparison.LeftCounts(kBusbars).absent, 1);
    EXPECT_EQ(comparison.RightCounts(kBusbars).absent, 0);
    EXPECT_EQ(comparison.RightCounts(kBusbars).changed, 1);
    EXPECT_STREQ(PresenceText(Presence::Changed), "изменён");
}

// Made a category at a time, or with the states read by index, a comparison
// says what the whole one says of every record.
TEST(CatalogueComparison, InStepsAndByIndexItTellsTheSame) {
    ChangedCatalogues cat;
    cat.left->GetCollection(kLines)->GetItem(0)->Deleted = 1;
    const CatalogueComparison whole(*cat.left, *cat.right);
    ComparisonInSteps steps(*cat.left, *cat.right);
    steps.CompareNext();
    EXPECT_FALSE(steps.Complete());
    const std::unique_ptr<CatalogueComparison> stepped = steps.Finish();
    for (const TReference* side : {cat.left.get(), cat.right.get()})
        for (int c = 0; c < side->CategoryCount(); ++c) {
            const TXMLCustomClass& collection = *side->GetCollection(c);
            const std::vector<Presence>* states = whole.StatesIn(collection);
            ASSERT_NE(states, nullptr);
            ASSERT_EQ(states->size(), static_cast<std::size_t>(collection.Count()));
            for (int i = 0; i < collection.Count(); ++i) {
                const TBaseElement& record = *collection.GetItem(i);
                EXPECT_EQ((*states)[static_cast<std::size_t>(i)], whole.StateOf(record)) << c << " " << i;
                EXPECT_EQ(stepped->StateOf(record), whole.StateOf(record));
                EXPECT_EQ(stepped->PartnerOf(record), whole.PartnerOf(record));
            }
        }
}

TEST(CatalogueComparison, TellsEveryStateInEveryCategory) {
    DifferingCatalogues catalogues;
    const CatalogueComparison comparison(*catalogues.left, *catalogues.right);
    for (int c = 0; c < catalogues.left->CategoryCount(); ++c) {
        SCOPED_TRACE(c);
        const bool commented = catalogues.left->GetCollection(c)->HasComment();
        auto left = [&](const char* marka) { return comparison.StateOf(*DifferingCatalogues::Find(*catalogues.left, c, marka)); };
        auto right = [&](const char* marka) { return comparison.StateOf(*DifferingCatalogues::Find(*catalogues.right, c, marka)); };
        const Presence comment = commented ? Presence::Changed : Presence::Present;
        EXPECT_EQ(left("A"), Presence::Present);
        EXPECT_EQ(left("B"), Presence::Absent);
        EXPECT_EQ(left("C"), comment);
        EXPECT_EQ(left("D"), Presence::Absent);  // its partner on the right is marked deleted
        EXPECT_EQ(right("C"), comment);
        EXPECT_EQ(right("D"), Presence::Present);  // deleted: no state of its own
        EXPECT_EQ(right("E"), Presence::Absent);
        EXPECT_EQ(comparison.LeftCounts(c).absent, 2);
        EXPECT_EQ(comparison.RightCounts(c).absent, 1);
        EXPECT_EQ(comparison.RightCounts(c).changed, commented ? 1 : 0);
    }
}

TEST(CatalogueComparison, CatalogueReadBackFromItsFileIsTheSame) {
    ChangedCatalogues cat;
    DifferingCatalogues more;
    test::TempDir dir;
    RegionalSettings settings;
    for (TReference* written : {cat.left.get(), more.left.get()}) {
        const std::string path = dir.File("written.xml");
        WriteExchangeFile(*written, path, settings, std::time(nullptr));
        const auto back = NewReference();
        OpenExchangeFile(*back, path);
        const CatalogueComparison comparison(*written, *back);
        EXPECT_TRUE(comparison.Same());
        for (int c = 0; c < written->CategoryCount(); ++c)
            EXPECT_EQ(comparison.Category(c).pairs.size(), static_cast<std::size_t>(written->GetCollection(c)->Count()));
    }
}

}  // namespace
}  // namespace kelm
