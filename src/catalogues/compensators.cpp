#include "catalogues/compensators.h"

namespace kelm {
namespace {

// Completes a compensating category, given its names and statements, with
// the fields, keys and parameters the three share.
template <class R>
Category<R> WithCompensatorValues(Category<R> category) {
    category.fields = {
        {"Marka", &R::Marka, "Marka"},
        {"Ident", &R::Ident, "Ident"},
        {"Unom", &R::Unom, "Unom"},
        {"Snom", &R::Snom, "Snom"},
        {"dP", &R::dP, "dP"},
    };
    category.compared = {&R::Marka, &R::Unom, &R::Snom, &R::dP};
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
    });
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
    });
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
    });
    return category;
}

}  // namespace kelm
