#pragma once
// The dialogs of current transformers ("Трансформатор тока") and voltage
// transformers ("Трансформатор напряжения"): the same boxes with other
// captions, each working on a record of its own. The accuracy classes offered
// are those of the meter type of the record's present class.

#include <cstdint>
#include <vector>

#include "catalogues/instrument_transforms.h"
#include "dialogs/instrument_transform_entries.h"
#include "dialogs/property_dialog.h"

namespace kelm {

class TInstrumentTransformProp : public TPropertyDialog {
public:
    // What tells the two dialogs apart on screen.
    struct Shape {
        const char* className;
        const char* caption;
        const char* unomLabel;
        const char* aLabel;
        const char* bLabel;
        const char* cLabel;
        Keys wholeKeys;  // EditBox1, EditA and EditB
    };

    QLabel* Label1;
    QLineEdit* EditUnom;
    QLabel* Label2;
    QLineEdit* EditMarka;
    QLabel* Label12;
    QComboBox* ComboBox1;  // the accuracy classes
    QLineEdit* EditBox1;   // the chosen class in the read-only view
    QLabel* LabelA;
    QLineEdit* EditA;
    QLabel* LabelB;
    QLineEdit* EditB;
    QLabel* LabelC;
    QLineEdit* EditC;
    QLabel* Label6;
    QLineEdit* EditManufacturer;
    QLabel* Label11;
    QLabel* Label13;
    QLineEdit* EditWorkTemperatureLow;
    QLabel* Label14;
    QLineEdit* EditWorkTemperatureHigh;
    QLabel* Label3;
    QLabel* Label4;

    std::vector<std::int32_t> ClassIdents;  // "Ident" of each entry of ComboBox1

protected:
    TInstrumentTransformProp(const DialogContext& context, const Shape& shape);

    // The boxes both dialogs fill alike; EditA, EditB and EditC are the caller's.
    template <class R>
    void FillShared(const R& record);
    InstrumentTransformEntries Entered() const;

private:
    void FillClasses(std::int64_t accuracyClass);
    WorkbenchDialogs* messages_;
};

class TTransformsIRefProp : public TInstrumentTransformProp {
public:
    explicit TTransformsIRefProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TTransformsIRef Record;  // the dialog's own copy of the element
};

class TTransformsVRefProp : public TInstrumentTransformProp {
public:
    explicit TTransformsVRefProp(const DialogContext& context);

    void FillCells() override;
    EntryCheck FormCloseQuery() override;

    TTransformsVRef Record;  // the dialog's own copy of the element
};

template <class R>
void TInstrumentTransformProp::FillShared(const R& record) {
    EditMarka->setText(EntryText::Text(record.Marka));
    EditUnom->setText(Entries().Number(record.Unom));
    EditManufacturer->setText(EntryText::Text(record.Manufacturer));
    EditWorkTemperatureLow->setText(EntryText::OptionalWhole(record.WorkTemperatureLow));
    EditWorkTemperatureHigh->setText(EntryText::OptionalWhole(record.WorkTemperatureHigh));
    FillClasses(record.AccuracyClass);
}

}  // namespace kelm
