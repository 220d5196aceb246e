#include "catalogues/switch_gr.h"

namespace kelm {

const Category<TSwitchGR>& SwitchGRsCategory() {
    using R = TSwitchGR;
    static const Category<R> category{
        .collectionClass = "TSwitchGRs",
        .collectionElement = "KelmSwitchGRs",
        .recordElement = "KelmSwitchGR",
        .fields = {
            {"Marka", &R::Marka, "Marka"},
            {"Ident", &R::Ident, "Ident"},
            {"Unom", &R::Unom, "Unom"},
            {"SwitchGType", &R::SwitchGType, "SwitchGType"},
            {"AddStr", &R::AddStr, "AddStr"},
            {"Inom", &R::Inom, "Inom", Optional},
            {"Ioff", &R::Ioff, "Ioff", Optional},
            {"Id", &R::Id, "Id", Optional},
            {"It", &R::It, "It", Optional},
            {"Toff", &R::Toff, "Toff", Optional},
            {"Ton", &R::Ton, "Ton", Optional},
            {"Name", &R::Name, "Name"},  // from the joined "SwitchGN" row
        },
        // The type takes part by its identifier only, not by its name.
        .compared = {&R::Marka, &R::SwitchGType, &R::Unom, &R::Inom, &R::Ioff, &R::Id, &R::It, &R::Toff,
                     &R::Ton},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .sortKeys = {&R::Unom, &R::Marka},
        .labelNumber = std::nullopt,  // the error line has no power part
        // Both statements join the type table: a device without its type row is not read.
        .selectAll = R"( Select gr.*,gn."Name" from "SwitchGR" gr inner join "SwitchGN" gn on (gn."Ident"=gr."SwitchGType"))",
        .selectByOwners = R"( select distinct gr.*,gn."Name"  from "Lines" ln  left outer join  "DoubleLines" dln on (ln."GUID" = dln."GUID")  inner join "SwitchGR" gr on ((ln."Provod"=gr."Ident") or (dln."Provod"=gr."Ident") )  inner join "SwitchGN" gn on (gn."Ident"=gr."SwitchGType") where ln."OwnerGUID" IN (%S) )",
        .insertSql = R"(INSERT INTO "SwitchGR" ("Unom","SwitchGType","Marka","AddStr","Inom","Ioff","Id","It","Toff","Ton") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10))",
        .updateSql = R"(UPDATE "SwitchGR" set "Unom"=:p1,"SwitchGType"=:p2,"Marka"=:p3,"AddStr"=:p4,"Inom"=:p5,"Ioff"=:p6,"Id"=:p7,"It"=:p8,"Toff"=:p9,"Ton"=:p10 WHERE "Ident"=:11)",
        .deleteSql = R"(delete from "SwitchGR" where "Ident"=:p1)",
        .params = {&R::Unom, &R::SwitchGType, &R::Marka, &R::AddStr, &R::Inom, &R::Ioff, &R::Id, &R::It,
                   &R::Toff, &R::Ton},
        // Runs before Added is cleared, so a device whose type could not be
        // made stays marked and is tried again at the next save.
        .hooks = {.beforeWrite = EnsureSwitchType},
    };
    return category;
}

void EnsureSwitchType(TSwitchGR& record, TRef_DataModule& db) {
    // Type identifiers are small integers in the device rows.
    auto typeIdent = [](std::int64_t value) {
        return detail::CheckedInteger<std::int16_t>(value, "\"SwitchGType\"");
    };
    Query& q = db.SQLQuery;
    q.Close();
    q.SetText(R"( select "Ident" from "SwitchGN" t where t."Name"=:p2)");
    q.Param(0).SetString(record.Name);
    q.Open();
    if (!q.Eof() && !q.Field(0).IsNull()) {
        // A device copied from another catalogue carries that catalogue's
        // identifier; the row found here is the one this database knows.
        record.SwitchGType = typeIdent(q.Field(0).AsInteger());
        q.Close();
        return;
    }
    q.Close();
    // As with every new row, the type takes the identifier the database assigned.
    q.SetText(R"( INSERT INTO "SwitchGN" ("Name") VALUES (:p1) RETURNING "Ident")");
    q.Param(0).SetString(record.Name);
    q.Execute();
    record.SwitchGType = typeIdent(q.Field(0).AsInteger());
    q.Close();
}

}  // namespace kelm
