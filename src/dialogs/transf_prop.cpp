#include "dialogs/transf_prop.h"

#include <QHBoxLayout>
#include <stdexcept>
#include <string>

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TTransformDialog::TTransformDialog(const DialogContext& context, const char* className, const QString& caption,
                                   Keys identityKeys)
    : TPropertyDialog(context, className, caption) {
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold, identityKeys);
    EditTypeTr = NewEdit("EditTypeTr", EditUse::ShownBold);
    EditSnom = NewEdit("EditSnom", EditUse::ShownBold, identityKeys);
    EditAddStr = NewEdit("EditAddStr");
    AddRow(0, NewLabel("LabelUnom", Utf8("Номинальное напряжение, кВ")), EditUnom);
    AddRow(1, NewLabel("LabelTypeTr", Utf8("Тип")), EditTypeTr);
    AddRow(2, NewLabel("LabelSnom", Utf8("Номинальная мощность, кВ·А")), EditSnom);
    AddRow(3, NewLabel("LabelAddStr", Utf8("Дополнительная информация")), EditAddStr);
}

void TTransformDialog::AddBoxes(int row, QLabel* label, std::initializer_list<QWidget*> boxes) {
    auto* line = new QHBoxLayout;
    for (QWidget* box : boxes) line->addWidget(box);
    if (label) Form->addWidget(label, row, 0);
    Form->addLayout(line, row, 1);
}

void TTransformDialog::AddTapRow(int row, QLabel* label, QLineEdit* count, QLineEdit* step) {
    AddBoxes(row, label, {NewLabel("LabelPlusMinus", Utf8("±")), count, NewLabel("LabelTimes", Utf8("Х")), step,
                          NewLabel("LabelPercent", "%")});
}

QLineEdit* TTransformDialog::Box(const char* name) const {
    auto* edit = findChild<QLineEdit*>(name);
    if (!edit) throw std::logic_error(std::string("no edit ") + name);
    return edit;
}

TTransfProp::TTransfProp(const DialogContext& context)
    : TTransformDialog(context, "TTransfProp", Utf8("Двухобмоточный трансформатор"), Keys::Decimal) {
    EditUkz = NewEdit("EditUkz", EditUse::Editable, Keys::Decimal);
    EditPxx = NewEdit("EditPxx", EditUse::Editable, Keys::Decimal);
    EditPkz = NewEdit("EditPkz", EditUse::Editable, Keys::Decimal);
    EditIxx = NewEdit("EditIxx", EditUse::Editable, Keys::Decimal);
    EditUhv = NewEdit("EditUhv", EditUse::ShownBold, Keys::Decimal);
    EditUlv = NewEdit("EditUlv", EditUse::ShownBold, Keys::Decimal);
    // Unlike the other transformer dialogs, this one keeps its winding voltages in the Tab order.
    EditUhv->setFocusPolicy(Qt::StrongFocus);
    EditUlv->setFocusPolicy(Qt::StrongFocus);
    EditNumberOtp = NewEdit("EditNumberOtp", EditUse::Editable, Keys::Decimal);
    EditDeltaUotp = NewEdit("EditDeltaUotp", EditUse::Editable, Keys::Decimal);

    int row = kFirstValueRow;
    AddRow(row++, NewLabel("LabelUkz", Utf8("Напряжение короткого замыкания, %")), EditUkz);
    AddRow(row++, NewLabel("LabelPxx", Utf8("Мощность холостого хода, кВт")), EditPxx);
    AddRow(row++, NewLabel("LabelPkz", Utf8("Мощность короткого замыкания, кВт")), EditPkz);
    AddRow(row++, NewLabel("LabelIxx", Utf8("Ток холостого хода, %")), EditIxx);
    AddRow(row++, NewLabel("LabelUhv", Utf8("Номинальное напряжение высшее, кВ")), EditUhv);
    AddRow(row++, NewLabel("LabelUlv", Utf8("Номинальное напряжение низшее, кВ")), EditUlv);
    AddTapRow(row, NewLabel("LabelOtp", Utf8("Пределы регулирования")), EditNumberOtp, EditDeltaUotp);
}

