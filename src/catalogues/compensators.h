#pragma once
// Synchronous compensators ("SynchronousCondensers"), capacitor banks
// ("CapacitorBanks") and thyristor compensators ("TiristorCondensers"): three
// categories of their own that hold the same values.

#include "core/category_collection.h"

namespace kelm {

struct TCompensatorValues : TBaseElement {
    double Snom = 0;  // rated power, MVA
    double dP = 0;    // power losses: kW for compensators, kW/kvar for banks and thyristor compensators
};

struct TSyncCondenser final : TCompensatorValues {
    const char* ClassName() const override { return "TSyncCondenser"; }
};
struct TCapacitorBank final : TCompensatorValues {
    const char* ClassName() const override { return "TCapacitorBank"; }
};
struct TTiristorCondenser final : TCompensatorValues {
    const char* ClassName() const override { return "TTiristorCondenser"; }
};

const Category<TSyncCondenser>& SyncCondensersCategory();
const Category<TCapacitorBank>& CapacitorBanksCategory();
const Category<TTiristorCondenser>& TiristorCondensersCategory();

class TSyncCondensers : public TCategoryCollection<TSyncCondenser, TXMLCustomClass> {
public:
    TSyncCondensers() : TCategoryCollection(SyncCondensersCategory()) {}
};

class TCapacitorBanks : public TCategoryCollection<TCapacitorBank, TXMLCustomClass> {
public:
    TCapacitorBanks() : TCategoryCollection(CapacitorBanksCategory()) {}
};

class TTiristorCondensers : public TCategoryCollection<TTiristorCondenser, TXMLCustomClass> {
public:
    TTiristorCondensers() : TCategoryCollection(TiristorCondensersCategory()) {}
};

}  // namespace kelm
