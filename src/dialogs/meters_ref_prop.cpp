#include "dialogs/meters_ref_prop.h"

#include <QHBoxLayout>

#include "core/codec.h"
#include "dialogs/accuracy_classes.h"
#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TMetersRefProp::TMetersRefProp(const DialogContext& context)
    : TPropertyDialog(context, "TMetersRefProp", Utf8("Счетчик")), messages_(context.messages) {
    EditUnom = NewEdit("EditUnom", EditUse::ShownBold);
    EditMarka = NewEdit("EditMarka", EditUse::Shown);
    ComboPower = NewList("ComboPower", {Utf8("активная"), Utf8("реактивная"), Utf8("активная/реактивная")});
    ComboReverse = NewList("ComboReverse", {Utf8("одно"), Utf8("два")});
    ComboBox1 = NewList("ComboBox1");
    EditRevoCount = NewEdit("EditRevoCount", EditUse::Editable, Keys::Digits);
    EditNumberCount = NewEdit("EditNumberCount", EditUse::Editable, Keys::Digits);
    EditCalibrationInterval = NewEdit("EditCalibrationInterval", EditUse::Editable, Keys::Digits);
    EditServiceLife = NewEdit("EditServiceLife", EditUse::Editable, Keys::Digits);
    EditManufacturer = NewEdit("EditManufacturer");
    EditInom = NewEdit("EditInom", EditUse::Editable, Keys::Digits);
    EditTariffCount = NewEdit("EditTariffCount", EditUse::Editable, Keys::Digits);
    EditWorkTemperatureLow = NewEdit("EditWorkTemperatureLow", EditUse::Editable, Keys::Temperature);
    EditWorkTemperatureHigh = NewEdit("EditWorkTemperatureHigh", EditUse::Editable, Keys::Temperature);
    EditSensitivity = NewEdit("EditSensitivity", EditUse::Editable, Keys::Decimal);
    EditCapacity = NewEdit("EditCapacity", EditUse::Editable, Keys::Decimal);
    EditPu = NewEdit("EditPu", EditUse::Editable, Keys::Decimal);
    EditSi = NewEdit("EditSi", EditUse::Editable, Keys::Decimal);

    int row = 0;
    AddRow(row++, NewLabel("LabelUnom", Utf8("Номинальное напряжение, кВ")), EditUnom);
    AddRow(row++, NewLabel("LabelMarka", Utf8("Обозначение")), EditMarka);
    AddRow(row++, NewLabel("LabelPower", Utf8("Измерение")), ComboPower);
    AddRow(row++, NewLabel("LabelReverse", Utf8("Направление")), ComboReverse);
    AddRow(row++, NewLabel("LabelBox1", Utf8("Класс точности, %")), ComboBox1);
    AddRow(row++, NewLabel("LabelRevoCount", Utf8("Количество оборотов на 1кВт.ч")), EditRevoCount);
    AddRow(row++, NewLabel("LabelNumberCount", Utf8("Количество цифр счетного механизма")), EditNumberCount);
    AddRow(row++, NewLabel("LabelCalibrationInterval", Utf8("Межповерочный интервал, лет")), EditCalibrationInterval);
    AddRow(row++, NewLabel("LabelServiceLife", Utf8("Средний срок службы, лет")), EditServiceLife);
    AddRow(row++, NewLabel("LabelManufacturer", Utf8("Изготовитель")), EditManufacturer);
    AddRow(row++, NewLabel("LabelInom", Utf8("Номинальный ток, А")), EditInom);
    AddRow(row++, NewLabel("LabelTariffCount", Utf8("Количество тарифов")), EditTariffCount);

    auto* range = new QWidget(this);
    auto* rangeLayout = new QHBoxLayout(range);
    rangeLayout->setContentsMargins(0, 0, 0, 0);
    rangeLayout->addWidget(NewLabel("LabelFrom", Utf8("от")));
    rangeLayout->addWidget(EditWorkTemperatureLow);
    rangeLayout->addWidget(NewLabel("LabelTo", Utf8("до")));
    rangeLayout->addWidget(EditWorkTemperatureHigh);
    rangeLayout->addWidget(NewLabel("LabelDegrees", Utf8("<sup>о</sup>С")));
    AddRow(row++, NewLabel("LabelTemperature", Utf8("Диапазон рабочих температур")), range);

    AddRow(row++, NewLabel("LabelSensitivity", Utf8("Чувствительность")), EditSensitivity);
    AddRow(row++, NewLabel("LabelCapacity", Utf8("Полная мощность потребляемая цепью, не более, В·А ")), EditCapacity);
    AddRow(row++, NewLabel("LabelPu", Utf8("Активнвя мощность потребляемая цепью напряжения, не более,  Вт ")), EditPu);
    AddRow(row++, NewLabel("LabelSi", Utf8("Полная мощность потребляемая цепью тока, не более,  В·А ")), EditSi);

    EditPower = NewStandBy(ComboPower, "EditPower");
    EditReverse = NewStandBy(ComboReverse, "EditReverse");
    EditBox1 = NewStandBy(ComboBox1, "EditBox1");
}