void TTransfProp::FillCells() { ShowFields(TransformEdits(), Record); }

EntryCheck TTransfProp::FormCloseQuery() {
    return ReadTransformEntries(Entered(TransformEdits()), Record, Entries());
}

TThreeWindingProp::TThreeWindingProp(const DialogContext& context, const char* className, const QString& caption)
    : TTransformDialog(context, className, caption, Keys::Any) {
    EditUB = NewEdit("EditUB", EditUse::ShownBold, Keys::Decimal);
    EditUC = NewEdit("EditUC", EditUse::ShownBold, Keys::Decimal);
    EditUH = NewEdit("EditUH", EditUse::ShownBold, Keys::Decimal);
    EditPxx = NewEdit("EditPxx");
    EditIxx = NewEdit("EditIxx");
    EditPkzVC = NewEdit("EditPkzVC", EditUse::Editable, Keys::Decimal);
    EditPkzVN = NewEdit("EditPkzVN", EditUse::Editable, Keys::Decimal);
    EditPkzCN = NewEdit("EditPkzCN", EditUse::Editable, Keys::Decimal);
    EditUkzVC = NewEdit("EditUkzVC", EditUse::Editable, Keys::Decimal);
    EditUkzVN = NewEdit("EditUkzVN", EditUse::Editable, Keys::Decimal);
    EditUkzCN = NewEdit("EditUkzCN", EditUse::Editable, Keys::Decimal);
    EditNumberOtpB = NewEdit("EditNumberOtpB");
    EditDeltaUotpB = NewEdit("EditDeltaUotpB");
    EditNumberOtpC = NewEdit("EditNumberOtpC");
    EditDeltaUotpC = NewEdit("EditDeltaUotpC");
    EditSB = NewEdit("EditSB", EditUse::Editable, Keys::Decimal);
    EditSC = NewEdit("EditSC", EditUse::Editable, Keys::Decimal);
    EditSH = NewEdit("EditSH", EditUse::Editable, Keys::Decimal);

    int row = kFirstValueRow;
    AddBoxes(row++, NewLabel("LabelWindingVoltages", Utf8("Номинальное напряжение обмоток:")),
             {NewLabel("LabelUB", Utf8("Uн.в., кВ")), EditUB, NewLabel("LabelUC", Utf8("Uн.с., кВ")), EditUC,
              NewLabel("LabelUH", Utf8("Uн.н., кВ")), EditUH});
    AddRow(row++, NewLabel("LabelPxx", Utf8("Мощность холостого хода, кВт")), EditPxx);
    AddRow(row++, NewLabel("LabelIxx", Utf8("Ток холостого хода, %")), EditIxx);
    AddBoxes(row++, NewLabel("LabelPkz", Utf8("Мощность короткого замыкания, кВт:")),
             {NewLabel("LabelPkzVC", Utf8("Pк.з.(вс):")), EditPkzVC, NewLabel("LabelPkzVN", Utf8("Pк.з.(вн):")),
              EditPkzVN, NewLabel("LabelPkzCN", Utf8("Pк.з.(сн):")), EditPkzCN});
    AddBoxes(row++, NewLabel("LabelUkz", Utf8("Напряжение короткого замыкания, %:")),
             {NewLabel("LabelUkzVC", Utf8("Uк.з.(вс):")), EditUkzVC, NewLabel("LabelUkzVN", Utf8("Uк.з.(вн):")),
              EditUkzVN, NewLabel("LabelUkzCN", Utf8("Uк.з.(сн):")), EditUkzCN});
    AddRow(row++, NewLabel("LabelOtp", Utf8("Пределы регулирования:")), nullptr);
    AddTapRow(row++, NewLabel("LabelOtpB", Utf8("на обмотке высокого напряжения")), EditNumberOtpB, EditDeltaUotpB);
    AddTapRow(row++, NewLabel("LabelOtpC", Utf8("на обмотке низкого напряжения")), EditNumberOtpC, EditDeltaUotpC);
    AddBoxes(row, NewLabel("LabelSobm", Utf8("Соотношение между мощностями обмоток, %")),
             {NewLabel("LabelSB", Utf8("Sобм.в:")), EditSB, NewLabel("LabelSC", Utf8("Sобм.с:")), EditSC,
              NewLabel("LabelSH", Utf8("Sобм.н:")), EditSH});
}

