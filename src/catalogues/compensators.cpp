#include "catalogues/compensators.h"

namespace kelm {
namespace {

// What the compensating categories tell apart beyond their names and statements.
struct CompensatorFacts {
    double snomLimit;     // the dialog keeps the rated power below it
    const char* lossesCaption;
};

// The synchronous compensator's losses are a power; the others' are per unit of power.
constexpr CompensatorFacts kSyncCondenserFacts{100000, "Потери активной мощности, кВт"};
constexpr CompensatorFacts kPerUnitLossesFacts{1000000, "Удельные потери мощности, кВт/квар"};

// Completes a compensating category, given its names and statements, with
// the fields, keys and parameters the three share.
template <class R>
Category<R> WithCompensatorValues(Category<R> category, const CompensatorFacts& facts) {
    category.fields = {
        {"Marka", &R::Marka, "Marka", "Марка"},
        {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
        {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
        {"Snom", &R::Snom, "Snom", "Номинальная мощность, МВА", Required, Below(facts.snomLimit)},
        {"dP", &R::dP, "dP", facts.lossesCaption, Required, Below(1000000)},
    };
    category.compared = {&R::Marka, &R::Unom, &R::Snom, &R::dP};
    category.identity = {&R::Marka, &R::Unom};
    category.sortKeys = {&R::Unom, &R::Marka, &R::Snom};
    category.params = {&R::Marka, &R::Unom, &R::Snom, &R::dP};
    return category;
}

}  // namespace

const Category<TSyncCondenser>& SyncCondensersCategory() {
    static const auto category = WithCompensatorValues<TSyncCondenser>({
        .collectionClass = "TSyncCondensers",
        .collectionElement = "KelmSyncCondesers",
        .recordElement = "KelmSyncCondeser",
        .selectAll = R"(Select * from "SynchronousCondensers")",
        .selectByOwners = R"(Select * from "SynchronousCondensers" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "SynchronousCondensers" ("Marka","Unom","Snom","dP") VALUES (:p1,:p2,:p3,:p4))",
        .updateSql = R"(UPDATE "SynchronousCondensers" set "Marka"=:p1,"Unom"=:p2,"Snom"=:p3,"dP"=:p4 WHERE "Ident"=:5)",
        .deleteSql = R"(delete from "SynchronousCondensers" where "Ident"=:p1)",
    }, kSyncCondenserFacts);
    return category;
}

const Category<TCapacitorBank>& CapacitorBanksCategory() {
    static const auto category = WithCompensatorValues<TCapacitorBank>({
        .collectionClass = "TCapacitorBanks",
        .collectionElement = "KelmCapacitorBanks",
        .recordElement = "KelmCapacitorBank",
        .selectAll = R"(Select * from "CapacitorBanks")",
        .selectByOwners = R"(Select * from "CapacitorBanks" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "CapacitorBanks" ("Marka","Unom","Snom","dP") VALUES (:p1,:p2,:p3,:p4))",
        .updateSql = R"(UPDATE "CapacitorBanks" set "Marka"=:p1,"Unom"=:p2,"Snom"=:p3,"dP"=:p4 WHERE "Ident"=:5)",
        .deleteSql = R"(delete from "CapacitorBanks" where "Ident"=:p1)",
    }, kPerUnitLossesFacts);
    return category;
}

const Category<TTiristorCondenser>& TiristorCondensersCategory() {
    static const auto category = WithCompensatorValues<TTiristorCondenser>({
        .collectionClass = "TTiristorCondensers",
        .collectionElement = "KelmTiristorCondensers",
        .recordElement = "KelmTiristorCondenser",
        .selectAll = R"(Select * from "TiristorCondensers")",
        .selectByOwners = R"(Select * from "TiristorCondensers" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "TiristorCondensers" ("Marka","Unom","Snom","dP") VALUES (:p1,:p2,:p3,:p4))",
        .updateSql = R"(UPDATE "TiristorCondensers" set "Marka"=:p1,"Unom"=:p2,"Snom"=:p3,"dP"=:p4 WHERE "Ident"=:5)",
        .deleteSql = R"(delete from "TiristorCondensers" where "Ident"=:p1)",
    }, kPerUnitLossesFacts);
    return category;
}

}  // namespace kelm
