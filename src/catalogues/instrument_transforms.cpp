#include "catalogues/instrument_transforms.h"

#include "catalogues/meters.h"

namespace kelm {
namespace {

// The fields both kinds have, then their three ratings, in the order the
// exchange file writes them. A blank Manufacturer is sent as NULL and left out
// of the file, like the values not set.
template <class R>
std::vector<FieldDef<R>> InstrumentTransformerFields(const char* voltageCaption,
                                                     std::initializer_list<FieldDef<R>> ratings) {
    std::vector<FieldDef<R>> fields = {
        {"Marka", &R::Marka, "Indication", "Обозначение"},
        {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
        {"Unom", &R::Unom, "Unom", voltageCaption},
        {"AccuracyClass", &R::AccuracyClass, "AccuracyClass", "Класс точности, %"},
        {"Manufacturer", &R::Manufacturer, "Manufacturer", "Изготовитель", Optional},
        {"PrefailureLife", &R::PrefailureLife, "PrefailureLife", "Средняя наработка на отказ", Optional},
        {"WorkTemperatureLow", &R::WorkTemperatureLow, "WorkTemperatureLow", "Диапазон рабочих температур от, °С", Optional},
        {"WorkTemperatureHigh", &R::WorkTemperatureHigh, "WorkTemperatureHigh", "Диапазон рабочих температур до, °С", Optional},
    };
    fields.insert(fields.end(), ratings);
    return fields;
}

}  // namespace

const Category<TTransformsIRef>& TransformsIRefsCategory() {
    using R = TTransformsIRef;
    static const Category<R> category{
        .collectionClass = "TTransformsIRefs",
        .collectionElement = "KelmTransformsIRefs",
        .recordElement = "KelmTransformsIRef",
        .fields = InstrumentTransformerFields<R>("Номинальное рабочее напряжение, кВ", {
            {"I1nom", &R::I1nom, "I1nom", "Номинальный первичный ток, А", Required},
            {"I2nom", &R::I2nom, "I2nom", "Номинальный вторичный ток, А", Required},
            {"RatedLoad", &R::RatedLoad, "RatedLoad", "Номинальная нагрузка, В·А", Optional, Below(1000)},
        }),
        .compared = {&R::Marka, &R::Manufacturer, &R::Unom, &R::RatedLoad, &R::AccuracyClass, &R::I1nom, &R::I2nom,
                     &R::WorkTemperatureLow, &R::WorkTemperatureHigh, &R::PrefailureLife},
        .identity = {&R::Marka, &R::Unom},
        .sortKeys = {&R::Unom, &R::Marka},
        .selectAll = R"(Select * from "TransformsIRef")",
        .selectByOwners = R"(Select * from "TransformsIRef" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "TransformsIRef" ("Indication","AccuracyClass","I1nom","I2nom","Unom","RatedLoad","Manufacturer","PrefailureLife","WorkTemperatureLow","WorkTemperatureHigh") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10))",
        .updateSql = R"(UPDATE "TransformsIRef" set "Indication"=:p1,"AccuracyClass"=:p2,"I1nom"=:p3,"I2nom"=:p4,"Unom"=:p5,"RatedLoad"=:p6,"Manufacturer"=:p7,"PrefailureLife"=:p8,"WorkTemperatureLow"=:p9,"WorkTemperatureHigh"=:p10 WHERE "Ident"=:11)",
        .deleteSql = R"(delete from "TransformsIRef" where "Ident"=:p1)",
        .params = {&R::Marka, &R::AccuracyClass, &R::I1nom, &R::I2nom, &R::Unom, &R::RatedLoad, &R::Manufacturer,
                   &R::PrefailureLife, &R::WorkTemperatureLow, &R::WorkTemperatureHigh},
        .rules = {{&R::WorkTemperatureHigh, TemperatureRangeInOrder<R>}},
    };
    return category;
}

const Category<TTransformsVRef>& TransformsVRefsCategory() {
    using R = TTransformsVRef;
    static const Category<R> category{
        .collectionClass = "TTransformsVRefs",
        .collectionElement = "KelmTransformsVRefs",
        .recordElement = "KelmTransformsVRef",
        .fields = InstrumentTransformerFields<R>("Класс напряжения, кВ", {
            {"UnomB", &R::UnomB, "UnomB", "Номинальное напряжение первичной обмотки, В", Required},
            // Read as the double it is: a secondary voltage such as 100/√3 V keeps
            // its fraction instead of coming back as a whole number.
            {"UnomH", &R::UnomH, "UnomH", "Номинальное напряжение вторичной обмотки, В", Required, Below(10000)},
            {"VoltageDrop", &R::VoltageDrop, "VoltageDrop", "Падение напряжения при трехкратной перегрузке по отношению к предельной мощности для отпайки 127 В, не более, %", Optional, Below(1000)},
        }),
        .compared = {&R::Marka, &R::Manufacturer, &R::Unom, &R::VoltageDrop, &R::AccuracyClass, &R::UnomB,
                     &R::WorkTemperatureLow, &R::WorkTemperatureHigh, &R::PrefailureLife, {&R::UnomH, PlainEquality}},
        .identity = {&R::Marka, &R::Unom},
        .sortKeys = {&R::Unom, &R::Marka},
        .selectAll = R"(Select * from "TransformsVRef")",
        .selectByOwners = R"(Select * from "TransformsVRef" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "TransformsVRef" ("Indication","AccuracyClass","UnomB","UnomH","Unom","VoltageDrop","Manufacturer","PrefailureLife","WorkTemperatureLow","WorkTemperatureHigh") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10))",
        .updateSql = R"(UPDATE "TransformsVRef" set "Indication"=:p1,"AccuracyClass"=:p2,"UnomB"=:p3,"UnomH"=:p4,"Unom"=:p5,"VoltageDrop"=:p6,"Manufacturer"=:p7,"PrefailureLife"=:p8,"WorkTemperatureLow"=:p9,"WorkTemperatureHigh"=:p10 WHERE "Ident"=:11)",
        .deleteSql = R"(delete from "TransformsVRef" where "Ident"=:p1)",
        .params = {&R::Marka, &R::AccuracyClass, &R::UnomB, &R::UnomH, &R::Unom, &R::VoltageDrop, &R::Manufacturer,
                   &R::PrefailureLife, &R::WorkTemperatureLow, &R::WorkTemperatureHigh},
        .rules = {{&R::WorkTemperatureHigh, TemperatureRangeInOrder<R>}},
    };
    return category;
}

}  // namespace kelm
