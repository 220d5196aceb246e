#include "core/voltage_class.h"

#include <gtest/gtest.h>

namespace kelm {
namespace {

TEST(VoltageClass, FirstBoundAboveTheVoltageGivesItsClass) {
    EXPECT_EQ(VoltageClass(10.5), 10);
    EXPECT_EQ(VoltageClass(0.4), 0.38);
    EXPECT_EQ(VoltageClass(1000), 1150);
    EXPECT_EQ(VoltageClass(0.05), 0);
    EXPECT_EQ(VoltageClass(0.1), 0.22);  // a bound itself belongs to the next class
    EXPECT_EQ(VoltageClass(115), 110);
    EXPECT_EQ(VoltageClass(-5), 0);
    for (double c : {0.0, 0.22, 0.38, 0.66, 3.0, 6.0, 10.0, 15.0, 20.0, 27.5, 35.0, 110.0, 150.0, 220.0, 330.0, 500.0,
                     750.0, 1150.0})
        EXPECT_EQ(VoltageClass(c), c) << c;
}

TEST(TreeFilters, VoltageFilterComparesTheClassAsTheBoxWritesIt) {
    TreeFilters filters;
    const NumberText comma(',');
    EXPECT_TRUE(filters.PassesVoltageFilter(999, comma));
    filters.VoltageFilter = "0,38";
    EXPECT_TRUE(filters.PassesVoltageFilter(0.4, comma));
    EXPECT_FALSE(filters.PassesVoltageFilter(0.66, comma));
    EXPECT_TRUE(filters.PassesTypeFilter("TTransforms"));
    filters.TypeFilter = "TProvods";
    EXPECT_FALSE(filters.PassesTypeFilter("TTransforms"));
}

}  // namespace
}  // namespace kelm
