#pragma once
// The property dialog of an electricity meter ("Счетчик"): three lists, one
// of them the accuracy classes of the meter's type from "MeterACs" of the
// connected database, and a working temperature range.

#include <vector>

#include "catalogues/meters.h"
#include "dialogs/listed_rows.h"
#include "dialogs/meter_entries.h"
#include "dialogs/property_dialog.h"

namespace kelm {

class TMetersRefProp : public TPropertyDialog {
public:
    explicit TMetersRefProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TMetersRef Record;  // the dialog's own copy of the element

    QLineEdit* EditUnom;
    QLineEdit* EditMarka;
    QComboBox* ComboPower;
    QComboBox* ComboReverse;
    QComboBox* ComboBox1;  // accuracy classes
    QLineEdit* EditPower;  // the lists as text, over them in the read-only view
    QLineEdit* EditReverse;
    QLineEdit* EditBox1;
    QLineEdit* EditRevoCount;
    QLineEdit* EditNumberCount;
    QLineEdit* EditCalibrationInterval;
    QLineEdit* EditServiceLife;
    QLineEdit* EditManufacturer;
    QLineEdit* EditInom;
    QLineEdit* EditTariffCount;
    QLineEdit* EditWorkTemperatureLow;
    QLineEdit* EditWorkTemperatureHigh;
    QLineEdit* EditSensitivity;
    QLineEdit* EditCapacity;
    QLineEdit* EditPu;
    QLineEdit* EditSi;

private:
    MeterEntries Entered() const;

    std::vector<ListedRow> classes_;  // one per entry of ComboBox1
    WorkbenchDialogs* messages_;
};

}  // namespace kelm
