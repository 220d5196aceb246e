#pragma once
// Two-winding power transformers: "Transforms2", "KelmTransforms"/"KelmTransfor".

#include <limits>

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

// The soundness rules every kind of transformer shares.

// `value` as per cent of the rated power: the active part of a short-circuit
// voltage from its losses, the no-load loss beside the no-load current. Not
// figured without a rated power (a fault of its own).
inline double PercentOfPower(double kilowatts, double kilovoltAmperes) {
    return kilovoltAmperes > 0 ? kilowatts / kilovoltAmperes * 100 : std::numeric_limits<double>::quiet_NaN();
}

template <class R, auto Losses>
double PercentOfRatedPower(const R& r) {
    return PercentOfPower(r.*Losses, r.Snom);
}

// The no-load loss may not exceed what the no-load current draws: it is the
// active part of that current.
template <class R>
RelationRule<R> NoLoadLossWithinCurrent() {
    return {{"Потери холостого хода", "%", PercentOfRatedPower<R, &R::Pxx>},
            Relation::AtMost,
            {"Iх.х.", "%", &R::Ixx},
            {{"Pх.х.", "кВт", &R::Pxx}, {"Sном", "кВ·А", &R::Snom}},
            Severity::Warning};
}

// The short-circuit losses figure the active part of the short-circuit
// voltage, which cannot be larger than the voltage itself.
template <class R>
RelationRule<R> ActivePartWithinVoltage(const char* activePart, const char* voltage, double R::*uk,
                                        const char* losses, double R::*pkz, double (*part)(const R&),
                                        Term<R> power = Term<R>("Sном", "кВ·А", &R::Snom)) {
    return {{activePart, "%", part}, Relation::AtMost, {voltage, "%", uk}, {{losses, "кВт", pkz}, power}};
}

template <class R>
RelationRule<R> HigherWindingAbove(const char* higher, double R::*lower, const char* lowerName) {
    return {{higher, "кВ", &R::UnomB}, Relation::Above, {lowerName, "кВ", lower}};
}

class TTransforms : public TCategoryCollection<TTransform, TXMLClass> {
public:
    TTransforms() : TCategoryCollection(TransformsCategory()) {}
};

}  // namespace kelm
