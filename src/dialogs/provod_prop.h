#pragma once
// The property dialogs of lines ("Провод") and of low-voltage cables
// ("Кабель"), which add the loss factor and a column for the null conductor.

#include "catalogues/provods.h"
#include "dialogs/property_dialog.h"
#include "dialogs/provod_entries.h"

namespace kelm {

class TProvodProp : public TPropertyDialog {
public:
    explicit TProvodProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TProvod Record;  // the dialog's own copy of the element

    QLineEdit* EditUnom;
    QLineEdit* EditMarka;
    QLineEdit* EditType;
    QLineEdit* EditF;
    QLineEdit* EditR0;
    QLineEdit* EditX0;
    QLineEdit* EditB0;
    QLineEdit* EditIdop;
    QLineEdit* EditG0;
    QLineEdit* EditAddStr;

protected:
    TProvodProp(const DialogContext& context, const char* className, const QString& caption);
    // The texts of the editable boxes.
    virtual ProvodEntries Entered() const;

    // The form's rows; the cable dialog fills the ones the line dialog leaves empty.
    enum Row { RowUnom, RowMarka, RowType, RowColumns, RowF, RowResistance, RowR0, RowX0, RowB0, RowIdop,
               RowG0, RowTgDelta, RowNumFaz, RowAddStr };
};

class TCabelProp : public TProvodProp {
public:
    explicit TCabelProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    QLineEdit* EdittgDelta;
    QLineEdit* EditNumFaz;
    QLineEdit* EditCabF;
    QLineEdit* EditCabR0;
    QLineEdit* EditCabX0;
    QLineEdit* EditCabB0;
    QLineEdit* EditCabIdop;

protected:
    ProvodEntries Entered() const override;
};

// The opener of "TProvod": the cable dialog for a low-voltage cable, the line dialog otherwise.
bool OpenProvodDialog(TBaseElement& record, bool readOnly, DialogContext& context);

}  // namespace kelm
