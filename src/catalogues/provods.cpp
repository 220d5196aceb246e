#include "catalogues/provods.h"

#include <cmath>
#include <limits>
#include <unordered_map>

#include "core/shared_rows.h"

namespace kelm {
namespace {

using R = TProvod;

constexpr const char* kSelectCable = R"(select * from "Cables" where "Ident"=:p1)";

// The null conductor's columns of "Cables". Other programs that read the same
// catalogue take a NULL there as 0, and so do we: a row is never read as
// "no null conductor" and lost on the next copy. Only the susceptance may be
// missing; NumberPhases is read apart because a NULL there keeps the default.
const std::vector<FieldDef<R>>& NullConductorColumns() {
    static const std::vector<FieldDef<R>> fields = {
        {"PhaseNull_F", &R::PhaseNull_F, "PhaseNull_F", nullptr},
        {"PhaseNull_R0", &R::PhaseNull_R0, "PhaseNull_R0", nullptr},
        {"PhaseNull_X0", &R::PhaseNull_X0, "PhaseNull_X0", nullptr},
        {"PhaseNull_B0", &R::PhaseNull_B0, "PhaseNull_B0", nullptr, Optional},
        {"PhaseNull_Idop", &R::PhaseNull_Idop, "PhaseNull_Idop", nullptr},
    };
    return fields;
}

// Whether the open query stands on a row whose first column holds a value.
bool HasValue(const Query& q) { return !q.Eof() && !q.Field(0).IsNull(); }

// Runs the select of the record's "Cables" row on `q` (left open).
void OpenCableRow(Query& q, const TProvod& record) {
    q.Close();
    q.SetText(kSelectCable);
    q.Param(0).SetInteger(record.Ident);
    q.Open();
}

// Reads the null conductors of the low-voltage cables just loaded, all in one
// select: one per cable would be a round trip each to a server.
void LoadNullConductors(const std::vector<R*>& records, TRef_DataModule& db) {
    std::unordered_map<std::int64_t, R*> cables;
    for (R* record : records)
        if (IsLowVoltageCable(*record)) cables.emplace(record->Ident, record);
    if (cables.empty()) return;
    Query& q = db.SQLQuery;
    q.Close();
    q.SetText(R"(select * from "Cables")");
    q.Open();
    const std::vector<int> columns = detail::ColumnsOf(NullConductorColumns(), q);
    const int ident = q.FieldIndex("Ident");
    if (ident < 0) throw DatabaseError("the table \"Cables\" has no column \"Ident\"");
    for (; !q.Eof(); q.Next()) {
        if (q.Field(ident).IsNull()) continue;
        const auto found = cables.find(q.Field(ident).AsInteger());
        if (found == cables.end()) continue;
        R& record = *found->second;
        detail::ReadRow(NullConductorColumns(), columns, record, q);
        const FieldValue phases = q.Field("NumberPhases");
        if (!phases.IsNull()) record.NumberPhases = detail::CheckedInteger<std::int16_t>(phases.AsInteger(), "NumberPhases");
        cables.erase(found);  // a cable's first row counts
    }
    q.Close();
}

void RegisterVoltage(TProvod& record, TRef_DataModule& db) { db.EnsureUnom(record.Unom); }

const std::vector<Member<R>>& TypeMembers() {
    static const std::vector<Member<R>> type = {&R::Unom, &R::Name, &R::CableFlags};
    return type;
}

// The voltages and conductor types of a save to a server, found or made all at once.
void EnsureSharedRows(const std::vector<const R*>& records, TRef_DataModule& db) {
    WantedSharedRows voltages(db, {"Unom", {"Unom"}, false});
    WantedSharedRows types(db, {"ProvodTypes", {"Unom", "Name", "CableFlags"}});
    for (const R* record : records) {
        voltages.Want(TRef_DataModule::UnomKey(record->Unom), {record->Unom});
        if (InsertedOrUpdated(*record))
            types.Want(detail::SharedRowKey("ProvodTypes", ProvodsCategory(), TypeMembers(), *record),
                       {record->Unom, record->Name, std::int64_t{record->CableFlags}});
    }
    voltages.Ensure();
    types.Ensure();
}

bool NullConductorIsPhaseConductor(const TProvod& r) {
    return r.PhaseNull_Idop == r.Idop && SameValue(r.PhaseNull_F, r.F) && SameValue(r.PhaseNull_R0, r.R0) &&
           SameValue(r.PhaseNull_X0, r.X0) && SameValue(r.PhaseNull_B0, r.B0);
}

// Keeps the "Cables" row of a low-voltage cable that has a null conductor:
// none when it equals the phase conductor, otherwise inserted or updated.
void WriteNullConductor(TProvod& record, TRef_DataModule& db) {
    if (!IsLowVoltageCable(record) || !IsValueSet(record.PhaseNull_F)) return;
    Query& q = db.SQLQuery;
    if (NullConductorIsPhaseConductor(record)) {
        q.Close();
        q.SetText(R"(delete from "Cables" where "Ident"=:p1)");
        q.Param(0).SetInteger(record.Ident);
        q.Execute();
        return;
    }
    OpenCableRow(q, record);
    const bool exists = HasValue(q);
    q.Close();
    q.SetText(exists ? R"( UPDATE "Cables" set "Ident"=:p1,"NumberPhases"=:p2,"PhaseNull_F"=:p3,"PhaseNull_R0"=:p4, "PhaseNull_X0"=:p5,"PhaseNull_B0"=:p6,"PhaseNull_Idop"=:p7 WHERE "Ident"=:p1)"
                     : R"(INSERT INTO "Cables" ("Ident","NumberPhases","PhaseNull_F","PhaseNull_R0","PhaseNull_X0", "PhaseNull_B0","PhaseNull_Idop") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7))");
    // Every value goes as it is; only a missing susceptance goes as NULL.
    q.Param(0).SetInteger(record.Ident);
    q.Param(1).SetInteger(record.NumberPhases);
    q.Param(2).SetDouble(record.PhaseNull_F);
    q.Param(3).SetDouble(record.PhaseNull_R0);
    q.Param(4).SetDouble(record.PhaseNull_X0);
    if (IsValueSet(record.PhaseNull_B0))
        q.Param(5).SetDouble(record.PhaseNull_B0);
    else
        q.Param(5).SetNull();
    q.Param(6).SetInteger(record.PhaseNull_Idop);
    if (exists) q.Param(7).SetInteger(record.Ident);  // the condition's ":p1"
    q.Execute();
    q.Close();
}

// WriteNullConductor as a batch carries it: the row goes when the null
// conductor equals the phase conductor, and is written otherwise.
bool NullConductorGoes(const TProvod& r) {
    return IsLowVoltageCable(r) && IsValueSet(r.PhaseNull_F) && NullConductorIsPhaseConductor(r);
}
bool NullConductorStays(const TProvod& r) {
    return IsLowVoltageCable(r) && IsValueSet(r.PhaseNull_F) && !NullConductorIsPhaseConductor(r);
}

// The null conductor is checked where a low-voltage cable has one of its own.
bool HasNullConductor(const TProvod& r) { return IsLowVoltageCable(r) && IsValueSet(r.PhaseNull_F); }

// A line of no impedance at all shorts its two nodes: the calculations fail on it.
template <double R::*Resistance, double R::*Reactance>
double Impedance(const R& r) {
    const double resistance = r.*Resistance, reactance = r.*Reactance;
    if (!IsValueSet(resistance) || !IsValueSet(reactance)) return std::numeric_limits<double>::quiet_NaN();
    return std::hypot(resistance, reactance);
}

double Zero(const R&) { return 0; }

}  // namespace

bool IsLowVoltageCable(const TProvod& record) { return (record.CableFlags & kCableFlag) != 0 && record.Unom < 1; }

const Category<TProvod>& ProvodsCategory() {
    static const Category<R> category{
        .collectionClass = "TProvods",
        .collectionElement = "KelmProvods",
        .recordElement = "KelmProvod",
        .fields = {
            {"B0", &R::B0, "B0", "Проводимость, мкСм/км", Optional, Below(1000)},
            {"AddStr", &R::AddStr, "AddStr", "Дополнительная информация"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Marka", &R::Marka, "Marka", "Марка"},
            {"R0", &R::R0, "R0", "Активное сопротивление, Ом/км", Required, Below(100)},
            {"X0", &R::X0, "X0", "Реактивное сопротивление, Ом/км", Required, Below(100)},
            {"F", &R::F, "F", "Сечение, мм²", ReadAsInteger | Required, Below(1000)},
            {"TgDelta", &R::TgDelta, "TgDelta", "tg δ, кВт/квар", Optional},
            {"Idop", &R::Idop, "Idop", "Допустимый ток, А", Required},
            {"ProvodType", &R::ProvodType, "ProvodType", "Идентификатор типа линии", RowId},
            {"G0", &R::G0, "G0", "Проводимость Go, гк/км", Optional, Below(1000000)},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
            {"CableFlags", &R::CableFlags, "CableFlags", "Признаки типа линии"},
            // The null conductor comes from "Cables", read row by row.
            {"PhaseNull_F", &R::PhaseNull_F, nullptr, "Сечение нулевого провода, мм²", Optional, Below(1000)},
            {"PhaseNull_R0", &R::PhaseNull_R0, nullptr, "Активное сопротивление нулевого провода, Ом/км", Optional, Below(100)},
            {"PhaseNull_X0", &R::PhaseNull_X0, nullptr, "Реактивное сопротивление нулевого провода, Ом/км", Optional, Below(100)},
            {"PhaseNull_B0", &R::PhaseNull_B0, nullptr, "Проводимость нулевого провода, мкСм/км", Optional, Below(1000)},
            {"PhaseNull_Idop", &R::PhaseNull_Idop, nullptr, "Допустимый ток нулевого провода, А", Optional},
            {"NumberPhases", &R::NumberPhases, nullptr, "Количество фаз"},
            {"Name", &R::Name, "Name", "Тип линии"},
        },
        // The conductor type by its content: its row identifier belongs to one
        // database, and a line saved into another (or read from a file) would
        // no longer be found.
        .compared = {&R::Marka, &R::F, &R::Unom, &R::Name, &R::CableFlags},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Lines,
        .identity = {&R::Marka, &R::F, &R::Unom, &R::Name, &R::CableFlags},
        .sortKeys = {&R::Unom, &R::Marka, &R::F},
        .labelNumber = &R::F,
        .selectAll = R"(Select p."Ident", p."ProvodType", p."Marka", p.F, p."AddStr", p.R0, p.X0, p.B0, p."Idop", p.G0, p."TgDelta", p."Hide", t."Unom", t."Name",t."CableFlags" from "Provods" p inner join "ProvodTypes" t on (p."ProvodType"=t."Ident"))",
        .selectByOwners = R"(Select distinct p."Ident", p."ProvodType", p."Marka", p.F, p."AddStr", p.R0, p.X0, p.B0, p."Idop", p.G0, p."TgDelta", p."Hide", t."Unom", t."Name",t."CableFlags" from "Lines" ln  left outer join  "DoubleLines" dln on (ln."GUID" = dln."GUID")  inner join "Provods" p on ((ln."Provod"=p."Ident") or (dln."Provod"=p."Ident") )  inner join "ProvodTypes" t on (t."Ident"=p."ProvodType")  where ln."OwnerGUID" IN (%S) )",
        .insertSql = R"(INSERT INTO "Provods" ("ProvodType","Marka",F,"AddStr",R0,X0,B0,"Idop",G0,"TgDelta","Hide") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,NULL))",
        .updateSql = R"(UPDATE "Provods" set "ProvodType"=:p1,"Marka"=:p2,F=:p3, "AddStr"=:p4,R0=:p5,X0=:p6,B0=:p7,"Idop"=:p8,G0=:p9,"TgDelta"=:p10 WHERE "Ident"=:p11)",
        .deleteSql = R"(delete from "Provods" where "Ident"=:p1)",
        .params = {&R::ProvodType, &R::Marka, &R::F, &R::AddStr, &R::R0, &R::X0, &R::B0, &R::Idop, &R::G0,
                   &R::TgDelta},
        .hooks = {
            .afterLoaded = LoadNullConductors,
            .beforeEveryRecord = RegisterVoltage,  // every voltage met is registered, whatever the marks
            .beforeWrite = EnsureProvodType,
            .afterWrite = WriteNullConductor,
            .beforeBatches = EnsureSharedRows,
            .afterWriteInBatch = {
                {NullConductorGoes, R"(delete from "Cables" where "Ident"=:p1)", {}, {}},
                {NullConductorStays,
                 R"(UPDATE OR INSERT INTO "Cables" ("Ident","NumberPhases","PhaseNull_F","PhaseNull_R0","PhaseNull_X0","PhaseNull_B0","PhaseNull_Idop") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7) MATCHING ("Ident"))",
                 {&R::NumberPhases, &R::PhaseNull_F, &R::PhaseNull_R0, &R::PhaseNull_X0, &R::PhaseNull_B0,
                  &R::PhaseNull_Idop},
                 {&R::PhaseNull_B0}},  // as WriteNullConductor sends them
            },
        },
        .soundness = {
            .bounds = {
                {&R::R0, AtLeast(0)}, {&R::X0, AtLeast(0)}, {&R::B0, AtLeast(0)}, {&R::G0, AtLeast(0)},
                {&R::F, Above(0)}, {&R::Idop, Above(0)},
                {&R::PhaseNull_R0, AtLeast(0), Severity::Error, HasNullConductor},
                {&R::PhaseNull_X0, AtLeast(0), Severity::Error, HasNullConductor},
                {&R::PhaseNull_B0, AtLeast(0), Severity::Error, HasNullConductor},
                {&R::PhaseNull_F, Above(0), Severity::Error, HasNullConductor},
                {&R::PhaseNull_Idop, Above(0), Severity::Error, HasNullConductor},
            },
            .relations = {
                {{"Полное сопротивление", "Ом/км", Impedance<&R::R0, &R::X0>}, Relation::Above, {"", "Ом/км", Zero},
                 {{"R0", "Ом/км", &R::R0}, {"X0", "Ом/км", &R::X0}}},
                {{"Полное сопротивление нулевого провода", "Ом/км", Impedance<&R::PhaseNull_R0, &R::PhaseNull_X0>},
                 Relation::Above, {"", "Ом/км", Zero},
                 {{"R0", "Ом/км", &R::PhaseNull_R0}, {"X0", "Ом/км", &R::PhaseNull_X0}}, Severity::Error,
                 HasNullConductor},
            },
        },
    };
    return category;
}

void EnsureProvodType(TProvod& record, TRef_DataModule& db) {
    const std::vector<Member<R>>& type = TypeMembers();
    const Category<R>& category = ProvodsCategory();
    const std::string key = detail::SharedRowKey("ProvodTypes", category, type, record);
    if (const auto known = db.KnownSharedRow(key)) {
        record.ProvodType = detail::CheckedInteger<std::int16_t>(*known, "ProvodType");
        return;
    }
    Query& q = db.SQLQuery;
    auto find = [&] {
        q.Close();
        q.SetText(R"( select "Ident" from "ProvodTypes" t where t."Unom"=:p1 and t."Name"=:p2 and t."CableFlags"=:p3 order by "Ident")");
        detail::BindParams(category, type, record, q);
        q.Open();
        const bool found = HasValue(q);
        if (found) record.ProvodType = detail::CheckedInteger<std::int16_t>(q.Field(0).AsInteger(), "ProvodType");
        q.Close();
        return found;
    };
    auto create = [&] {
        // As with every new row, the type takes the identifier the database assigned.
        q.SetText(R"( INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (:p2,:p3,:p4) RETURNING "Ident")");
        detail::BindParams(category, type, record, q);
        q.Execute();
        record.ProvodType = detail::CheckedInteger<std::int16_t>(q.Field(0).AsInteger(), "ProvodType");
        q.Close();
    };
    FindOrCreateRow(db.SQLConnection, find, create);
    db.KnowSharedRow(key, record.ProvodType);
}

}  // namespace kelm
