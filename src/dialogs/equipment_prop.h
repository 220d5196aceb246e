#pragma once
// The rated-value dialogs of station equipment. TPropMin shows a rated value
// and losses (busbars, compensators, capacitor banks), TProp adds the rated
// current (shunt reactors), TRazrProp keeps only the losses (arresters,
// suppressors). The opener fills their boxes and stores what their check read.
// TReactorProp (current-limiting reactors) works on a record of its own.

#include "catalogues/current_limit_reactors.h"
#include "dialogs/equipment_entries.h"
#include "dialogs/property_dialog.h"

namespace kelm {

class TPropMin : public TPropertyDialog {
public:
    TPropMin(const DialogContext& context, EquipmentKind PropKind);

    // Checks the boxes; on success Values holds what they read.
    EntryCheck FormCloseQuery() override;

    // The mark box, wider than the value boxes already, by `pixels` more.
    void WidenMark(int pixels);

    const EquipmentKind PropKind;  // the category shown, which sets the limits
    RatedValues Values;

    QLabel* Label1;
    QLineEdit* EditUnom;
    QLabel* Label2;
    QLineEdit* EditMarka;
    QLabel* LabelSnom;
    QLineEdit* EditSnom;
    QLabel* LabelDp;
    QLineEdit* EditDp;

protected:
    TPropMin(const DialogContext& context, const char* className, const QString& caption, EquipmentKind PropKind,
             Keys ratedKeys = Keys::Decimal);
    RatedEntries Entered() const;

    // The rated current's row lies between the rated value and the losses.
    enum Row { RowUnom, RowMarka, RowSnom, RowInom, RowDp, RowDouble };
};

class TProp : public TPropMin {
public:
    explicit TProp(const DialogContext& context);

    EntryCheck FormCloseQuery() override;

    QLabel* LabelInom;
    QLineEdit* EditInom;

protected:
    TProp(const DialogContext& context, const char* className, const QString& caption,
          Keys ratedKeys = Keys::Decimal);
};

class TRazrProp : public TProp {
public:
    explicit TRazrProp(const DialogContext& context);

    // Only the losses: Values.Dp.
    EntryCheck FormCloseQuery() override;
};

class TReactorProp : public TProp {
public:
    explicit TReactorProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TCurrentLimitReactorsRef Record;  // the dialog's own copy of the element

    QLabel* Label3;
    QComboBox* ComboBox1;  // "Нет" / "Да": position = IsDouble
    QLineEdit* EditDouble;
};

}  // namespace kelm
