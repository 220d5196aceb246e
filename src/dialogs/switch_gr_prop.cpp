#include "dialogs/switch_gr_prop.h"

#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TSwitchGRProp::TSwitchGRProp(const DialogContext& context)
    : TPropertyDialog(context, "TSwitchGRProp", Utf8("Коммутационный аппарат")) {
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    EditMarka = NewEdit("EditMarka", EditUse::ShownBold);
    ComboBox1 = NewList("ComboBox1");
    EditAddStr = NewEdit("EditAddStr");
    EditInom = NewEdit("EditInom", EditUse::Editable, Keys::Decimal);
    EditIoff = NewEdit("EditIoff", EditUse::Editable, Keys::Decimal);
    EditId = NewEdit("EditId", EditUse::Editable, Keys::Decimal);
    EditIt = NewEdit("EditIt", EditUse::Editable, Keys::Decimal);
    EditToff = NewEdit("EditToff", EditUse::Editable, Keys::Decimal);
    EditTon = NewEdit("EditTon", EditUse::Editable, Keys::Decimal);

    int row = 0;
    AddRow(row++, NewLabel("LabelUnom", Utf8("Номинальное напряжение, кВ")), EditUnom);
    AddRow(row++, NewLabel("LabelMarka", Utf8("Марка")), EditMarka);
    AddRow(row++, NewLabel("LabelKind", Utf8("Вид")), ComboBox1);
    EditKind = NewStandBy(ComboBox1, "EditKind");
    AddRow(row++, NewLabel("LabelAddStr", Utf8("Дополнительная информация")), EditAddStr);
    AddRow(row++, NewLabel("LabelInom", Utf8("Номинальный ток, кА")), EditInom);
    AddRow(row++, NewLabel("LabelIoff", Utf8("Ток отключения, кА")), EditIoff);
    AddRow(row++, NewLabel("LabelId", Utf8("Ток динамической стойкости, кА")), EditId);
    AddRow(row++, NewLabel("LabelIt", Utf8("Ток термической стойкости, кА")), EditIt);
    AddRow(row++, NewLabel("LabelToff", Utf8("Время отключения, с")), EditToff);
    AddRow(row++, NewLabel("LabelTon", Utf8("Время включения, с")), EditTon);
}

void TSwitchGRProp::FillCells() {
    const EntryText& text = Entries();
    EditMarka->setText(EntryText::Text(Record.Marka));
    EditAddStr->setText(EntryText::Text(Record.AddStr));
    EditUnom->setText(text.Number(Record.Unom));
    EditInom->setText(text.OptionalNumber(Record.Inom));
    EditIoff->setText(text.OptionalNumber(Record.Ioff));
    EditId->setText(text.OptionalNumber(Record.Id));
    EditIt->setText(text.OptionalNumber(Record.It));
    EditToff->setText(text.OptionalNumber(Record.Toff));
    EditTon->setText(text.OptionalNumber(Record.Ton));

    // The types of the database connected now, whichever pane the device is in.
    try {
        types_ = ReadListedRows(Database(), R"(select * from "SwitchGN")");
    } catch (const std::exception&) {
        // Without a readable type table the device is still shown, and keeps its type.
        types_.clear();
    }
    ShowListedRows(*ComboBox1, types_, Record.SwitchGType);
    if (types_.empty()) ComboBox1->addItem(EntryText::Text(Record.Name));
    EditKind->setText(ComboBox1->currentText());
}

SwitchGREntries TSwitchGRProp::Entered() const {
    SwitchGREntries e;
    e.Unom = EditUnom->text();
    e.AddStr = EditAddStr->text();
    e.Inom = EditInom->text();
    e.Ioff = EditIoff->text();
    e.Id = EditId->text();
    e.It = EditIt->text();
    e.Toff = EditToff->text();
    e.Ton = EditTon->text();
    return e;
}

EntryCheck TSwitchGRProp::FormCloseQuery() {
    return ReadSwitchGREntries(Entered(), SelectedRow(types_, ComboBox1->currentIndex()), Record, Entries());
}

}  // namespace kelm
