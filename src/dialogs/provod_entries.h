#pragma once
// What the line and cable dialogs read back on OK, as plain functions of the
// entered texts and the dialog's own record.

#include <QString>

#include "catalogues/provods.h"
#include "dialogs/entry_text.h"

namespace kelm {

// The texts of the dialogs' editable boxes, as the user left them.
struct ProvodEntries {
    QString F, R0, X0, B0, Idop, G0, AddStr;
    // The cable dialog's loss factor and null-conductor column.
    QString TgDelta, CabF, CabR0, CabX0, CabB0, CabIdop;
};

// Whether the dialogs show the null conductor's own values: a low-voltage
// record that has them. Otherwise the null column repeats the phase column.
bool ShowsOwnNullConductor(const TProvod& record);

// The line dialog: the phase values, also taken as the null conductor's.
EntryCheck ReadLineEntries(const ProvodEntries& entries, TProvod& record, const EntryText& text);
// The cable dialog: the phase values and, below 1 kV, the null column.
EntryCheck ReadCableEntries(const ProvodEntries& entries, TProvod& record, const EntryText& text);

}  // namespace kelm
