#include "catalogues/shunt_reactors.h"

namespace kelm {

const Category<TShuntReactor>& ShuntReactorsCategory() {
    using R = TShuntReactor;
    static const Category<R> category{
        .collectionClass = "TShuntReactors",
        .collectionElement = "KelmShuntReactorsRefs",
        .recordElement = "KelmShuntReactorsRef",
        .fields = {
            {"Marka", &R::Marka, "Marka"},
            {"Ident", &R::Ident, "Ident"},
            {"Unom", &R::Unom, "Unom"},
            {"Snom", &R::Snom, "Snom"},
            {"Inom", &R::Inom, "Inom"},
            {"dP", &R::dP, "dP"},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::Inom, &R::dP},
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
