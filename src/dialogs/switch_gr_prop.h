#pragma once
// The property dialog of a switching device ("Коммутационный аппарат"): its
// type is picked from the type table "SwitchGN" of the connected database.

#include <vector>

#include "catalogues/switch_gr.h"
#include "dialogs/listed_rows.h"
#include "dialogs/property_dialog.h"
#include "dialogs/switch_gr_entries.h"

namespace kelm {

class TSwitchGRProp : public TPropertyDialog {
public:
    explicit TSwitchGRProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TSwitchGR Record;  // the dialog's own copy of the element

    QLineEdit* EditUnom;
    QLineEdit* EditMarka;
    QComboBox* ComboBox1;  // "Вид": the device type
    QLineEdit* EditKind;   // the type as text, over the list in the read-only view
    QLineEdit* EditAddStr;
    QLineEdit* EditInom;
    QLineEdit* EditIoff;
    QLineEdit* EditId;
    QLineEdit* EditIt;
    QLineEdit* EditToff;
    QLineEdit* EditTon;

private:
    SwitchGREntries Entered() const;

    // One per entry of ComboBox1. Empty when "SwitchGN" has no rows or cannot
    // be read; the list then shows the device's own type name.
    std::vector<ListedRow> types_;
};

}  // namespace kelm
