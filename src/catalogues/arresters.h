#pragma once
// Valve arresters ("ValveArresters") and surge suppressors
// ("ExcessVoltageSuppressors"): two categories of their own that hold the same values.

#include "core/category_collection.h"

namespace kelm {

struct TArresterValues : TBaseElement {
    double dP = 0;  // active power losses, kW
};

struct TValveArrester final : TArresterValues {
    const char* ClassName() const override { return "TValveArrester"; }
};
struct TExcessVoltageSuppressor final : TArresterValues {
    const char* ClassName() const override { return "TExcessVoltageSuppressor"; }
};

const Category<TValveArrester>& ValveArrestersCategory();
const Category<TExcessVoltageSuppressor>& ExcessVoltageSuppressorsCategory();

class TValveArresters : public TCategoryCollection<TValveArrester, TXMLCustomClass> {
public:
    TValveArresters() : TCategoryCollection(ValveArrestersCategory()) {}
};

class TExcessVoltageSuppressors : public TCategoryCollection<TExcessVoltageSuppressor, TXMLCustomClass> {
public:
    TExcessVoltageSuppressors() : TCategoryCollection(ExcessVoltageSuppressorsCategory()) {}
};

}  // namespace kelm
