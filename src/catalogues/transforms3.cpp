#include "catalogues/transforms3.h"

namespace kelm {
namespace {

// What tells the two categories apart: their names and their table's statements.
struct TableNames {
    const char* collectionClass;
    const char* collectionElement;
    const char* recordElement;
    const char* selectAll;
    const char* selectByOwners;
    const char* insertSql;
    const char* updateSql;
    const char* deleteSql;
};

template <class R>
Category<R> ThreeWindingCategory(const TableNames& names) {
    return Category<R>{
        .collectionClass = names.collectionClass,
        .collectionElement = names.collectionElement,
        .recordElement = names.recordElement,
        .fields = {
            {"Unom", &R::Unom, "Unom"},
            {"Marka", &R::Marka, "TypeTR"},
            {"Ident", &R::Ident, "Ident"},
            {"AddStr", &R::AddStr, "AddStr"},
            {"Snom", &R::Snom, "Snom"},
            {"UnomB", &R::UnomB, "UnomB"},
            {"UnomC", &R::UnomC, "UnomC"},
            {"UnomH", &R::UnomH, "UnomH"},
            {"Pxx", &R::Pxx, "Pxx"},
            {"Ixx", &R::Ixx, "Ixx"},
            {"PkzBC", &R::PkzBC, "PkzBC"},
            {"PkzBH", &R::PkzBH, "PkzBH"},
            {"PkzCH", &R::PkzCH, "PkzCH"},
            {"UkBC", &R::UkBC, "UkBC"},
            {"UkBH", &R::UkBH, "UkBH"},
            {"UkCH", &R::UkCH, "UkCH"},
            {"SobmB", &R::SobmB, "SobmB", Optional},
            {"SobmC", &R::SobmC, "SobmC", Optional},
            {"SobmH", &R::SobmH, "SobmH", Optional},
            {"NumberOtpB", &R::NumberOtpB, "NumberOtpB", Optional},
            {"DeltaUotpB", &R::DeltaUotpB, "DeltaUotpB", Optional},
            {"NumberOtpC", &R::NumberOtpC, "NumberOtpC", Optional},
            {"DeltaUotpC", &R::DeltaUotpC, "DeltaUotpC", Optional},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomC, &R::UnomH, &R::Pxx, &R::Ixx,
                     &R::PkzBC, &R::PkzBH, &R::PkzCH, &R::UkBC, &R::UkBH, &R::UkCH, &R::SobmB, &R::SobmC,
                     &R::SobmH, &R::DeltaUotpB, &R::DeltaUotpC, &R::NumberOtpB, &R::NumberOtpC},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .sortKeys = {&R::Unom, &R::Marka, &R::Snom},
        .labelNumber = &R::Snom,
        .selectAll = names.selectAll,
        .selectByOwners = names.selectByOwners,
        .insertSql = names.insertSql,
        .updateSql = names.updateSql,
        .deleteSql = names.deleteSql,
        .params = {&R::Unom, &R::Marka, &R::Snom, &R::AddStr, &R::UnomB, &R::UnomC, &R::UnomH, &R::Pxx,
                   &R::Ixx, &R::PkzBC, &R::PkzBH, &R::PkzCH, &R::UkBC, &R::UkBH, &R::UkCH, &R::SobmB,
                   &R::SobmC, &R::SobmH, &R::NumberOtpB, &R::DeltaUotpB, &R::NumberOtpC, &R::DeltaUotpC},
    };
}

}  // namespace

const Category<TTransform3>& Transforms3Category() {
    static const Category<TTransform3> category = ThreeWindingCategory<TTransform3>({
        .collectionClass = "TTransforms3",
        .collectionElement = "KelmTransforms3",
        .recordElement = "KelmTransfor3",
        .selectAll = R"(Select * from "Transforms3")",
        .selectByOwners = R"(select distinct  tr.* from "Nodes" nod  inner join "Transforms3" tr on (nod."Transf"=tr."Ident")  AND nod."OwnerGUID" IN (%S))",
        .insertSql = R"(INSERT INTO "Transforms3" ("Unom","TypeTR","Snom", "AddStr","UnomB","UnomC","UnomH","Pxx","Ixx", "PkzBC","PkzBH","PkzCH", "UkBC","UkBH","UkCH", "SobmB","SobmC","SobmH", "NumberOtpB","DeltaUotpB","NumberOtpC","DeltaUotpC") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13,:p14,:p15,:p16,:p17,:p18,:p19,:p20,:p21,:p22))",
        .updateSql = R"(UPDATE "Transforms3" set "Unom"=:p1,"TypeTR"=:p2,"Snom"=:p3, "AddStr"=:p4,"UnomB"=:p5,"UnomC"=:p6,"UnomH"=:p7,"Pxx"=:p8,"Ixx"=:p9, "PkzBC"=:p10,"PkzBH"=:p11,"PkzCH"=:p12, "UkBC"=:p13,"UkBH"=:p14,"UkCH"=:p15, "SobmB"=:p16,"SobmC"=:p17,"SobmH"=:p18, "NumberOtpB"=:p19,"DeltaUotpB"=:p20,"NumberOtpC"=:p21,"DeltaUotpC"=:p22 WHERE "Ident"=:p23)",
        .deleteSql = R"(delete from "Transforms3" where "Ident"=:p1)",
    });
    return category;
}

const Category<TTransformA>& TransformsACategory() {
    static const Category<TTransformA> category = ThreeWindingCategory<TTransformA>({
        .collectionClass = "TTransformsA",
        .collectionElement = "KelmTransformsA",
        .recordElement = "KelmTransforA",
        .selectAll = R"(Select * from "TransformsA")",
        .selectByOwners = R"(select distinct  tr.* from "Nodes" nod  inner join "TransformsA" tr on (nod."Transf"=tr."Ident")  AND nod."OwnerGUID" IN (%S))",
        .insertSql = R"(INSERT INTO "TransformsA" ("Unom","TypeTR","Snom", "AddStr","UnomB","UnomC","UnomH","Pxx","Ixx", "PkzBC","PkzBH","PkzCH", "UkBC","UkBH","UkCH", "SobmB","SobmC","SobmH", "NumberOtpB","DeltaUotpB","NumberOtpC","DeltaUotpC") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13,:p14,:p15,:p16,:p17,:p18,:p19,:p20,:p21,:p22))",
        .updateSql = R"(UPDATE "TransformsA" set "Unom"=:p1,"TypeTR"=:p2,"Snom"=:p3, "AddStr"=:p4,"UnomB"=:p5,"UnomC"=:p6,"UnomH"=:p7,"Pxx"=:p8,"Ixx"=:p9, "PkzBC"=:p10,"PkzBH"=:p11,"PkzCH"=:p12, "UkBC"=:p13,"UkBH"=:p14,"UkCH"=:p15, "SobmB"=:p16,"SobmC"=:p17,"SobmH"=:p18, "NumberOtpB"=:p19,"DeltaUotpB"=:p20,"NumberOtpC"=:p21,"DeltaUotpC"=:p22 WHERE "Ident"=:p23)",
        .deleteSql = R"(delete from "TransformsA" where "Ident"=:p1)",
    });
    return category;
}

void TTransformA::CopyValues(TTransformA* destination) const { kelm::CopyValues(*this, destination); }

}  // namespace kelm
