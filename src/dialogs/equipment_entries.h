#pragma once
// What the equipment dialogs read back on OK, as plain functions of the
// entered texts: the rated values of busbars, compensators and reactors,
// the losses of arresters, and the running values of motors.

#include <QString>
#include <cstdint>

#include "catalogues/current_limit_reactors.h"
#include "dialogs/entry_text.h"

namespace kelm {

// Which category a rated-value dialog shows; it decides the limits of its check.
enum class EquipmentKind : std::uint8_t {
    Busbar = 0,
    ShuntReactor = 1,
    SyncCondenser = 2,
    CapacitorBank = 3,
    TiristorCondenser = 4,
};

// The texts of the rated-value boxes: EditSnom, EditInom, EditDp.
struct RatedEntries {
    QString Snom, Inom, Dp;
};

// The numbers read from them; a busbar's resistances come in Snom and Dp.
struct RatedValues {
    double Snom = 0, Inom = 0, Dp = 0;
};

// The two-value dialog: EditSnom and EditDp under the limits of the category.
EntryCheck ReadRatedEntries(EquipmentKind PropKind, const RatedEntries& entries, RatedValues& values,
                            const EntryText& text);
// The shunt reactor's dialog: the rated current, then the two values of a shunt reactor.
EntryCheck ReadShuntReactorEntries(const RatedEntries& entries, RatedValues& values, const EntryText& text);
// The arrester's dialog: the losses alone.
EntryCheck ReadLossesEntry(const QString& dp, double& value, const EntryText& text);

// The current-limiting reactor's dialog writes into its record: the rated
// value as free text, the current and losses, and the twin flag from the
// position chosen in its list (-1, no position, leaves the flag as it was).
EntryCheck ReadReactorEntries(const RatedEntries& entries, int twinPosition, TCurrentLimitReactorsRef& record,
                              const EntryText& text);

// The texts of the motor dialog's boxes.
struct MotorEntries {
    QString Pnom, Performance, CosFi, N, Slip;
};

// The motor's values; a blank optional box gives NotSet.
struct MotorValues {
    double Pnom = 0;
    double Performance = NotSet;
    double CosFi = NotSet;
    std::int16_t n = NotSet;
    double Slip = NotSet;  // read only for an asynchronous motor
};

EntryCheck ReadMotorEntries(const MotorEntries& entries, bool IsAsync, MotorValues& values, const EntryText& text);

}  // namespace kelm
