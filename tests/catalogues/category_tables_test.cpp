// What the shared algorithms assume of every category's table.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/meters.h"
#include "catalogues/motors.h"
#include "catalogues/provods.h"
#include "catalogues/shunt_reactors.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"
#include "catalogues/transforms3.h"
#include "catalogues/transforms_ss.h"

namespace kelm {
namespace {

template <class R>
bool EachFieldElementNamedOnce(const Category<R>& category) {
    std::set<std::string> names;
    for (const auto& field : category.fields)
        if (!names.insert(field.element).second) return false;
    return true;
}

// A record element's child is stored into the first field of its name only.
TEST(CategoryTables, NameEachFieldElementOnce) {
    EXPECT_TRUE(EachFieldElementNamedOnce(ProvodsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TransformsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(Transforms3Category()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TransformsSSCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TransformsACategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(BusbarsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(ShuntReactorsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(SyncCondensersCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(CapacitorBanksCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TiristorCondensersCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(SyncMotorsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(AsyncMotorsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(ValveArrestersCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(ExcessVoltageSuppressorsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(CurrentLimitReactorsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(SwitchGRsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(MetersRefsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TransformsIRefsCategory()));
    EXPECT_TRUE(EachFieldElementNamedOnce(TransformsVRefsCategory()));
}

}  // namespace
}  // namespace kelm
