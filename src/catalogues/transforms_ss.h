#pragma once
// Split-winding transformers: "TransformsSS", "KelmTransformsSS"/"KelmTransforSS".

#include "core/category_collection.h"

namespace kelm {

struct TTransformSS final : TBaseElement {
    const char* ClassName() const override { return "TTransformSS"; }
    double Snom = 0;    // rated power, kV·A
    std::string AddStr; // free comment
    double UkBH = 0;    // short-circuit voltage, high-voltage winding to a half-winding, %
    double UkHH = 0;    // short-circuit voltage between the two half-windings, %
    double Pxx = 0;     // no-load losses, kW
    double Pkz = 0;     // short-circuit losses, kW
    double Ixx = 0;     // no-load current, %
    double UnomB = 0;   // high-voltage winding, kV
    double UnomH1 = 0;  // first low-voltage half-winding, kV
    double UnomH2 = 0;  // second low-voltage half-winding, kV
    std::int16_t NumberOtp = 0;  // tap steps on each side of the middle
    double DeltaUotp = 0;        // voltage step of one tap, %
};

const Category<TTransformSS>& TransformsSSCategory();

class TTransformsSS : public TCategoryCollection<TTransformSS, TXMLClass> {
public:
    TTransformsSS() : TCategoryCollection(TransformsSSCategory()) {}
};

}  // namespace kelm