void TMetersRefProp::FillCells() {
    ComboReverse->setCurrentIndex(Record.Reverse);
    ComboPower->setCurrentIndex(Record.Power - 1);
    EditMarka->setText(EntryText::Text(Record.Marka));
    EditUnom->setText(EntryText::Text(Record.UnomText));
    EditManufacturer->setText(EntryText::Text(Record.Manufacturer));

    const std::pair<QLineEdit*, std::int16_t> wholes[] = {
        {EditRevoCount, Record.RevoCount},
        {EditNumberCount, Record.NumberCount},
        {EditCalibrationInterval, Record.CalibrationInterval},
        {EditServiceLife, Record.ServiceLife},
        {EditInom, Record.Inom},
        {EditTariffCount, Record.TariffCount},
        {EditWorkTemperatureLow, Record.WorkTemperatureLow},
        {EditWorkTemperatureHigh, Record.WorkTemperatureHigh},
    };
    for (const auto& [edit, value] : wholes) edit->setText(EntryText::OptionalWhole(value));
    const EntryText& text = Entries();
    EditSensitivity->setText(text.OptionalNumber(Record.Sensitivity));
    EditCapacity->setText(text.OptionalNumber(Record.Capacity));
    EditPu->setText(text.OptionalNumber(Record.Pu));
    EditSi->setText(text.OptionalNumber(Record.Si));

    // Read each time from the database connected now.
    // The meter is shown even without classes; then only "Отмена" closes it.
    classes_ = ReadAccuracyClasses(Database(), Record.AccuracyClass, *messages_);
    ShowListedRows(*ComboBox1, classes_, Record.AccuracyClass);

    EditBox1->setText(ComboBox1->currentText());
    EditReverse->setText(ComboReverse->currentText());
    EditPower->setText(ComboPower->currentText());
}

MeterEntries TMetersRefProp::Entered() const {
    MeterEntries e;
    e.UnomText = EditUnom->text();
    e.Manufacturer = EditManufacturer->text();
    e.PowerPosition = ComboPower->currentIndex();
    e.ReversePosition = ComboReverse->currentIndex();
    e.RevoCount = EditRevoCount->text();
    e.NumberCount = EditNumberCount->text();
    e.CalibrationInterval = EditCalibrationInterval->text();
    e.ServiceLife = EditServiceLife->text();
    e.Inom = EditInom->text();
    e.TariffCount = EditTariffCount->text();
    e.WorkTemperatureLow = EditWorkTemperatureLow->text();
    e.WorkTemperatureHigh = EditWorkTemperatureHigh->text();
    e.Sensitivity = EditSensitivity->text();
    e.Capacity = EditCapacity->text();
    e.Pu = EditPu->text();
    e.Si = EditSi->text();
    return e;
}

EntryCheck TMetersRefProp::FormCloseQuery() {
    return ReadMeterEntries(Entered(), SelectedRow(classes_, ComboBox1->currentIndex()), Record, Entries());
}

}  // namespace kelm
