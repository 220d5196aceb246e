#pragma once
// What the meter dialog reads back on OK, as a plain function of the entered
// texts, the list positions, the chosen accuracy class and the dialog's own record.

#include <QString>

#include "catalogues/meters.h"
#include "dialogs/entry_text.h"
#include "dialogs/listed_rows.h"

namespace kelm {

// The boxes as the user left them; a list without a selection is at -1.
struct MeterEntries {
    QString UnomText, Manufacturer;
    int PowerPosition = -1;    // "активная", "реактивная", "активная/реактивная"
    int ReversePosition = -1;  // "одно", "два"
    QString RevoCount, NumberCount, CalibrationInterval, ServiceLife, Inom, TariffCount;
    QString WorkTemperatureLow, WorkTemperatureHigh;
    QString Sensitivity, Capacity, Pu, Si;
};

// `accuracyClass` is the chosen row of "MeterACs"; with none the entries are refused.
EntryCheck ReadMeterEntries(const MeterEntries& entries, const ListedRow* accuracyClass, TMetersRef& record,
                            const EntryText& text);

}  // namespace kelm
