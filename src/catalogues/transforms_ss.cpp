#include "catalogues/transforms_ss.h"

namespace kelm {

const Category<TTransformSS>& TransformsSSCategory() {
    using R = TTransformSS;
    static const Category<R> category{
        .collectionClass = "TTransformsSS",
        .collectionElement = "KelmTransformsSS",
        .recordElement = "KelmTransforSS",
        .fields = {
            {"Marka", &R::Marka, "TypeTR"},
            {"Ident", &R::Ident, "Ident"},
            {"Unom", &R::Unom, "Unom"},
            {"AddStr", &R::AddStr, "AddStr"},
            {"Snom", &R::Snom, "Snom"},
            {"UkBH", &R::UkBH, "UkBH"},
            {"UkHH", &R::UkHH, "UkHH"},
            {"Pxx", &R::Pxx, "Pxx"},
            {"Pkz", &R::Pkz, "Pkz"},
            {"Ixx", &R::Ixx, "Ixx"},
            {"UnomB", &R::UnomB, "UnomB"},
            {"UnomH1", &R::UnomH1, "UnomH1"},
            {"UnomH2", &R::UnomH2, "UnomH2"},
            {"NumberOtp", &R::NumberOtp, "NumberOtp", Optional},
            {"DeltaUotp", &R::DeltaUotp, "DeltaUotp", Optional},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::UkBH, &R::UkHH, &R::Pkz, &R::Pxx, &R::Ixx, &R::UnomB,
                     &R::UnomH1, &R::UnomH2, &R::DeltaUotp, &R::NumberOtp},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .labelNumber = &R::Snom,
        .selectAll = R"(Select * from "TransformsSS")",
        .selectByOwners = R"(select distinct  tr.* from "Nodes" nod  inner join "TransformsSS" tr on (nod."Transf"=tr."Ident")  AND nod."OwnerGUID" IN (%S))",
        .insertSql = R"(INSERT INTO "TransformsSS" ("Unom","TypeTR","Snom","AddStr","UkBH","UkHH", "Pxx","Pkz","Ixx","UnomB","UnomH1","UnomH2","NumberOtp","DeltaUotp") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13,:p14))",
        .updateSql = R"(UPDATE "TransformsSS" set "Unom"=:p1,"TypeTR"=:p2,"Snom"=:p3, "AddStr"=:p4,"UkBH"=:p5,"UkHH"=:p6,"Pxx"=:p7,"Pkz"=:p8,"Ixx"=:p9, "UnomB"=:p10,"UnomH1"=:p11,"UnomH2"=:p12,"NumberOtp"=:p13,"DeltaUotp"=:p14 WHERE "Ident"=:p15)",
        .deleteSql = R"(delete from "TransformsSS" where "Ident"=:p1)",
        .params = {&R::Unom, &R::Marka, &R::Snom, &R::AddStr, &R::UkBH, &R::UkHH, &R::Pxx, &R::Pkz, &R::Ixx,
                   &R::UnomB, &R::UnomH1, &R::UnomH2, &R::NumberOtp, &R::DeltaUotp},
    };
    return category;
}

}  // namespace kelm
