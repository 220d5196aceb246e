#include "dialogs/provod_prop.h"

#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

const char* kLossFactorHint = "Тангенс угла диэлектрических потерь кабеля";

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TProvodProp::TProvodProp(const DialogContext& context) : TProvodProp(context, "TProvodProp", Utf8("Провод")) {}

TProvodProp::TProvodProp(const DialogContext& context, const char* className, const QString& caption)
    : TPropertyDialog(context, className, caption) {
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    EditMarka = NewEdit("EditMarka", EditUse::ShownBold);
    EditType = NewEdit("EditType", EditUse::Shown);
    EditF = NewEdit("EditF", EditUse::Shown, Keys::Decimal);
    EditR0 = NewEdit("EditR0", EditUse::Editable, Keys::Decimal);
    EditX0 = NewEdit("EditX0", EditUse::Editable, Keys::Decimal);
    EditB0 = NewEdit("EditB0", EditUse::Editable, Keys::Decimal);
    EditIdop = NewEdit("EditIdop", EditUse::Editable, Keys::Digits);
    EditG0 = NewEdit("EditG0", EditUse::Editable, Keys::Decimal);
    EditAddStr = NewEdit("EditAddStr");

    AddRow(RowUnom, NewLabel("LabelUnom", Utf8("Номинальное напряжение, кВ")), EditUnom);
    AddRow(RowMarka, NewLabel("LabelMarka", Utf8("Марка")), nullptr);
    Form->addWidget(EditMarka, RowMarka, 1, 1, 2);
    AddRow(RowType, NewLabel("LabelType", Utf8("Тип линии")), nullptr);
    Form->addWidget(EditType, RowType, 1, 1, 2);
    AddRow(RowF, NewLabel("LabelF", Utf8("Сечение, мм<sup>2</sup>")), EditF);
    Form->addWidget(NewLabel("LabelResistance", Utf8("Удельное сопротивление, Ом/км:")), RowResistance, 0, 1, 3);
    AddRow(RowR0, NewLabel("LabelR0", Utf8("Активное")), EditR0);
    AddRow(RowX0, NewLabel("LabelX0", Utf8("Реактивное")), EditX0);
    QLabel* labelB0 = NewLabel("LabelB0", Utf8("Проводимость, мкСм/км"));
    labelB0->setToolTip(Utf8("Удельная реактивная проводимость на землю"));
    EditB0->setToolTip(labelB0->toolTip());
    AddRow(RowB0, labelB0, EditB0);
    AddRow(RowIdop, NewLabel("LabelIdop", Utf8("Допустимый ток, А")), EditIdop);
    QLabel* labelG0 = NewLabel("LabelG0", Utf8("Go, гк/км"));
    labelG0->setToolTip(Utf8(kLossFactorHint));
    EditG0->setToolTip(labelG0->toolTip());
    AddRow(RowG0, labelG0, EditG0);
    AddRow(RowAddStr, NewLabel("LabelAddStr", Utf8("Дополнительная информация")), nullptr);
    Form->addWidget(EditAddStr, RowAddStr, 1, 1, 2);
}

void TProvodProp::FillCells() {
    const EntryText& text = Entries();
    EditMarka->setText(EntryText::Text(Record.Marka) + "-" + text.Number(Record.F));
    EditAddStr->setText(EntryText::Text(Record.AddStr));
    EditType->setText(EntryText::Text(Record.Name));
    EditF->setText(text.Number(Record.F));
    EditR0->setText(text.Number(Record.R0));
    EditX0->setText(text.Number(Record.X0));
    EditIdop->setText(EntryText::Whole(Record.Idop));
    EditUnom->setText(text.Number(Record.Unom));
    EditB0->setText(text.OptionalNumber(Record.B0));
    EditG0->setText(text.OptionalNumber(Record.G0));
}

ProvodEntries TProvodProp::Entered() const {
    ProvodEntries e;
    e.F = EditF->text();
    e.R0 = EditR0->text();
    e.X0 = EditX0->text();
    e.B0 = EditB0->text();
    e.Idop = EditIdop->text();
    e.G0 = EditG0->text();
    e.AddStr = EditAddStr->text();
    return e;
}

EntryCheck TProvodProp::FormCloseQuery() { return ReadLineEntries(Entered(), Record, Entries()); }

