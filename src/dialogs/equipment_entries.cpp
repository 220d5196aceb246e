#include "dialogs/equipment_entries.h"

namespace kelm {
namespace {

struct RatedLimits {
    double snom, dp;
};

// By EquipmentKind.
constexpr RatedLimits kRatedLimits[] = {
    {100, 100},          // busbar: active and reactive resistance
    {1000000, 1000000},  // shunt reactor
    {100000, 1000000},   // synchronous compensator
    {1000000, 1000000},  // capacitor bank
    {1000000, 1000000},  // thyristor compensator
};

constexpr double kCurrentLimit = 1000000;
constexpr double kLossesLimit = 1000000;
constexpr double kReactorCurrentLimit = 1000;
constexpr double kMotorPowerLimit = 1000000;
constexpr double kEfficiencyLimit = 10;
constexpr double kSlipLimit = 1000;

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
    const RatedLimits& limits = kRatedLimits[static_cast<int>(kind)];
    Below(values.Snom, limits.snom);
    Below(values.Dp, limits.dp);
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
        Below(v.Inom, kCurrentLimit);
        v.Snom = text.ReadNumber(e.Snom);
        v.Dp = text.ReadNumber(e.Dp);
        CheckRated(EquipmentKind::ShuntReactor, v);
    });
}

EntryCheck ReadLossesEntry(const QString& dp, double& value, const EntryText& text) {
    return CheckEntries([&] {
        value = text.ReadNumber(dp);
        Below(value, kLossesLimit);
    });
}

EntryCheck ReadReactorEntries(const RatedEntries& e, int twinPosition, TCurrentLimitReactorsRef& r,
                              const EntryText& text) {
    return CheckEntries([&] {
        r.Snom = EntryText::ReadText(e.Snom);
        r.Inom = text.ReadNumber(e.Inom);
        r.dP = text.ReadNumber(e.Dp);
        if (twinPosition >= 0) r.IsDouble = static_cast<std::int16_t>(twinPosition);
        Below(r.dP, kLossesLimit);
        Below(r.Inom, kReactorCurrentLimit);
    });
}

EntryCheck ReadMotorEntries(const MotorEntries& e, bool IsAsync, MotorValues& v, const EntryText& text) {
    return CheckEntries([&] {
        v.Pnom = text.ReadNumber(e.Pnom);
        v.Performance = text.ReadOptionalNumber(e.Performance);
        v.CosFi = text.ReadOptionalNumber(e.CosFi);
        if (IsAsync) {
            v.Slip = text.ReadOptionalNumber(e.Slip);
            Below(v.Slip, kSlipLimit);
        }
        Below(v.Pnom, kMotorPowerLimit);
        Below(v.Performance, kEfficiencyLimit);
        // A power factor of 1 itself is possible.
        if (v.CosFi > 1) throw OutOfRangeError();
        v.n = ReadSpeed(e.N);
    });
}

}  // namespace kelm
