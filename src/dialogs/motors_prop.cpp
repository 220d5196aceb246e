#include "dialogs/motors_prop.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TMotors::TMotors(const DialogContext& context, bool IsAsync)
    : TPropertyDialog(context, "TMotors", QString()), IsAsync(IsAsync) {
    Label1 = NewLabel("Label1", Utf8("Номинальное напряжение, кВ"));
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    Label2 = NewLabel("Label2", Utf8("Марка"));
    EditMarka = NewEdit("EditMarka", EditUse::ShownBold);
    LabelSnom = NewLabel("LabelSnom", Utf8("Номинальная мощность, кВт"));
    EditPnom = NewEdit("EditPnom", EditUse::ShownBold);
    Label4 = NewLabel("Label4", Utf8("КДП, о.е."));
    EditPerfomance = NewEdit("EditPerfomance", EditUse::Editable, Keys::Decimal);
    Label3 = NewLabel("Label3", Utf8("Коэффициент мощности"));
    EditCosFi = NewEdit("EditCosFi", EditUse::Editable, Keys::Decimal);
    Label8 = NewLabel("Label8", Utf8("Частота вращения, об./мин"));
    EditN = NewEdit("EditN", EditUse::Editable, Keys::Decimal);
    LabelSlipe = NewLabel("LabelSlipe", Utf8("Номинальное скольжение, %"));
    EditSlipe = NewEdit("EditSlipe", EditUse::Editable, Keys::Decimal);

    enum Row { RowUnom, RowMarka, RowPnom, RowPerformance, RowCosFi, RowN, RowSlip };
    AddRow(RowUnom, Label1, EditUnom);
    AddRow(RowMarka, Label2, EditMarka);
    AddRow(RowPnom, LabelSnom, EditPnom);
    AddRow(RowPerformance, Label4, EditPerfomance);
    AddRow(RowCosFi, Label3, EditCosFi);
    AddRow(RowN, Label8, EditN);
    AddRow(RowSlip, LabelSlipe, EditSlipe);
    // A synchronous motor has no slip; the fixed-size form closes up without its row.
    if (!IsAsync) {
        LabelSlipe->hide();
        EditSlipe->hide();
    }
}

EntryCheck TMotors::FormCloseQuery() {
    const MotorEntries entries{EditPnom->text(), EditPerfomance->text(), EditCosFi->text(), EditN->text(),
                               EditSlipe->text()};
    return ReadMotorEntries(entries, IsAsync, Values, Entries());
}

}  // namespace kelm
