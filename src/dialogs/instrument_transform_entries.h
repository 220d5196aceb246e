#pragma once
// What the instrument transformer dialogs read back on OK, as plain functions
// of the entered texts and the dialog's own record.

#include <QString>
#include <cstdint>
#include <vector>

#include "catalogues/instrument_transforms.h"
#include "dialogs/entry_text.h"

namespace kelm {

// The texts of the dialogs' editable boxes and the chosen accuracy class.
struct InstrumentTransformEntries {
    int ClassPosition = -1;  // position chosen in the class list; -1 when it is empty
    QString A, B, C;         // EditA, EditB, EditC
    QString Manufacturer;
    QString Low, High;       // the working temperature range
};

// The current transformer: I1nom, I2nom (whole), RatedLoad (optional).
EntryCheck ReadCurrentTransformEntries(const InstrumentTransformEntries& entries,
                                       const std::vector<std::int32_t>& ClassIdents, TTransformsIRef& record,
                                       const EntryText& text);
// The voltage transformer: UnomB (whole), UnomH, VoltageDrop (optional).
EntryCheck ReadVoltageTransformEntries(const InstrumentTransformEntries& entries,
                                       const std::vector<std::int32_t>& ClassIdents, TTransformsVRef& record,
                                       const EntryText& text);

}  // namespace kelm
