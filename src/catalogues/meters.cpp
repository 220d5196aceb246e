#include "catalogues/meters.h"

namespace kelm {
namespace {

constexpr ChoiceItem kMeasured[] = {{1, "активная"}, {2, "реактивная"}, {3, "активная/реактивная"}};
constexpr ChoiceItem kDirections[] = {{0, "одно"}, {1, "два"}};

}  // namespace

const Category<TMetersRef>& MetersRefsCategory() {
    using R = TMetersRef;
    static const Category<R> category{
        .collectionClass = "TMetersRefs",
        .collectionElement = "KelmMetersRefs",
        .recordElement = "KelmMetersRef",
        // A blank Manufacturer or voltage text goes to the database as NULL.
        .fields = {
            {"Marka", &R::Marka, "Indication", "Обозначение"},
            {"Ident", &R::Ident, "Ident", "Идентификатор", RowId},
            {"Unom", &R::UnomText, "Unom", "Номинальное напряжение, кВ", Optional},
            {"Power", &R::Power, "Power", "Измерение", 0, {}, kMeasured},
            {"Reverse", &R::Reverse, "Reverse", "Направление", 0, {}, kDirections},
            {"AccuracyClass", &R::AccuracyClass, "AccuracyClass", "Класс точности, %"},
            {"RevoCount", &R::RevoCount, "RevoCount", "Количество оборотов на 1кВт.ч", Optional},
            {"NumberCount", &R::NumberCount, "NumberCount", "Количество цифр счетного механизма", Optional},
            {"CalibrationInterval", &R::CalibrationInterval, "CalibrationInterval", "Межповерочный интервал, лет", Optional},
            {"ServiceLife", &R::ServiceLife, "ServiceLife", "Средний срок службы, лет", Optional},
            {"Manufacturer", &R::Manufacturer, "Manufacturer", "Изготовитель", Optional},
            {"Inom", &R::Inom, "Inom", "Номинальный ток, А", Optional},
            {"TariffCount", &R::TariffCount, "TariffCount", "Количество тарифов", Optional},
            {"WorkTemperatureLow", &R::WorkTemperatureLow, "WorkTemperatureLow", "Диапазон рабочих температур от, °С", Optional},
            {"WorkTemperatureHigh", &R::WorkTemperatureHigh, "WorkTemperatureHigh", "Диапазон рабочих температур до, °С", Optional},
            {"Sensitivity", &R::Sensitivity, "Sensitivity", "Чувствительность", Optional, Below(100)},
            {"Capacity", &R::Capacity, "Capacity", "Полная мощность, потребляемая цепью, не более, В·А", Optional, Below(1000)},
            {"Pu", &R::Pu, "Pu", "Активная мощность, потребляемая цепью напряжения, не более, Вт", Optional, Below(1000)},
            {"Si", &R::Si, "Si", "Полная мощность, потребляемая цепью тока, не более, В·А", Optional, Below(1000)},
            {"PrefailureLife", &R::PrefailureLife, "PrefailureLife", "Средняя наработка на отказ", Optional},
        },
        .compared = {&R::Marka, &R::UnomText, &R::Power, &R::Reverse, &R::AccuracyClass, &R::RevoCount,
                     &R::NumberCount, &R::CalibrationInterval, &R::ServiceLife, &R::Manufacturer, &R::Inom,
                     &R::TariffCount, &R::WorkTemperatureLow, &R::WorkTemperatureHigh, &R::Sensitivity,
                     &R::Capacity, &R::Pu, &R::Si, &R::PrefailureLife},
        // Meters keep the voltage as text, so they sort as text.
        .filteredByVoltage = false,
        .identity = {&R::Marka, &R::UnomText},
        .sortKeys = {&R::UnomText, &R::Marka},
        .labelNumber = std::nullopt,  // the label holds the voltage text and no number
        .labelVoltage = &R::UnomText,
        .selectAll = R"(Select * from "MetersRef")",
        // Meters are not tied to network objects: the owners' meters are none.
        .selectByOwners = R"(Select * from "MetersRef" WHERE 1=0)",
        .insertSql = R"(INSERT INTO "MetersRef" ("Indication","Power","Reverse","AccuracyClass","RevoCount","NumberCount","CalibrationInterval","ServiceLife","Manufacturer","Inom","Unom","TariffCount","WorkTemperatureLow","WorkTemperatureHigh","Sensitivity","Capacity","Pu","Si","PrefailureLife") VALUES (:p1,:p2,:p3,:p4,:p5,:p6,:p7,:p8,:p9,:p10,:p11,:p12,:p13,:p14,:p15,:p16,:p17,:p18,:p19))",
        .updateSql = R"(UPDATE "MetersRef" set "Indication"=:p1,"Power"=:p2,"Reverse"=:p3,"AccuracyClass"=:p4,"RevoCount"=:p5,"NumberCount"=:p6,"CalibrationInterval"=:p7,"ServiceLife"=:p8,"Manufacturer"=:p9,"Inom"=:p10,"Unom"=:p11,"TariffCount"=:p12,"WorkTemperatureLow"=:p13,"WorkTemperatureHigh"=:p14,"Sensitivity"=:p15,"Capacity"=:p16,"Pu"=:p17,"Si"=:p18,"PrefailureLife"=:p19 WHERE "Ident"=:20)",
        .deleteSql = R"(delete from "MetersRef" where "Ident"=:p1)",
        .params = {&R::Marka, &R::Power, &R::Reverse, &R::AccuracyClass, &R::RevoCount, &R::NumberCount,
                   &R::CalibrationInterval, &R::ServiceLife, &R::Manufacturer, &R::Inom, &R::UnomText,
                   &R::TariffCount, &R::WorkTemperatureLow, &R::WorkTemperatureHigh, &R::Sensitivity,
                   &R::Capacity, &R::Pu, &R::Si, &R::PrefailureLife},
        .rules = {{&R::WorkTemperatureHigh, TemperatureRangeInOrder<R>}},
        // The mark is cleared before the delete, so a failed delete keeps the record, unmarked.
    };
    return category;
}

}  // namespace kelm
