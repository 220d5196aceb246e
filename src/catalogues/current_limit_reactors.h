#pragma once
// Current-limiting reactors: "CurrentLimitReactorsRef",
// "KelmCurrentLimitReactorsRefs"/"KelmCurrentLimitReactorsRef".

#include "core/category_collection.h"

namespace kelm {

struct TCurrentLimitReactorsRef final : TBaseElement {
    const char* ClassName() const override { return "TCurrentLimitReactorsRef"; }
    std::string Snom;         // rated value as the catalogue writes it, so it sorts as text
    double Inom = 0;          // rated current, A
    double dP = 0;            // power losses, kW
    std::int16_t IsDouble = 0;  // 1 for a twin reactor, 0 for a single one
};

const Category<TCurrentLimitReactorsRef>& CurrentLimitReactorsCategory();

class TCurrentLimitReactorsRefs : public TCategoryCollection<TCurrentLimitReactorsRef, TXMLCustomClass> {
public:
    TCurrentLimitReactorsRefs() : TCategoryCollection(CurrentLimitReactorsCategory()) {}
};

}  // namespace kelm
