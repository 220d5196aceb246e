#include "catalogues/motors.h"

namespace kelm {
namespace {

// The fields both kinds of motor have, then `more`, in the order the exchange
// file writes them.
template <class R>
std::vector<FieldDef<R>> MotorFields(std::initializer_list<FieldDef<R>> more = {}) {
    std::vector<FieldDef<R>> fields = {
        {"Marka", &R::Marka, "Marka", "Марка"},
        {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
        {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ"},
        {"Pnom", &R::Pnom, "Pnom", "Номинальная мощность, кВт", Required, Below(1000000)},
        {"Performance", &R::Performance, "Performance", "КДП, о.е.", Optional, Below(10)},
        {"CosFi", &R::CosFi, "CosFi", "Коэффициент мощности", Optional, AtMost(1)},
        {"n", &R::n, "n", "Частота вращения, об./мин", Optional},
    };
    fields.insert(fields.end(), more);
    return fields;
}

}  // namespace

const Category<TSyncMotor>& SyncMotorsCategory() {
    using R = TSyncMotor;
    static const Category<R> category{
        .collectionClass = "TSyncMotors",
        .collectionElement = "KelmSyncMotors",
        .recordElement = "KelmSyncMotor",
        .fields = MotorFields<R>(),
        .compared = {&R::Marka, &R::Unom, &R::Pnom, &R::Performance, &R::CosFi, &R::n},
        .identity = {&R::Marka, &R::Unom, &R::Pnom},
        .sortKeys = {&R::Unom, &R::Marka},
        .selectAll = R"(Select * from "SynchronousMotors")",
        .selectByOwners = R"(Select * from "SynchronousMotors" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "SynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n") VALUES (:p1,:p2,:p3,:p4,:p5,:p6))",
        .updateSql = R"(UPDATE "SynchronousMotors" set "Marka"=:p1,"Unom"=:p2,"Pnom"=:p3,"Performance"=:p4,"CosFi"=:p5,"n"=:p6 WHERE "Ident"=:7)",
        .deleteSql = R"(delete from "SynchronousMotors" where "Ident"=:p1)",
        .params = {&R::Marka, &R::Unom, &R::Pnom, &R::Performance, &R::CosFi, &R::n},
    };
    return category;
}

const Category<TAsyncMotor>& AsyncMotorsCategory() {
    using R = TAsyncMotor;
    static const Category<R> category{
        .collectionClass = "TAsyncMotors",
        .collectionElement = "KelmAsyncMotors",
        .recordElement = "KelmAsyncMotor",
        .fields = MotorFields<R>({{"Slip", &R::Slip, "Slip", "Номинальное скольжение, %", Optional, Below(1000)}}),
        .compared = {&R::Marka, &R::Unom, &R::Pnom, &R::Performance, &R::CosFi, &R::Slip, &R::n},
        .identity = {&R::Marka, &R::Unom, &R::Pnom},
        .sortKeys = {&R::Unom, &R::Marka},
        .selectAll = R"(Select * from "AsynchronousMotors")",
        .selectByOwners = R"(Select * from "AsynchronousMotors" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "AsynchronousMotors" ("Marka","Unom","Pnom","Performance","CosFi","n","Slip") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7))",
        // ":7" after ":p7" is an eighth position of its own: it carries Ident.
        .updateSql = R"(UPDATE "AsynchronousMotors" set "Marka"=:p1,"Unom"=:p2,"Pnom"=:p3,"Performance"=:p4,"CosFi"=:p5,"n"=:p6,"Slip"=:p7 WHERE "Ident"=:7)",
        .deleteSql = R"(delete from "AsynchronousMotors" where "Ident"=:p1)",
        .params = {&R::Marka, &R::Unom, &R::Pnom, &R::Performance, &R::CosFi, &R::n, &R::Slip},
    };
    return category;
}

}  // namespace kelm
