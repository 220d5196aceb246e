#pragma once
// Three-winding transformers ("Transforms3", "KelmTransforms3"/"KelmTransfor3")
// and autotransformers ("TransformsA", "KelmTransformsA"/"KelmTransforA"):
// the same fields and rules over two tables, with record classes of their own
// so that the workbench tells the two apart by class name.

#include "core/category_collection.h"

namespace kelm {

// The values both kinds of record carry (windings B, C and H: high, medium, low).
struct TTransform3Values : TBaseElement {
    double Snom = 0;    // rated power, kV·A
    std::string AddStr; // free comment
    double UnomB = 0;   // winding voltages, kV
    double UnomC = 0;
    double UnomH = 0;
    double Pxx = 0;     // no-load losses, kW
    double Ixx = 0;     // no-load current, %
    double PkzBC = 0;   // short-circuit losses of each winding pair, kW
    double PkzBH = 0;
    double PkzCH = 0;
    double UkBC = 0;    // short-circuit voltage of each winding pair, %
    double UkBH = 0;
    double UkCH = 0;
    double SobmB = 0;   // winding power in per cent of the rated power
    double SobmC = 0;
    double SobmH = 0;
    std::int16_t NumberOtpB = 0;  // tap steps on each side of the middle, first regulated winding
    double DeltaUotpB = 0;        // voltage step of one of its taps, %
    std::int16_t NumberOtpC = 0;  // the same for the second regulated winding
    double DeltaUotpC = 0;
};

struct TTransform3 final : TTransform3Values {
    const char* ClassName() const override { return "TTransform3"; }
};

struct TTransformA final : TTransform3Values {
    const char* ClassName() const override { return "TTransformA"; }
    // The autotransformer dialog copies through its record.
    void CopyValues(TTransformA* destination) const;
};

const Category<TTransform3>& Transforms3Category();
const Category<TTransformA>& TransformsACategory();

class TTransforms3 : public TCategoryCollection<TTransform3, TXMLClass> {
public:
    TTransforms3() : TCategoryCollection(Transforms3Category()) {}
};

class TTransformsA : public TCategoryCollection<TTransformA, TXMLClass> {
public:
    TTransformsA() : TCategoryCollection(TransformsACategory()) {}
};

}  // namespace kelm
