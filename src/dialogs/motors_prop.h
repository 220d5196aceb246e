#pragma once
// The dialog of synchronous and asynchronous motors: the rated power shown,
// the running values editable, and the slip only for an asynchronous motor.
// The opener fills its boxes and stores what its check read.

#include "dialogs/equipment_entries.h"
#include "dialogs/property_dialog.h"

namespace kelm {

class TMotors : public TPropertyDialog {
public:
    TMotors(const DialogContext& context, bool IsAsync);

    // Checks the boxes; on success Values holds what they read.
    EntryCheck FormCloseQuery() override;

    const bool IsAsync;  // an asynchronous motor, which has a slip
    MotorValues Values;

    QLabel* Label1;
    QLineEdit* EditUnom;
    QLabel* Label2;
    QLineEdit* EditMarka;
    QLabel* LabelSnom;
    QLineEdit* EditPnom;
    QLabel* Label4;
    QLineEdit* EditPerfomance;
    QLabel* Label3;
    QLineEdit* EditCosFi;
    QLabel* Label8;
    QLineEdit* EditN;
    QLabel* LabelSlipe;
    QLineEdit* EditSlipe;
};

}  // namespace kelm
