#include "catalogues/transforms3.h"

#include <algorithm>

#include "catalogues/transforms.h"

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

// A winding pair's losses are measured at the power of its smaller winding,
// where the catalogue gives the windings' shares of the rated power.
template <class R, auto ShareI, auto ShareJ>
double PairPower(const R& r) {
    const double i = r.*ShareI, j = r.*ShareJ;
    if (!IsValueSet(i) || !IsValueSet(j) || i <= 0 || j <= 0) return r.Snom;
    return r.Snom * std::min(i, j) / 100;
}

template <class R, auto Losses, auto ShareI, auto ShareJ>
double PairActivePart(const R& r) {
    return PercentOfPower(r.*Losses, PairPower<R, ShareI, ShareJ>(r));
}

template <class R>
Category<R> ThreeWindingCategory(const TableNames& names) {
    return Category<R>{
        .collectionClass = names.collectionClass,
        .collectionElement = names.collectionElement,
        .recordElement = names.recordElement,
        .fields = {
            {"Unom", &R::Unom, "Unom", "Номинальное напряжение, кВ", Required},
            {"Marka", &R::Marka, "TypeTR", "Тип"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"AddStr", &R::AddStr, "AddStr", "Дополнительная информация"},
            {"Snom", &R::Snom, "Snom", "Номинальная мощность, кВ·А", Required},
            {"UnomB", &R::UnomB, "UnomB", "Номинальное напряжение обмоток Uн.в., кВ", Required, Below(1000)},
            {"UnomC", &R::UnomC, "UnomC", "Номинальное напряжение обмоток Uн.с., кВ", Required, Below(1000)},
            {"UnomH", &R::UnomH, "UnomH", "Номинальное напряжение обмоток Uн.н., кВ", Required, Below(1000)},
            {"Pxx", &R::Pxx, "Pxx", "Мощность холостого хода, кВт", Required, Below(10000)},
            {"Ixx", &R::Ixx, "Ixx", "Ток холостого хода, %", Required, Below(10000)},
            {"PkzBC", &R::PkzBC, "PkzBC", "Мощность короткого замыкания Pк.з.(вс), кВт", Required, Below(10000)},
            {"PkzBH", &R::PkzBH, "PkzBH", "Мощность короткого замыкания Pк.з.(вн), кВт", Required, Below(10000)},
            {"PkzCH", &R::PkzCH, "PkzCH", "Мощность короткого замыкания Pк.з.(сн), кВт", Required, Below(10000)},
            {"UkBC", &R::UkBC, "UkBC", "Напряжение короткого замыкания Uк.з.(вс), %", Required, Below(10000)},
            {"UkBH", &R::UkBH, "UkBH", "Напряжение короткого замыкания Uк.з.(вн), %", Required, Below(10000)},
            {"UkCH", &R::UkCH, "UkCH", "Напряжение короткого замыкания Uк.з.(сн), %", Required, Below(10000)},
            {"SobmB", &R::SobmB, "SobmB", "Соотношение между мощностями обмоток Sобм.в, %", Optional, Below(1000)},
            {"SobmC", &R::SobmC, "SobmC", "Соотношение между мощностями обмоток Sобм.с, %", Optional, Below(1000)},
            {"SobmH", &R::SobmH, "SobmH", "Соотношение между мощностями обмоток Sобм.н, %", Optional, Below(1000)},
            {"NumberOtpB", &R::NumberOtpB, "NumberOtpB", "Пределы регулирования на обмотке высокого напряжения, число ступеней", Optional},
            {"DeltaUotpB", &R::DeltaUotpB, "DeltaUotpB", "Пределы регулирования на обмотке высокого напряжения, ступень, %", Optional, Below(1000)},
            {"NumberOtpC", &R::NumberOtpC, "NumberOtpC", "Пределы регулирования на обмотке низкого напряжения, число ступеней", Optional},
            {"DeltaUotpC", &R::DeltaUotpC, "DeltaUotpC", "Пределы регулирования на обмотке низкого напряжения, ступень, %", Optional, Below(1000)},
        },
        .compared = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomC, &R::UnomH, &R::Pxx, &R::Ixx,
                     &R::PkzBC, &R::PkzBH, &R::PkzCH, &R::UkBC, &R::UkBH, &R::UkCH, &R::SobmB, &R::SobmC,
                     &R::SobmH, &R::DeltaUotpB, &R::DeltaUotpC, &R::NumberOtpB, &R::NumberOtpC},
        .comment = &R::AddStr,
        .group = DuplicateGroup::Transformers,
        .identity = {&R::Marka, &R::Unom, &R::Snom, &R::UnomB, &R::UnomC, &R::UnomH},
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
        .rules = {{&R::UnomB, HighWindingOfRatedClass<R>}},
        .soundness = {
            .bounds = {{&R::Snom, Above(0)}, {&R::UkBC, ShareAboveZero()}, {&R::UkBH, ShareAboveZero()},
                       {&R::UkCH, ShareAboveZero()}, {&R::Ixx, ShareOrZero()}, {&R::Pxx, AtLeast(0)},
                       {&R::PkzBC, AtLeast(0)}, {&R::PkzBH, AtLeast(0)}, {&R::PkzCH, AtLeast(0)}},
            .relations = {
                ActivePartWithinVoltage<R>("Активная составляющая Uк.з.(вс)", "Uк.з.(вс)", &R::UkBC, "Pк.з.(вс)",
                                           &R::PkzBC, PairActivePart<R, &R::PkzBC, &R::SobmB, &R::SobmC>,
                                           {"S(вс)", "кВ·А", PairPower<R, &R::SobmB, &R::SobmC>}),
                ActivePartWithinVoltage<R>("Активная составляющая Uк.з.(вн)", "Uк.з.(вн)", &R::UkBH, "Pк.з.(вн)",
                                           &R::PkzBH, PairActivePart<R, &R::PkzBH, &R::SobmB, &R::SobmH>,
                                           {"S(вн)", "кВ·А", PairPower<R, &R::SobmB, &R::SobmH>}),
                ActivePartWithinVoltage<R>("Активная составляющая Uк.з.(сн)", "Uк.з.(сн)", &R::UkCH, "Pк.з.(сн)",
                                           &R::PkzCH, PairActivePart<R, &R::PkzCH, &R::SobmC, &R::SobmH>,
                                           {"S(сн)", "кВ·А", PairPower<R, &R::SobmC, &R::SobmH>}),
                HigherWindingAbove<R>("Uн.в.", &R::UnomC, "Uн.с."),
                HigherWindingAbove<R>("Uн.в.", &R::UnomH, "Uн.н."),
                NoLoadLossWithinCurrent<R>(),
            },
        },
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
