#pragma once
// What the switching device dialog reads back on OK, as a plain function of
// the entered texts, the chosen type and the dialog's own record.

#include <QString>

#include "catalogues/switch_gr.h"
#include "dialogs/entry_text.h"
#include "dialogs/listed_rows.h"

namespace kelm {

// The texts of the dialog's boxes, as the user left them.
struct SwitchGREntries {
    QString Unom, AddStr, Inom, Ioff, Id, It, Toff, Ton;
};

// `type` is the chosen row of "SwitchGN", or none when the type list had no
// rows: the device then keeps its type.
EntryCheck ReadSwitchGREntries(const SwitchGREntries& entries, const ListedRow* type, TSwitchGR& record,
                               const EntryText& text);

}  // namespace kelm
