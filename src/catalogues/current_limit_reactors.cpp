#include "catalogues/current_limit_reactors.h"

namespace kelm {
namespace {

constexpr ChoiceItem kTwin[] = {{0, "Нет"}, {1, "Да"}};

}  // namespace

const Category<TCurrentLimitReactorsRef>& CurrentLimitReactorsCategory() {
    using R = TCurrentLimitReactorsRef;
    // Nothing here is optional: an empty Snom is sent as empty text, never NULL.
    static const Category<R> category{
        .collectionClass = "TCurrentLimitReactorsRefs",
        .collectionElement = "KelmCurrentLimitReactorsRefs",
        .recordElement = "KelmCurrentLimitReactorsRef",
        .fields = {
            {"Marka", &R::Marka, "Marka", "Обозначение"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
            {"Snom", &R::Snom, "Snom", "Номинальная мощность, МВА"},
            {"Inom", &R::Inom, "Inom", "Номинальный ток, А", Required, Below(1000)},
            {"dP", &R::dP, "dP", "Потери мощности, кВт", Required, Below(1000000)},
            {"IsDouble", &R::IsDouble, "IsDouble", "Сдвоенный", 0, {}, kTwin},  // the column "isDouble", found whatever the letter case
        },
        .compared = {&R::Marka, &R::Snom, &R::Unom, &R::Inom, &R::dP, &R::IsDouble},
        .identity = {&R::Marka, &R::Unom},
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .selectAll = R"(Select * from "CurrentLimitReactorsRef")",
        .selectByOwners = R"(Select * from "CurrentLimitReactorsRef" WHERE 0=1)",
        .insertSql = R"(INSERT INTO "CurrentLimitReactorsRef" ("Marka","Unom","Snom","Inom","dP","isDouble") VALUES (:p1,:p2,:p3,:p4,:p5,:p6))",
        .updateSql = R"(UPDATE "CurrentLimitReactorsRef" set "Marka"=:p1,"Unom"=:p2,"Snom"=:p3,"Inom"=:p4,"dP"=:p5,"isDouble"=:p6 WHERE "Ident"=:7)",
        .deleteSql = R"(delete from "CurrentLimitReactorsRef" where "Ident"=:p1)",
        .params = {&R::Marka, &R::Unom, &R::Snom, &R::Inom, &R::dP, &R::IsDouble},
    };
    return category;
}

}  // namespace kelm
