#include "catalogues/busbars.h"

namespace kelm {

const Category<TBusbar>& BusbarsCategory() {
    using B = TBusbar;
    static const Category<B> category{
        .collectionClass = "TBusbars",
        .collectionElement = "KelmBusbars",
        .recordElement = "KelmBusbar",
        .fields = {
            {"Marka", &B::Marka, "Marka", "Марка"},
            {"Ident", &B::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &B::Unom, "Unom", "Номинальное напряжение, кВ"},
            {"R", &B::R, "R", "Активное сопротивление, Ом/км", Required, Below(100)},
            {"X", &B::X, "X", "Реактивное сопротивление, Ом/км", Required, Below(100)},
        },
        .compared = {&B::Marka, &B::Unom, &B::R, &B::X},
        .identity = {&B::Marka, &B::Unom},
        .sortKeys = {&B::Unom, &B::Marka},
        .selectAll = R"(Select * from "Busbars")",
        .selectByOwners = R"(Select * from "Busbars" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "Busbars" ("Marka","Unom","R","X") VALUES (:p1,:p2,:p3,:p4))",
        .updateSql = R"(UPDATE "Busbars" set "Marka"=:p1,"Unom"=:p2,"R"=:p3,"X"=:p4 WHERE "Ident"=:5)",
        .deleteSql = R"(delete from "Busbars" where "Ident"=:p1)",
        .params = {&B::Marka, &B::Unom, &B::R, &B::X},
    };
    return category;
}

}  // namespace kelm
