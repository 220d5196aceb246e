#include "dialogs/equipment_openers.h"

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"
#include "dialogs/equipment_prop.h"
#include "dialogs/motors_prop.h"

namespace kelm {
namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

// How a category of rated value and losses shows in TPropMin, or in TProp
// when it has a rated current, and which of its fields the boxes hold.
template <class Values>
struct RatedSetup {
    EquipmentKind PropKind;
    const char* caption;
    double Values::*snom;             // EditSnom
    double Values::*dp;               // EditDp
    double Values::*inom = nullptr;   // EditInom, which only TProp has
    bool markWithSnom = false;        // EditMarka shows Marka-Snom
    const char* labelSnom = nullptr;  // none: the dialog's own label
    const char* labelDp = nullptr;
    int widerMark = 0;                // pixels EditMarka gets beyond the others' width
};

const RatedSetup<TBusbar> kBusbar{.PropKind = EquipmentKind::Busbar,
                                  .caption = "Шинопровод",
                                  .snom = &TBusbar::R,
                                  .dp = &TBusbar::X,
                                  .labelSnom = "Активное сопротивление, Ом/км",
                                  .labelDp = "Реактивное сопротивление, Ом/км",
                                  .widerMark = 27};
const RatedSetup<TShuntReactor> kShuntReactor{.PropKind = EquipmentKind::ShuntReactor,
                                              .caption = "Шунтирующий реактор",
                                              .snom = &TShuntReactor::Snom,
                                              .dp = &TShuntReactor::dP,
                                              .inom = &TShuntReactor::Inom,
                                              .markWithSnom = true};
const RatedSetup<TCompensatorValues> kSyncCondenser{.PropKind = EquipmentKind::SyncCondenser,
                                                    .caption = "Синхронный комперсатор",
                                                    .snom = &TCompensatorValues::Snom,
                                                    .dp = &TCompensatorValues::dP};
const RatedSetup<TCompensatorValues> kCapacitorBank{.PropKind = EquipmentKind::CapacitorBank,
                                                    .caption = "Батарея конденсаторов",
                                                    .snom = &TCompensatorValues::Snom,
                                                    .dp = &TCompensatorValues::dP,
                                                    .labelDp = "Удельные потери мощности, кВт/квар"};
const RatedSetup<TCompensatorValues> kTiristorCondenser{.PropKind = EquipmentKind::TiristorCondenser,
                                                        .caption = "Тиристорный комперсатор",
                                                        .snom = &TCompensatorValues::Snom,
                                                        .dp = &TCompensatorValues::dP,
                                                        .labelDp = "Удельные потери мощности, кВт/квар"};

const char* const kSyncMotorCaption = "Синхронный двигатель";
const char* const kAsyncMotorCaption = "Асинхронный двигатель";
const char* const kValveArresterCaption = "Вентильный разрядник";
const char* const kExcessVoltageSuppressorCaption = "Ограничитель перенапряжения";

// The mark and voltage boxes of these dialogs are only shown, never read back.
template <class R, class Values>
bool OpenRatedDialog(TBaseElement& element, bool readOnly, DialogContext& context, const RatedSetup<Values>& setup) {
    auto* record = dynamic_cast<R*>(&element);
    if (!record) return false;
    std::unique_ptr<TPropMin> dialog;
    if (setup.inom)
        dialog = std::make_unique<TProp>(context);
    else
        dialog = std::make_unique<TPropMin>(context, setup.PropKind);
    auto* withCurrent = dynamic_cast<TProp*>(dialog.get());
    dialog->setWindowTitle(Utf8(setup.caption));
    if (setup.labelSnom) dialog->LabelSnom->setText(Utf8(setup.labelSnom));
    if (setup.labelDp) dialog->LabelDp->setText(Utf8(setup.labelDp));
    dialog->WidenMark(setup.widerMark);

    const EntryText& text = dialog->Entries();
    QString mark = EntryText::Text(record->Marka);
    if (setup.markWithSnom) mark += "-" + text.Number(record->*setup.snom);
    dialog->EditMarka->setText(mark);
    dialog->EditUnom->setText(text.Number(record->Unom));
    dialog->EditSnom->setText(text.Number(record->*setup.snom));
    if (withCurrent) withCurrent->EditInom->setText(text.Number(record->*setup.inom));
    dialog->EditDp->setText(text.Number(record->*setup.dp));

    if (!ShowPrepared(*dialog, readOnly, context)) return false;
    record->*setup.snom = dialog->Values.Snom;
    if (withCurrent) record->*setup.inom = dialog->Values.Inom;
    record->*setup.dp = dialog->Values.Dp;
    return true;
}

template <class R>
bool OpenMotorDialog(TBaseElement& element, bool readOnly, DialogContext& context, const char* caption) {
    auto* record = dynamic_cast<R*>(&element);
    if (!record) return false;
    constexpr bool kAsync = std::is_same_v<R, TAsyncMotor>;
    TMotors dialog(context, kAsync);
    dialog.setWindowTitle(Utf8(caption));
    const EntryText& text = dialog.Entries();
    dialog.EditMarka->setText(EntryText::Text(record->Marka));
    dialog.EditUnom->setText(text.Number(record->Unom));
    dialog.EditPnom->setText(text.Number(record->Pnom));
    dialog.EditPerfomance->setText(text.OptionalNumber(record->Performance));
    dialog.EditCosFi->setText(text.OptionalNumber(record->CosFi));
    dialog.EditN->setText(EntryText::OptionalWhole(record->n));
    if constexpr (kAsync) dialog.EditSlipe->setText(text.OptionalNumber(record->Slip));

    if (!ShowPrepared(dialog, readOnly, context)) return false;
    // The rated power is only shown, so it keeps its exact value.
    record->Performance = dialog.Values.Performance;
    record->CosFi = dialog.Values.CosFi;
    record->n = dialog.Values.n;
    if constexpr (kAsync) record->Slip = dialog.Values.Slip;
    return true;
}

template <class R>
bool OpenArresterDialog(TBaseElement& element, bool readOnly, DialogContext& context, const char* caption) {
    auto* record = dynamic_cast<R*>(&element);
    if (!record) return false;
    TRazrProp dialog(context);
    dialog.setWindowTitle(Utf8(caption));
    const EntryText& text = dialog.Entries();
    dialog.EditMarka->setText(EntryText::Text(record->Marka));
    dialog.EditUnom->setText(text.Number(record->Unom));
    dialog.EditDp->setText(text.Number(record->dP));
    if (!ShowPrepared(dialog, readOnly, context)) return false;
    record->dP = dialog.Values.Dp;
    return true;
}

}  // namespace

