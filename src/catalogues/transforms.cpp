#include "catalogues/transforms.h"

namespace kelm {

const Category<TTransform>& TransformsCategory() {
    using R = TTransform;
    static const Category<R> category{
        .collectionClass = "TTransforms",
        .collectionElement = "KelmTransforms",
        .recordElement = "KelmTransfor",
        .fields = {
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Marka", &R::Marka, "TypeTR", "Тип"},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ", Required},
            {"AddStr", &R::AddStr, "AddStr", "Дополнительная информация"},
            {"Pxx", &R::Pxx, "Pxx", "Мощность холостого хода, кВт", Required, Below(1000)},
            {"Pkz", &R::Pkz, "Pkz", "Мощность короткого замыкания, кВт", Required, Below(1000)},
            {"UhiV", &R::UnomB, "UnomB", "Номинальное напряжение высшее, кВ", Required, Below(10000)},
            {"UlowV", &R::UnomH, "UnomH", "Номинальное напряжение низшее, кВ", Required, Below(10000)},
            {"Snom", &R::Snom, "Snom", "Номинальная мощность, кВ·А", Required},
            {"Ukz", &R::Uk, "Uk", "Напряжение короткого замыкания, %", Required, Below(1000)},
            {"Ixx", &R::Ixx, "Ixx", "Ток холостого хода, %", Required, Below(1000)},
            {"Notv", &R::NumberOtp, "NumberOtp", "Пределы регулирования, число ступеней", Optional},
            {"DeltaOtv", &R::DeltaUotp, "DeltaUotp", "Пределы регулирования, ступень, %", Optional, Below(1000)},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomH, &R::Uk, &R::Pkz, &R::Pxx, &R::Ixx,
                     &R::DeltaUotp, &R::NumberOtp},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .identity = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomH},
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .labelNumber = &R::Snom,
        .selectAll = R"(Select * from "Transforms2")",
        .selectByOwners = R"(select distinct tr.* from "Nodes" nod  inner join "Transforms2" tr on (nod."Transf"=tr."Ident")  AND nod."OwnerGUID" IN (%S))",
        .insertSql = R"(INSERT INTO "Transforms2" ("Unom","TypeTR","Snom","AddStr","Uk","Pxx", "Pkz","Ixx","UnomB","UnomH","NumberOtp","DeltaUotp") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12))",
        .updateSql = R"(UPDATE "Transforms2" set "Unom"=:p1,"TypeTR"=:p2,"Snom"=:p3, "AddStr"=:p4,"Uk"=:p5,"Pxx"=:p6,"Pkz"=:p7,"Ixx"=:p8, "UnomB"=:p9,"UnomH"=:p10,"NumberOtp"=:p11,"DeltaUotp"=:p12 WHERE "Ident"=:p13)",
        .deleteSql = R"(delete from "Transforms2" where "Ident"=:p1)",
        .params = {&R::Unom, &R::Marka, &R::Snom, &R::AddStr, &R::Uk, &R::Pxx, &R::Pkz, &R::Ixx, &R::UnomB,
                   &R::UnomH, &R::NumberOtp, &R::DeltaUotp},
        .rules = {{&R::UnomB, HighWindingOfRatedClass<R>}},
        .soundness = {
            .bounds = {{&R::Snom, Above(0)}, {&R::Uk, ShareAboveZero()}, {&R::Ixx, ShareOrZero()},
                       {&R::Pxx, AtLeast(0)}, {&R::Pkz, AtLeast(0)}},
            .relations = {
                ActivePartWithinVoltage<R>("Активная составляющая Uк", "Uк", &R::Uk, "Pк.з.", &R::Pkz,
                                           PercentOfRatedPower<R, &R::Pkz>),
                HigherWindingAbove<R>("Uвн", &R::UnomH, "Uнн"),
                NoLoadLossWithinCurrent<R>(),
            },
        },
    };
    return category;
}

}  // namespace kelm
