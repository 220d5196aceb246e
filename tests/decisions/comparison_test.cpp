// Comparing two catalogues on the duplicate rules of a copy.
#include "decisions/comparison.h"

#include <gtest/gtest.h>

#include "core/collection.h"
#include "support/differing_catalogues.h"

namespace kelm {
namespace {

using test::DifferingCatalogues;

TEST(CatalogueComparison, TellsEveryStateInEveryCategory) {
    DifferingCatalogues catalogues;
    const CatalogueComparison comparison(*catalogues.left, *catalogues.right);
    EXPECT_FALSE(comparison.Same());
    for (int c = 0; c < catalogues.left->CategoryCount(); ++c) {
        SCOPED_TRACE(c);
        const bool commented = catalogues.left->GetCollection(c)->HasComment();
        auto left = [&](const char* marka) { return comparison.StateOf(*DifferingCatalogues::Find(*catalogues.left, c, marka)); };
        auto right = [&](const char* marka) { return comparison.StateOf(*DifferingCatalogues::Find(*catalogues.right, c, marka)); };
        const Presence comment = commented ? Presence::CommentOnly : Presence::Present;
        EXPECT_EQ(left("A"), Presence::Present);
        EXPECT_EQ(left("B"), Presence::Absent);
        EXPECT_EQ(left("C"), comment);
        EXPECT_EQ(left("D"), Presence::Absent);  // its equal on the right is marked deleted
        EXPECT_EQ(right("A"), Presence::Present);
        EXPECT_EQ(right("C"), comment);
        EXPECT_EQ(right("D"), Presence::Present);  // deleted: no state of its own
        EXPECT_EQ(right("E"), Presence::Absent);
        EXPECT_EQ(comparison.LeftCounts(c).absent, 2);
        EXPECT_EQ(comparison.LeftCounts(c).commentOnly, commented ? 1 : 0);
        EXPECT_EQ(comparison.RightCounts(c).absent, 1);
        EXPECT_EQ(comparison.RightCounts(c).commentOnly, commented ? 1 : 0);
    }
}

TEST(CatalogueComparison, CatalogueAgainstItselfIsTheSame) {
    DifferingCatalogues catalogues;
    const CatalogueComparison comparison(*catalogues.left, *catalogues.left);
    EXPECT_TRUE(comparison.Same());
    EXPECT_TRUE(comparison.LeftCounts(0).None());
    EXPECT_STREQ(PresenceText(Presence::CommentOnly), "комментарий");
}

}  // namespace
}  // namespace kelm