const std::vector<DialogEntry>& EquipmentDialogs() {
    using Element = TBaseElement;
    using Context = DialogContext;
    static const std::vector<DialogEntry> dialogs = {
        {"TBusbar", [](Element& r, bool ro, Context& c) { return OpenRatedDialog<TBusbar>(r, ro, c, kBusbar); }},
        {"TShuntReactor",
         [](Element& r, bool ro, Context& c) { return OpenRatedDialog<TShuntReactor>(r, ro, c, kShuntReactor); }},
        {"TSyncCondenser",
         [](Element& r, bool ro, Context& c) { return OpenRatedDialog<TSyncCondenser>(r, ro, c, kSyncCondenser); }},
        {"TCapacitorBank",
         [](Element& r, bool ro, Context& c) { return OpenRatedDialog<TCapacitorBank>(r, ro, c, kCapacitorBank); }},
        {"TTiristorCondenser",
         [](Element& r, bool ro, Context& c) {
             return OpenRatedDialog<TTiristorCondenser>(r, ro, c, kTiristorCondenser);
         }},
        {"TSyncMotor",
         [](Element& r, bool ro, Context& c) { return OpenMotorDialog<TSyncMotor>(r, ro, c, kSyncMotorCaption); }},
        {"TAsyncMotor",
         [](Element& r, bool ro, Context& c) { return OpenMotorDialog<TAsyncMotor>(r, ro, c, kAsyncMotorCaption); }},
        {"TValveArrester",
         [](Element& r, bool ro, Context& c) {
             return OpenArresterDialog<TValveArrester>(r, ro, c, kValveArresterCaption);
         }},
        {"TExcessVoltageSuppressor",
         [](Element& r, bool ro, Context& c) {
             return OpenArresterDialog<TExcessVoltageSuppressor>(r, ro, c, kExcessVoltageSuppressorCaption);
         }},
    };
    return dialogs;
}

}  // namespace kelm
