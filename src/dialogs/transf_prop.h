#pragma once
// The property dialogs of power transformers: two-winding, three-winding,
// autotransformer (the three-winding layout over its own record) and
// split-winding. The type, rated voltage, rated power and winding voltages
// are shown in bold and cannot be changed; losses, currents, short-circuit
// values, winding powers and taps can.

#include "dialogs/property_dialog.h"
#include "dialogs/transform_entries.h"

namespace kelm {

// What the transformer dialogs share: the identity rows they start with, rows
// of boxes side by side, and filling and reading the boxes by their field table.
class TTransformDialog : public TPropertyDialog {
public:
    QLineEdit* EditUnom;
    QLineEdit* EditTypeTr;
    QLineEdit* EditSnom;
    QLineEdit* EditAddStr;

protected:
    // `identityKeys`: the filter of the rated voltage and rated power boxes.
    TTransformDialog(const DialogContext& context, const char* className, const QString& caption, Keys identityKeys);

    // The row after the identity rows.
    static constexpr int kFirstValueRow = 4;

    // A row whose value column holds several widgets side by side.
    void AddBoxes(int row, QLabel* label, std::initializer_list<QWidget*> boxes);
    // A regulation row: "±" tap count "Х" tap step "%".
    void AddTapRow(int row, QLabel* label, QLineEdit* count, QLineEdit* step);

    template <class R>
    void ShowFields(const std::vector<FieldEdit<R>>& edits, const R& record) {
        for (const FieldEdit<R>& edit : edits) Box(edit.edit)->setText(ShownText(edit, record, Entries()));
        EditTypeTr->setText(TypeWithPower(record.Marka, record.Snom, Entries()));
    }
    template <class R>
    EditTexts Entered(const std::vector<FieldEdit<R>>& edits) const {
        EditTexts texts;
        for (const FieldEdit<R>& edit : edits) texts.insert(edit.edit, Box(edit.edit)->text());
        return texts;
    }

private:
    QLineEdit* Box(const char* name) const;
};

class TTransfProp : public TTransformDialog {
public:
    explicit TTransfProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TTransform Record;  // the dialog's own copy of the element

    QLineEdit* EditUkz;
    QLineEdit* EditPxx;
    QLineEdit* EditPkz;
    QLineEdit* EditIxx;
    QLineEdit* EditUhv;
    QLineEdit* EditUlv;
    QLineEdit* EditNumberOtp;
    QLineEdit* EditDeltaUotp;
};

// The layout, filling and checks of the three-winding and autotransformer
// dialogs, over the values both kinds of record carry.
class TThreeWindingProp : public TTransformDialog {
public:
    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    QLineEdit* EditUB;
    QLineEdit* EditUC;
    QLineEdit* EditUH;
    QLineEdit* EditPxx;
    QLineEdit* EditIxx;
    QLineEdit* EditPkzVC;
    QLineEdit* EditPkzVN;
    QLineEdit* EditPkzCN;
    QLineEdit* EditUkzVC;
    QLineEdit* EditUkzVN;
    QLineEdit* EditUkzCN;
    QLineEdit* EditNumberOtpB;
    QLineEdit* EditDeltaUotpB;
    QLineEdit* EditNumberOtpC;
    QLineEdit* EditDeltaUotpC;
    QLineEdit* EditSB;
    QLineEdit* EditSC;
    QLineEdit* EditSH;

protected:
    TThreeWindingProp(const DialogContext& context, const char* className, const QString& caption);
    // The dialog's own record.
    virtual TTransform3Values& Values() = 0;
};

class TTransfProp3 : public TThreeWindingProp {
public:
    explicit TTransfProp3(const DialogContext& context);
    TTransform3 Record;

protected:
    TTransform3Values& Values() override { return Record; }
};

class TTransfPropA : public TThreeWindingProp {
public:
    explicit TTransfPropA(const DialogContext& context);
    TTransformA Record;

protected:
    TTransform3Values& Values() override { return Record; }
};

class TTransfPropSS : public TTransformDialog {
public:
    explicit TTransfPropSS(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TTransformSS Record;

    QLineEdit* EditUnomB;
    QLineEdit* EditUnomH1;
    QLineEdit* EditUnomH2;
    QLineEdit* EditPxx;
    QLineEdit* EditPkz;
    QLineEdit* EditIxx;
    QLineEdit* EditUkBH;
    QLineEdit* EditUkHH;
    QLineEdit* EditNumberOtp;
    QLineEdit* EditDeltaUotp;
};

}  // namespace kelm
