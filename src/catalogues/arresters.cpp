#include "catalogues/arresters.h"

namespace kelm {
namespace {

// Completes an arrester category, given its names and statements, with the
// fields, keys and parameters the two share.
template <class R>
Category<R> WithArresterValues(Category<R> category) {
    category.fields = {
        {"Marka", &R::Marka, "Marka", "Марка"},
        {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
        {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
        {"dP", &R::dP, "dP", "Потери активной мощности, кВт", Required, Below(1000000)},
    };
    category.compared = {&R::Marka, &R::Unom, &R::dP};
    category.identity = {&R::Marka, &R::Unom};
    category.sortKeys = {&R::Unom, &R::Marka};
    category.params = {&R::Marka, &R::Unom, &R::dP};
    return category;
}

}  // namespace

const Category<TValveArrester>& ValveArrestersCategory() {
    static const auto category = WithArresterValues<TValveArrester>({
        .collectionClass = "TValveArresters",
        .collectionElement = "KelmValveArresters",
        .recordElement = "KelmValveArrester",
        .selectAll = R"(Select * from "ValveArresters")",
        .selectByOwners = R"(Select * from "ValveArresters" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "ValveArresters" ("Marka","Unom","dP") VALUES (:p1,:p2,:p3))",
        .updateSql = R"(UPDATE "ValveArresters" set "Marka"=:p1,"Unom"=:p2,"dP"=:p3 WHERE "Ident"=:4)",
        .deleteSql = R"(delete from "ValveArresters" where "Ident"=:p1)",
    });
    return category;
}

const Category<TExcessVoltageSuppressor>& ExcessVoltageSuppressorsCategory() {
    static const auto category = WithArresterValues<TExcessVoltageSuppressor>({
        .collectionClass = "TExcessVoltageSuppressors",
        .collectionElement = "KelmExcessVoltageSuppressors",
        .recordElement = "KelmExcessVoltageSuppressor",
        .selectAll = R"(Select * from "ExcessVoltageSuppressors")",
        .selectByOwners = R"(Select * from "ExcessVoltageSuppressors" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "ExcessVoltageSuppressors" ("Marka","Unom","dP") VALUES (:p1,:p2,:p3))",
        .updateSql = R"(UPDATE "ExcessVoltageSuppressors" set "Marka"=:p1,"Unom"=:p2,"dP"=:p3 WHERE "Ident"=:4)",
        .deleteSql = R"(delete from "ExcessVoltageSuppressors" where "Ident"=:p1)",
    });
    return category;
}

}  // namespace kelm