void TThreeWindingProp::FillCells() { ShowFields(Transform3Edits(), Values()); }

EntryCheck TThreeWindingProp::FormCloseQuery() {
    return ReadTransform3Entries(Entered(Transform3Edits()), Values(), Entries());
}

TTransfProp3::TTransfProp3(const DialogContext& context)
    : TThreeWindingProp(context, "TTransfProp3", Utf8("Трехобмоточный трансформатор")) {}

TTransfPropA::TTransfPropA(const DialogContext& context)
    : TThreeWindingProp(context, "TTransfPropA", Utf8("Автотрансформатор")) {}

TTransfPropSS::TTransfPropSS(const DialogContext& context)
    : TTransformDialog(context, "TTransfPropSS", Utf8("Трансформатор с расщепленной обмоткой"), Keys::Any) {
    EditUnomB = NewEdit("EditUnomB", EditUse::ShownBold, Keys::Decimal);
    EditUnomH1 = NewEdit("EditUnomH1", EditUse::ShownBold, Keys::Decimal);
    EditUnomH2 = NewEdit("EditUnomH2", EditUse::ShownBold, Keys::Decimal);
    EditPxx = NewEdit("EditPxx");
    EditPkz = NewEdit("EditPkz");
    EditIxx = NewEdit("EditIxx");
    EditUkBH = NewEdit("EditUkBH", EditUse::Editable, Keys::Decimal);
    EditUkHH = NewEdit("EditUkHH", EditUse::Editable, Keys::Decimal);
    EditNumberOtp = NewEdit("EditNumberOtp");
    EditDeltaUotp = NewEdit("EditDeltaUotp");

    int row = kFirstValueRow;
    AddBoxes(row++, NewLabel("LabelWindingVoltages", Utf8("Номинальное напряжение обмоток, кВ:")),
             {NewLabel("LabelUnomB", Utf8("UномВ")), EditUnomB, NewLabel("LabelUnomH1", Utf8("UномН1")), EditUnomH1,
              NewLabel("LabelUnomH2", Utf8("UномН2")), EditUnomH2});
    AddRow(row++, NewLabel("LabelPxx", Utf8("Мощность холостого хода, кВт")), EditPxx);
    AddRow(row++, NewLabel("LabelPkz", Utf8("Мощность короткого замыкания, кВт")), EditPkz);
    AddRow(row++, NewLabel("LabelIxx", Utf8("Ток холостого хода, %")), EditIxx);
    AddBoxes(row++, NewLabel("LabelUkz", Utf8("Напряжение короткого замыкания, %:")),
             {NewLabel("LabelUkBH", Utf8("Uк.з.(вн)")), EditUkBH, NewLabel("LabelUkHH", Utf8("Uк.з.(нн)")), EditUkHH});
    AddTapRow(row, NewLabel("LabelOtp", Utf8("Пределы регулирования")), EditNumberOtp, EditDeltaUotp);
}

void TTransfPropSS::FillCells() { ShowFields(TransformSSEdits(), Record); }

EntryCheck TTransfPropSS::FormCloseQuery() {
    return ReadTransformSSEntries(Entered(TransformSSEdits()), Record, Entries());
}

}  // namespace kelm
