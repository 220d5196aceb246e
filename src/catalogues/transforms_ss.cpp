#include "catalogues/transforms_ss.h"

#include "catalogues/transforms.h"

namespace kelm {

const Category<TTransformSS>& TransformsSSCategory() {
    using R = TTransformSS;
    static const Category<R> category{
        .collectionClass = "TTransformsSS",
        .collectionElement = "KelmTransformsSS",
        .recordElement = "KelmTransforSS",
        .fields = {
            {"Marka", &R::Marka, "TypeTR", "Тип"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ", Required},
            {"AddStr", &R::AddStr, "AddStr", "Дополнительная информация"},
            {"Snom", &R::Snom, "Snom", "Номинальная мощность, кВ·А", Required},
            {"UkBH", &R::UkBH, "UkBH", "Напряжение короткого замыкания Uк.з.(вн), %", Required, Below(10000)},
            {"UkHH", &R::UkHH, "UkHH", "Напряжение короткого замыкания Uк.з.(нн), %", Required, Below(10000)},
            {"Pxx", &R::Pxx, "Pxx", "Мощность холостого хода, кВт", Required, Below(10000)},
            {"Pkz", &R::Pkz, "Pkz", "Мощность короткого замыкания, кВт", Required, Below(10000)},
            {"Ixx", &R::Ixx, "Ixx", "Ток холостого хода, %", Required, Below(10000)},
            {"UnomB", &R::UnomB, "UnomB", "Номинальное напряжение обмоток UномВ, кВ", Required, Below(1000)},
            {"UnomH1", &R::UnomH1, "UnomH1", "Номинальное напряжение обмоток UномН1, кВ", Required, Below(1000)},
            {"UnomH2", &R::UnomH2, "UnomH2", "Номинальное напряжение обмоток UномН2, кВ", Required, Below(1000)},
            {"NumberOtp", &R::NumberOtp, "NumberOtp", "Пределы регулирования, число ступеней", Optional},
            {"DeltaUotp", &R::DeltaUotp, "DeltaUotp", "Пределы регулирования, ступень, %", Optional, Below(1000)},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::UkBH, &R::UkHH, &R::Pkz, &R::Pxx, &R::Ixx, &R::UnomB,
                     &R::UnomH1, &R::UnomH2, &R::DeltaUotp, &R::NumberOtp},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .identity = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomH1, &R::UnomH2},
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .labelNumber = &R::Snom,
        .selectAll = R"(Select * from "TransformsSS")",
        .selectByOwners = R"(select distinct  tr.* from "Nodes" nod  inner join "TransformsSS" tr on (nod."Transf"=tr."Ident")  AND nod."OwnerGUID" IN (%S))",
        .insertSql = R"(INSERT INTO "TransformsSS" ("Unom","TypeTR","Snom","AddStr","UkBH","UkHH", "Pxx","Pkz","Ixx","UnomB","UnomH1","UnomH2","NumberOtp","DeltaUotp") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13,:p14))",
        .updateSql = R"(UPDATE "TransformsSS" set "Unom"=:p1,"TypeTR"=:p2,"Snom"=:p3, "AddStr"=:p4,"UkBH"=:p5,"UkHH"=:p6,"Pxx"=:p7,"Pkz"=:p8,"Ixx"=:p9, "UnomB"=:p10,"UnomH1"=:p11,"UnomH2"=:p12,"NumberOtp"=:p13,"DeltaUotp"=:p14 WHERE "Ident"=:p15)",
        .deleteSql = R"(delete from "TransformsSS" where "Ident"=:p1)",
        .params = {&R::Unom, &R::Marka, &R::Snom, &R::AddStr, &R::UkBH, &R::UkHH, &R::Pxx, &R::Pkz, &R::Ixx,
                   &R::UnomB, &R::UnomH1, &R::UnomH2, &R::NumberOtp, &R::DeltaUotp},
        .rules = {{&R::UnomB, HighWindingOfRatedClass<R>}},
        // The one short-circuit loss is that of the high winding against both halves of the split one.
        .soundness = {
            .bounds = {{&R::Snom, Above(0)}, {&R::UkBH, ShareAboveZero()}, {&R::UkHH, ShareAboveZero()},
                       {&R::Ixx, ShareOrZero()}, {&R::Pxx, AtLeast(0)}, {&R::Pkz, AtLeast(0)}},
            .relations = {
                ActivePartWithinVoltage<R>("Активная составляющая Uк.з.(вн)", "Uк.з.(вн)", &R::UkBH, "Pк.з.",
                                           &R::Pkz, PercentOfRatedPower<R, &R::Pkz>),
                HigherWindingAbove<R>("UномВ", &R::UnomH1, "UномН1"),
                HigherWindingAbove<R>("UномВ", &R::UnomH2, "UномН2"),
                NoLoadLossWithinCurrent<R>(),
            },
        },
    };
    return category;
}

}  // namespace kelm
