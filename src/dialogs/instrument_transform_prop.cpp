#include "dialogs/instrument_transform_prop.h"

#include <QHBoxLayout>

#include "dialogs/accuracy_classes.h"
#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

const TInstrumentTransformProp::Shape kCurrentTransform{
    "TTransformsIRefProp",
    "Трансформатор тока",
    "Номинальное рабочее напряжение, кВ",
    "Номинальный первичный ток, А",
    "Номинальный вторичный ток, А",
    "Номинальная нагрузка, В·А",
    Keys::Digits,
};

const TInstrumentTransformProp::Shape kVoltageTransform{
    "TTransformsVRefProp",
    "Трансформатор напряжения",
    "Класс напряжения, кВ",
    "Номинальное напряжение первичной обмотки, В",
    "Номинальное напряжение вторичной обмотки, В",
    "Падение напряжения при трехкратной перегрузке  по отношению к предельной мощности для отпайки 127 В, не более %",
    Keys::Decimal,
};

}  // namespace

TInstrumentTransformProp::TInstrumentTransformProp(const DialogContext& context, const Shape& shape)
    : TPropertyDialog(context, shape.className, Utf8(shape.caption)), messages_(context.messages) {
    enum Row { RowUnom, RowMarka, RowClass, RowA, RowB, RowC, RowManufacturer, RowTemperature };
    Label1 = NewLabel("Label1", Utf8(shape.unomLabel));
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    AddRow(RowUnom, Label1, EditUnom);
    Label2 = NewLabel("Label2", Utf8("Обозначение"));
    EditMarka = NewEdit("EditMarka", EditUse::ShownBold);
    AddRow(RowMarka, Label2, EditMarka);
    Label12 = NewLabel("Label12", Utf8("Класс точности, %"));
    ComboBox1 = NewList("ComboBox1");
    AddRow(RowClass, Label12, ComboBox1);
    EditBox1 = NewStandBy(ComboBox1, "EditBox1");  // only shown, so no key filter
    LabelA = NewLabel("LabelA", Utf8(shape.aLabel));
    EditA = NewEdit("EditA", EditUse::Editable, shape.wholeKeys);
    AddRow(RowA, LabelA, EditA);
    LabelB = NewLabel("LabelB", Utf8(shape.bLabel));
    EditB = NewEdit("EditB", EditUse::Editable, shape.wholeKeys);
    AddRow(RowB, LabelB, EditB);
    LabelC = NewLabel("LabelC", Utf8(shape.cLabel));
    LabelC->setWordWrap(true);
    EditC = NewEdit("EditC", EditUse::Editable, Keys::Decimal);
    AddRow(RowC, LabelC, EditC);
    Label6 = NewLabel("Label6", Utf8("Изготовитель"));
    EditManufacturer = NewEdit("EditManufacturer");
    AddRow(RowManufacturer, Label6, EditManufacturer);

    Label11 = NewLabel("Label11", Utf8("Диапазон рабочих температур"));
    Label11->setWordWrap(true);
    Label13 = NewLabel("Label13", Utf8("от"));
    EditWorkTemperatureLow = NewEdit("EditWorkTemperatureLow", EditUse::Editable, Keys::Temperature);
    Label14 = NewLabel("Label14", Utf8("до"));
    EditWorkTemperatureHigh = NewEdit("EditWorkTemperatureHigh", EditUse::Editable, Keys::Temperature);
    // The unit °C: a small raised "о" before the "С".
    Label3 = NewLabel("Label3", Utf8("о"));
    QFont small = Label3->font();
    small.setPointSizeF(small.pointSizeF() * 0.7);
    Label3->setFont(small);
    Label3->setAlignment(Qt::AlignTop);
    Label4 = NewLabel("Label4", Utf8("С"));
    auto* range = new QHBoxLayout;
    const int narrow = EditWorkTemperatureLow->fontMetrics().horizontalAdvance("-0000") * 2;
    for (QLineEdit* bound : {EditWorkTemperatureLow, EditWorkTemperatureHigh}) bound->setFixedWidth(narrow);
    range->addWidget(Label13);
    range->addWidget(EditWorkTemperatureLow);
    range->addWidget(Label14);
    range->addWidget(EditWorkTemperatureHigh);
    range->addWidget(Label3);
    range->addWidget(Label4);
    range->addStretch();
    AddRow(RowTemperature, Label11, nullptr);
    Form->addLayout(range, RowTemperature, 1);
}

void TInstrumentTransformProp::FillClasses(std::int64_t accuracyClass) {
    const std::vector<ListedRow> classes = ReadAccuracyClasses(Database(), accuracyClass, *messages_);
    ShowListedRows(*ComboBox1, classes, accuracyClass);
    ClassIdents.clear();
    for (const ListedRow& row : classes) ClassIdents.push_back(static_cast<std::int32_t>(row.Ident));
    EditBox1->setText(ComboBox1->currentText());
}

InstrumentTransformEntries TInstrumentTransformProp::Entered() const {
    InstrumentTransformEntries e;
    e.ClassPosition = ComboBox1->currentIndex();
    e.A = EditA->text();
    e.B = EditB->text();
    e.C = EditC->text();
    e.Manufacturer = EditManufacturer->text();
    e.Low = EditWorkTemperatureLow->text();
    e.High = EditWorkTemperatureHigh->text();
    return e;
}

TTransformsIRefProp::TTransformsIRefProp(const DialogContext& context)
    : TInstrumentTransformProp(context, kCurrentTransform) {}

void TTransformsIRefProp::FillCells() {
    EditA->setText(EntryText::Whole(Record.I1nom));
    EditB->setText(EntryText::Whole(Record.I2nom));
    EditC->setText(Entries().OptionalNumber(Record.RatedLoad));
    FillShared(Record);
}

EntryCheck TTransformsIRefProp::FormCloseQuery() {
    return ReadCurrentTransformEntries(Entered(), ClassIdents, Record, Entries());
}

TTransformsVRefProp::TTransformsVRefProp(const DialogContext& context)
    : TInstrumentTransformProp(context, kVoltageTransform) {}

void TTransformsVRefProp::FillCells() {
    EditA->setText(EntryText::Whole(Record.UnomB));
    EditB->setText(Entries().Number(Record.UnomH));
    EditC->setText(Entries().OptionalNumber(Record.VoltageDrop));
    FillShared(Record);
}

EntryCheck TTransformsVRefProp::FormCloseQuery() {
    return ReadVoltageTransformEntries(Entered(), ClassIdents, Record, Entries());
}

}  // namespace kelm
