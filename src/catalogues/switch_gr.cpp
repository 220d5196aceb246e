#include "catalogues/switch_gr.h"

#include "core/shared_rows.h"

namespace kelm {
namespace {

const std::vector<Member<TSwitchGR>>& TypeMembers() {
    static const std::vector<Member<TSwitchGR>> type = {&TSwitchGR::Name};
    return type;
}

// The device types of a save to a server, found or made all at once.
void EnsureSwitchTypes(const std::vector<const TSwitchGR*>& records, TRef_DataModule& db) {
    WantedSharedRows types(db, {"SwitchGN", {"Name"}});
    for (const TSwitchGR* record : records)
        if (InsertedOrUpdated(*record))
            types.Want(detail::SharedRowKey("SwitchGN", SwitchGRsCategory(), TypeMembers(), *record), {record->Name});
    types.Ensure();
}

}  // namespace

const Category<TSwitchGR>& SwitchGRsCategory() {
    using R = TSwitchGR;
    static const Category<R> category{
        .collectionClass = "TSwitchGRs",
        .collectionElement = "KelmSwitchGRs",
        .recordElement = "KelmSwitchGR",
        .fields = {
            {"Marka", &R::Marka, "Marka", "Марка"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ", Required},
            {"SwitchGType", &R::SwitchGType, "SwitchGType", "Идентификатор вида", RowId},
            {"AddStr", &R::AddStr, "AddStr", "Дополнительная информация"},
            {"Inom", &R::Inom, "Inom", "Номинальный ток, кА", Optional, Below(100)},
            {"Ioff", &R::Ioff, "Ioff", "Ток отключения, кА", Optional, Below(1000)},
            {"Id", &R::Id, "Id", "Ток динамической стойкости, кА", Optional, Below(1000)},
            {"It", &R::It, "It", "Ток термической стойкости, кА", Optional, Below(1000)},
            {"Toff", &R::Toff, "Toff", "Время отключения, с", Optional, Below(1000)},
            {"Ton", &R::Ton, "Ton", "Время включения, с", Optional, Below(1000)},
            {"Name", &R::Name, "Name", "Вид"},  // from the joined "SwitchGN" row
        },
        // The type takes part by its name: its row identifier belongs to one
        // database, and a save gives the device the target's own.
        .compared = {&R::Marka, &R::Name, &R::Unom, &R::Inom, &R::Ioff, &R::Id, &R::It, &R::Toff, &R::Ton},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .identity = {&R::Marka, &R::Unom},
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
        .hooks = {.beforeWrite = EnsureSwitchType, .beforeBatches = EnsureSwitchTypes},
    };
    return category;
}

void EnsureSwitchType(TSwitchGR& record, TRef_DataModule& db) {
    // Type identifiers are small integers in the device rows.
    auto typeIdent = [](std::int64_t value) {
        return detail::CheckedInteger<std::int16_t>(value, "\"SwitchGType\"");
    };
    const std::string key = detail::SharedRowKey("SwitchGN", SwitchGRsCategory(), TypeMembers(), record);
    if (const auto known = db.KnownSharedRow(key)) {
        record.SwitchGType = typeIdent(*known);
        return;
    }
    Query& q = db.SQLQuery;
    auto find = [&] {
        q.Close();
        q.SetText(R"( select "Ident" from "SwitchGN" t where t."Name"=:p2 order by "Ident")");
        q.Param(0).SetString(record.Name);
        q.Open();
        const bool found = !q.Eof() && !q.Field(0).IsNull();
        // A device copied from another catalogue carries that catalogue's
        // identifier; the row found here is the one this database knows.
        if (found) record.SwitchGType = typeIdent(q.Field(0).AsInteger());
        q.Close();
        return found;
    };
    auto create = [&] {
        // As with every new row, the type takes the identifier the database assigned.
        q.SetText(R"( INSERT INTO "SwitchGN" ("Name") VALUES (:p1) RETURNING "Ident")");
        q.Param(0).SetString(record.Name);
        q.Execute();
        record.SwitchGType = typeIdent(q.Field(0).AsInteger());
        q.Close();
    };
    FindOrCreateRow(db.SQLConnection, find, create);
    db.KnowSharedRow(key, record.SwitchGType);
}

}  // namespace kelm
