#include "dialogs/equipment_prop.h"

#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// How far the mark box reaches beyond the value boxes: marks such as
// "РОМ-110000/500-110" or a reactor's "РБСДГ-10-2х2500-0,20У3" show whole.
constexpr int kMarkReach = 90;

}  // namespace

TPropMin::TPropMin(const DialogContext& context, EquipmentKind PropKind)
    : TPropMin(context, "TPropMin", QString(), PropKind) {}

TPropMin::TPropMin(const DialogContext& context, const char* className, const QString& caption,
                   EquipmentKind PropKind, Keys ratedKeys)
    : TPropertyDialog(context, className, caption), PropKind(PropKind) {
    Label1 = NewLabel("Label1", Utf8("Номинальное напряжение, кВ"));
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    Label2 = NewLabel("Label2", Utf8("Марка"));
    EditMarka = NewEdit("EditMarka", EditUse::ShownBold);
    LabelSnom = NewLabel("LabelSnom", Utf8("Номинальная мощность, МВА"));
    EditSnom = NewEdit("EditSnom", EditUse::Editable, ratedKeys);
    LabelDp = NewLabel("LabelDp", Utf8("Потери активной мощности, кВт"));
    EditDp = NewEdit("EditDp", EditUse::Editable, Keys::Decimal);

    AddRow(RowUnom, Label1, EditUnom);
    AddRow(RowMarka, Label2, nullptr);
    Form->addWidget(EditMarka, RowMarka, 1, 1, 2);
    Form->setColumnMinimumWidth(2, kMarkReach);
    AddRow(RowSnom, LabelSnom, EditSnom);
    AddRow(RowDp, LabelDp, EditDp);
}

void TPropMin::WidenMark(int pixels) { Form->setColumnMinimumWidth(2, kMarkReach + pixels); }

RatedEntries TPropMin::Entered() const { return {EditSnom->text(), QString(), EditDp->text()}; }

EntryCheck TPropMin::FormCloseQuery() { return ReadRatedEntries(PropKind, Entered(), Values, Entries()); }

TProp::TProp(const DialogContext& context) : TProp(context, "TProp", QString()) {}

TProp::TProp(const DialogContext& context, const char* className, const QString& caption, Keys ratedKeys)
    : TPropMin(context, className, caption, EquipmentKind::ShuntReactor, ratedKeys) {
    LabelInom = NewLabel("LabelInom", Utf8("Номинальный ток, А"));
    EditInom = NewEdit("EditInom", EditUse::Editable, Keys::Decimal);
    AddRow(RowInom, LabelInom, EditInom);
    setTabOrder(EditSnom, EditInom);
    setTabOrder(EditInom, EditDp);
}

EntryCheck TProp::FormCloseQuery() {
    RatedEntries entries = Entered();
    entries.Inom = EditInom->text();
    return ReadShuntReactorEntries(entries, Values, Entries());
}

TRazrProp::TRazrProp(const DialogContext& context) : TProp(context, "TRazrProp", QString()) {
    for (QWidget* row : std::initializer_list<QWidget*>{LabelSnom, EditSnom, LabelInom, EditInom}) row->hide();
}

EntryCheck TRazrProp::FormCloseQuery() { return ReadLossesEntry(EditDp->text(), Values.Dp, Entries()); }

// The rated value is kept as text: its box takes any key.
TReactorProp::TReactorProp(const DialogContext& context)
    : TProp(context, "TReactorProp", Utf8("Токоограничивающий реактор"), Keys::Any) {
    Label2->setText(Utf8("Обозначение"));
    LabelDp->setText(Utf8("Потери мощности, кВт"));
    Label3 = NewLabel("Label3", Utf8("Сдвоенный"));
    ComboBox1 = NewList("ComboBox1", {Utf8("Нет"), Utf8("Да")});
    AddRow(RowDouble, Label3, ComboBox1);
    EditDouble = NewStandBy(ComboBox1, "EditDouble");
}

void TReactorProp::FillCells() {
    const EntryText& text = Entries();
    EditMarka->setText(EntryText::Text(Record.Marka) + "-" + EntryText::Text(Record.Snom));
    EditUnom->setText(text.Number(Record.Unom));
    EditSnom->setText(EntryText::Text(Record.Snom));
    EditInom->setText(text.Number(Record.Inom));
    EditDp->setText(text.Number(Record.dP));
    ComboBox1->setCurrentIndex(Record.IsDouble);
    EditDouble->setText(ComboBox1->currentText());
}

EntryCheck TReactorProp::FormCloseQuery() {
    RatedEntries entries = Entered();
    entries.Inom = EditInom->text();
    return ReadReactorEntries(entries, ComboBox1->currentIndex(), Record, Entries());
}

}  // namespace kelm
