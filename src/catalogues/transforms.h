#pragma once
// Two-winding power transformers: "Transforms2", "KelmTransforms"/"KelmTransfor".

#include "core/category_collection.h"
#include "core/voltage_class.h"

namespace kelm {

struct TTransform final : TBaseElement {
    const char* ClassName() const override { return "TTransform"; }
    std::string AddStr;      // free comment
    double DeltaUotp = 0;    // voltage step of one tap, %
    double Ixx = 0;          // no-load current, %
    std::int32_t NumberOtp = 0;  // tap steps on each side of the middle
    double Pkz = 0;          // short-circuit losses, kW
    double Pxx = 0;          // no-load losses, kW
    double Snom = 0;         // rated power, kV·A
    double UnomB = 0;        // higher-voltage winding, kV
    double Uk = 0;           // short-circuit voltage, %
    double UnomH = 0;        // lower-voltage winding, kV
};

const Category<TTransform>& TransformsCategory();

// Every kind of transformer is built for the network class of its
// high-voltage winding.
template <class R>
bool HighWindingOfRatedClass(const R& r) {
    return SameValue(VoltageClass(r.UnomB), r.Unom);
}

class TTransforms : public TCategoryCollection<TTransform, TXMLClass> {
public:
    TTransforms() : TCategoryCollection(TransformsCategory()) {}
};

}  // namespace kelm
