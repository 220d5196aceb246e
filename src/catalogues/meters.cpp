#include "catalogues/meters.h"

namespace kelm {

const Category<TMetersRef>& MetersRefsCategory() {
    using R = TMetersRef;
    static const Category<R> category{
        .collectionClass = "TMetersRefs",
        .collectionElement = "KelmMetersRefs",
        .recordElement = "KelmMetersRef",
        // A blank Manufacturer or voltage text goes to the database as NULL.
        .fields = {
            {"Marka", &R::Marka, "Indication"},
            {"Ident", &R::Ident, "Ident"},
            {"Unom", &R::UnomText, "Unom", Optional},
            {"Power", &R::Power, "Power"},
            {"Reverse", &R::Reverse, "Reverse"},
            {"AccuracyClass", &R::AccuracyClass, "AccuracyClass"},
            {"RevoCount", &R::RevoCount, "RevoCount", Optional},
            {"NumberCount", &R::NumberCount, "NumberCount", Optional},
            {"CalibrationInterval", &R::CalibrationInterval, "CalibrationInterval", Optional},
            {"ServiceLife", &R::ServiceLife, "ServiceLife", Optional},
            {"Manufacturer", &R::Manufacturer, "Manufacturer", Optional},
            {"Inom", &R::Inom, "Inom", Optional},
            {"TariffCount", &R::TariffCount, "TariffCount", Optional},
            {"WorkTemperatureLow", &R::WorkTemperatureLow, "WorkTemperatureLow", Optional},
            {"WorkTemperatureHigh", &R::WorkTemperatureHigh, "WorkTemperatureHigh", Optional},
            {"Sensitivity", &R::Sensitivity, "Sensitivity", Optional},
            {"Capacity", &R::Capacity, "Capacity", Optional},
            {"Pu", &R::Pu, "Pu", Optional},
            {"Si", &R::Si, "Si", Optional},
            {"PrefailureLife", &R::PrefailureLife, "PrefailureLife", Optional},
        },
        .compared = {&R::Marka, &R::UnomText, &R::Power, &R::Reverse, &R::AccuracyClass, &R::RevoCount,
                     &R::NumberCount, &R::CalibrationInterval, &R::ServiceLife, &R::Manufacturer, &R::Inom,
                     &R::TariffCount, &R::WorkTemperatureLow, &R::WorkTemperatureHigh, &R::Sensitivity,
                     &R::Capacity, &R::Pu, &R::Si, &R::PrefailureLife},
        // Meters keep the voltage as text, so they sort as text.
        .filteredByVoltage = false,
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
        // The mark is cleared before the delete, so a failed delete keeps the record, unmarked.
    };
    return category;
}

}  // namespace kelm
