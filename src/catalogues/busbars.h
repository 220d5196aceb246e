#pragma once
// Substation busbars: "Busbars", "KelmBusbars"/"KelmBusbar".

#include "core/category_collection.h"

namespace kelm {

struct TBusbar final : TBaseElement {
    const char* ClassName() const override { return "TBusbar"; }
    double R = 0;  // active resistance, Ohm/km
    double X = 0;  // reactive resistance, Ohm/km
};

const Category<TBusbar>& BusbarsCategory();

class TBusbars : public TCategoryCollection<TBusbar, TXMLCustomClass> {
public:
    TBusbars() : TCategoryCollection(BusbarsCategory()) {}
};

}  // namespace kelm
