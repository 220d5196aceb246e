// What the shared algorithms assume of every category's table.

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "catalogues/arresters.h"
#include "catalogues/categories.h"
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

// Calls `visit` with each of the 19 category tables.
template <class Visit>
void ForEachCategory(Visit visit) {
    visit(ProvodsCategory());
    visit(TransformsCategory());
    visit(Transforms3Category());
    visit(TransformsSSCategory());
    visit(TransformsACategory());
    visit(BusbarsCategory());
    visit(ShuntReactorsCategory());
    visit(SyncCondensersCategory());
    visit(CapacitorBanksCategory());
    visit(TiristorCondensersCategory());
    visit(SyncMotorsCategory());
    visit(AsyncMotorsCategory());
    visit(ValveArrestersCategory());
    visit(ExcessVoltageSuppressorsCategory());
    visit(CurrentLimitReactorsCategory());
    visit(SwitchGRsCategory());
    visit(MetersRefsCategory());
    visit(TransformsIRefsCategory());
    visit(TransformsVRefsCategory());
}

// Positions of a statement: ":p1", and ":5", which is a position of its own.
int Placeholders(const std::string& sql) {
    static const std::regex placeholder(R"(:p?[0-9]+)");
    return static_cast<int>(std::distance(std::sregex_iterator(sql.begin(), sql.end(), placeholder),
                                          std::sregex_iterator()));
}

TEST(CategoryTables, StatementsBindEveryParameterAndEveryMemberIsAField) {
    int categories = 0;
    ForEachCategory([&](const auto& category) {
        SCOPED_TRACE(category.collectionClass);
        ++categories;
        const int params = static_cast<int>(category.params.size());
        EXPECT_EQ(Placeholders(category.insertSql), params);
        EXPECT_EQ(Placeholders(category.updateSql), params + 1);
        EXPECT_EQ(Placeholders(category.deleteSql), 1);
        auto isField = [&](const auto& member) { return FieldIndexOf(category, member) >= 0; };
        for (const auto& compared : category.compared) EXPECT_TRUE(isField(compared.member));
        for (const auto& members : {category.identity, category.sortKeys, category.params})
            for (const auto& member : members) EXPECT_TRUE(isField(member));
        for (const auto& rule : category.rules) EXPECT_TRUE(isField(rule.field));
        EXPECT_FALSE(category.identity.empty());
        for (const auto& field : category.fields) EXPECT_NE(field.caption, nullptr) << field.element;
    });
    EXPECT_EQ(categories, kCategoryCount);
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