TCabelProp::TCabelProp(const DialogContext& context) : TProvodProp(context, "TCabelProp", Utf8("Кабель")) {
    EdittgDelta = NewEdit("EdittgDelta", EditUse::Editable, Keys::Decimal);
    EditNumFaz = NewEdit("EditNumFaz", EditUse::Shown, Keys::Decimal);
    EditCabF = NewEdit("EditCabF", EditUse::Shown, Keys::Decimal);
    EditCabR0 = NewEdit("EditCabR0", EditUse::Editable, Keys::Decimal);
    EditCabX0 = NewEdit("EditCabX0", EditUse::Editable, Keys::Decimal);
    EditCabB0 = NewEdit("EditCabB0", EditUse::Editable, Keys::Decimal);
    EditCabIdop = NewEdit("EditCabIdop", EditUse::Editable, Keys::Digits);

    Form->addWidget(NewLabel("LabelPhase", Utf8("Фаза")), RowColumns, 1, Qt::AlignHCenter);
    Form->addWidget(NewLabel("LabelNull", Utf8("Ноль")), RowColumns, 2, Qt::AlignHCenter);
    AddRow(RowF, nullptr, EditCabF, 2);
    AddRow(RowR0, nullptr, EditCabR0, 2);
    AddRow(RowX0, nullptr, EditCabX0, 2);
    AddRow(RowB0, nullptr, EditCabB0, 2);
    AddRow(RowIdop, nullptr, EditCabIdop, 2);
    QLabel* labelTgDelta = NewLabel("LabeltgDelta", Utf8("tg&delta;, кВт/квар"));
    labelTgDelta->setTextFormat(Qt::RichText);
    labelTgDelta->setToolTip(Utf8(kLossFactorHint));
    EdittgDelta->setToolTip(labelTgDelta->toolTip());
    AddRow(RowTgDelta, labelTgDelta, EdittgDelta);
    AddRow(RowNumFaz, NewLabel("LabelNumFaz", Utf8("Количество фаз")), EditNumFaz);

    // The tab order follows the rows: phase and null value of a row side by side.
    setTabOrder(EditR0, EditCabR0);
    setTabOrder(EditCabR0, EditX0);
    setTabOrder(EditX0, EditCabX0);
    setTabOrder(EditCabX0, EditB0);
    setTabOrder(EditB0, EditCabB0);
    setTabOrder(EditCabB0, EditIdop);
    setTabOrder(EditIdop, EditCabIdop);
    setTabOrder(EditCabIdop, EditG0);
    setTabOrder(EditG0, EdittgDelta);
    setTabOrder(EdittgDelta, EditAddStr);
}

void TCabelProp::FillCells() {
    TProvodProp::FillCells();
    const EntryText& text = Entries();
    EdittgDelta->setText(text.OptionalNumber(Record.TgDelta));
    EditNumFaz->setText(EntryText::Whole(Record.NumberPhases));
    if (ShowsOwnNullConductor(Record)) {
        EditCabF->setText(text.Number(Record.PhaseNull_F));
        EditCabR0->setText(text.Number(Record.PhaseNull_R0));
        EditCabX0->setText(text.Number(Record.PhaseNull_X0));
        EditCabIdop->setText(EntryText::Whole(Record.PhaseNull_Idop));
        EditCabB0->setText(text.OptionalNumber(Record.PhaseNull_B0));
    } else {
        const std::pair<QLineEdit*, QLineEdit*> phaseAndNull[] = {
            {EditF, EditCabF}, {EditR0, EditCabR0}, {EditX0, EditCabX0}, {EditIdop, EditCabIdop}, {EditB0, EditCabB0}};
        for (const auto& [phase, null] : phaseAndNull) null->setText(phase->text());
    }
}

ProvodEntries TCabelProp::Entered() const {
    ProvodEntries e = TProvodProp::Entered();
    e.TgDelta = EdittgDelta->text();
    e.CabF = EditCabF->text();
    e.CabR0 = EditCabR0->text();
    e.CabX0 = EditCabX0->text();
    e.CabB0 = EditCabB0->text();
    e.CabIdop = EditCabIdop->text();
    return e;
}

EntryCheck TCabelProp::FormCloseQuery() { return ReadCableEntries(Entered(), Record, Entries()); }

bool OpenProvodDialog(TBaseElement& record, bool readOnly, DialogContext& context) {
    auto* line = dynamic_cast<TProvod*>(&record);
    if (line && IsLowVoltageCable(*line)) return OpenOwnRecordDialog<TCabelProp>(record, readOnly, context);
    return OpenOwnRecordDialog<TProvodProp>(record, readOnly, context);
}

}  // namespace kelm
