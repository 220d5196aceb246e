#include "catalogues/shunt_reactors.h"

namespace kelm {

const Category<TShuntReactor>& ShuntReactorsCategory() {
    using R = TShuntReactor;
    static const Category<R> category{
        .collectionClass = "TShuntReactors",
        .collectionElement = "KelmShuntReactorsRefs",
        .recordElement = "KelmShuntReactorsRef",
        .fields = {
            {"Marka", &R::Marka, "Marka", "Марка"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
            {"Snom", &R::Snom, "Snom", "Номинальная мощность, МВА", Required, Below(1000000)},
            {"Inom", &R::Inom, "Inom", "Номинальный ток, А", Required, Below(1000000)},
            {"dP", &R::dP, "dP", "Потери активной мощности, кВт", Required, Below(1000000)},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::Inom, &R::dP},
        .identity = {&R::Marka, &R::Unom, &R::Snom},
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .selectAll = R"(Select * from "ShuntReactorsRef")",
        .selectByOwners = R"(Select * from "ShuntReactorsRef" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "ShuntReactorsRef" ("Marka","Unom","Snom","Inom","dP") VALUES (:p1,:p2,:p3,:p4,:p5))",
        .updateSql = R"(UPDATE "ShuntReactorsRef" set "Marka"=:p1,"Unom"=:p2,"Snom"=:p3,"Inom"=:p4,"dP"=:p5 WHERE "Ident"=:6)",
        .deleteSql = R"(delete from "ShuntReactorsRef" where "Ident"=:p1)",
        .params = {&R::Marka, &R::Unom, &R::Snom, &R::Inom, &R::dP},
    };
    return category;
}

}  // namespace kelm
