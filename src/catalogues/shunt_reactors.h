#pragma once
// Shunt reactors: "ShuntReactorsRef", "KelmShuntReactorsRefs"/"KelmShuntReactorsRef".

#include "core/category_collection.h"

namespace kelm {

struct TShuntReactor final : TBaseElement {
    const char* ClassName() const override { return "TShuntReactor"; }
    double Snom = 0;  // rated power, MVA
    double Inom = 0;  // rated current, A
    double dP = 0;    // active power losses, kW
};

const Category<TShuntReactor>& ShuntReactorsCategory();

class TShuntReactors : public TCategoryCollection<TShuntReactor, TXMLCustomClass> {
public:
    TShuntReactors() : TCategoryCollection(ShuntReactorsCategory()) {}
};

}  // namespace kelm
