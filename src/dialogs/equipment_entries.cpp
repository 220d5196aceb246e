#include "dialogs/equipment_entries.h"

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"

namespace kelm {
namespace {

// The two fields a rated-value dialog shows in EditSnom and EditDp, by EquipmentKind.
struct RatedFields {
    const FieldFacts& snom;
    const FieldFacts& dp;
};

RatedFields RatedFieldsOf(EquipmentKind kind) {
    switch (kind) {
    case EquipmentKind::Busbar:
        return {FactsOf(BusbarsCategory(), &TBusbar::R), FactsOf(BusbarsCategory(), &TBusbar::X)};
    case EquipmentKind::ShuntReactor:
        return {FactsOf(ShuntReactorsCategory(), &TShuntReactor::Snom),
                FactsOf(ShuntReactorsCategory(), &TShuntReactor::dP)};
    case EquipmentKind::SyncCondenser:
        return {FactsOf(SyncCondensersCategory(), &TSyncCondenser::Snom),
                FactsOf(SyncCondensersCategory(), &TSyncCondenser::dP)};
    case EquipmentKind::CapacitorBank:
        return {FactsOf(CapacitorBanksCategory(), &TCapacitorBank::Snom),
                FactsOf(CapacitorBanksCategory(), &TCapacitorBank::dP)};
    case EquipmentKind::TiristorCondenser:
        break;
    }
    return {FactsOf(TiristorCondensersCategory(), &TTiristorCondenser::Snom),
            FactsOf(TiristorCondensersCategory(), &TTiristorCondenser::dP)};
}

// The speed is a 16-bit whole number, but its box takes a decimal separator:
// anything else than a whole number the field holds is refused as incorrect.
std::int16_t ReadSpeed(const QString& text) {
    if (text.trimmed().isEmpty()) return static_cast<std::int16_t>(NotSet);
    try {
        return EntryText::ReadWhole<std::int16_t>(text);
    } catch (const ConversionError&) {
        throw OutOfRangeError();
    }
}

void CheckRated(EquipmentKind kind, const RatedValues& values) {
    const RatedFields fields = RatedFieldsOf(kind);
    CheckLimit(fields.snom, values.Snom);
    CheckLimit(fields.dp, values.Dp);
}

}  // namespace

EntryCheck ReadRatedEntries(EquipmentKind PropKind, const RatedEntries& e, RatedValues& v, const EntryText& text) {
    return CheckEntries([&] {
        v.Snom = text.ReadNumber(e.Snom);
        v.Dp = text.ReadNumber(e.Dp);
        CheckRated(PropKind, v);
    });
}

EntryCheck ReadShuntReactorEntries(const RatedEntries& e, RatedValues& v, const EntryText& text) {
    return CheckEntries([&] {
        v.Inom = text.ReadNumber(e.Inom);
        CheckLimit(FactsOf(ShuntReactorsCategory(), &TShuntReactor::Inom), v.Inom);
        v.Snom = text.ReadNumber(e.Snom);
        v.Dp = text.ReadNumber(e.Dp);
        CheckRated(EquipmentKind::ShuntReactor, v);
    });
}

EntryCheck ReadLossesEntry(const QString& dp, double& value, const EntryText& text) {
    return CheckEntries([&] {
        value = text.ReadNumber(dp);
        // Both kinds of arrester state the same limits.
        CheckLimit(FactsOf(ValveArrestersCategory(), &TValveArrester::dP), value);
    });
}

EntryCheck ReadReactorEntries(const RatedEntries& e, int twinPosition, TCurrentLimitReactorsRef& r,
                              const EntryText& text) {
    return CheckEntries([&] {
        r.Snom = EntryText::ReadText(e.Snom);
        r.Inom = text.ReadNumber(e.Inom);
        r.dP = text.ReadNumber(e.Dp);
        if (twinPosition >= 0) r.IsDouble = static_cast<std::int16_t>(twinPosition);
        using R = TCurrentLimitReactorsRef;
        CheckLimit(FactsOf(CurrentLimitReactorsCategory(), &R::dP), r.dP);
        CheckLimit(FactsOf(CurrentLimitReactorsCategory(), &R::Inom), r.Inom);
    });
}

EntryCheck ReadMotorEntries(const MotorEntries& e, bool IsAsync, MotorValues& v, const EntryText& text) {
    return CheckEntries([&] {
        v.Pnom = text.ReadNumber(e.Pnom);
        v.Performance = text.ReadOptionalNumber(e.Performance);
        v.CosFi = text.ReadOptionalNumber(e.CosFi);
        if (IsAsync) {
            v.Slip = text.ReadOptionalNumber(e.Slip);
            CheckLimit(FactsOf(AsyncMotorsCategory(), &TAsyncMotor::Slip), v.Slip);
        }
        // Both kinds of motor state the same limits for the values they share.
        using R = TSyncMotor;
        CheckLimit(FactsOf(SyncMotorsCategory(), &R::Pnom), v.Pnom);
        CheckLimit(FactsOf(SyncMotorsCategory(), &R::Performance), v.Performance);
        CheckLimit(FactsOf(SyncMotorsCategory(), &R::CosFi), v.CosFi);
        v.n = ReadSpeed(e.N);
    });
}

}  // namespace kelm
