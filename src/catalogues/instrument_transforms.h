#pragma once
// Instrument transformers: current transformers ("TransformsIRef",
// "KelmTransformsIRefs"/"KelmTransformsIRef") and voltage transformers
// ("TransformsVRef", "KelmTransformsVRefs"/"KelmTransformsVRef"). The
// designation lives in the column "Indication"; the accuracy class is the
// "Ident" of a row of "MeterACs".

#include "core/category_collection.h"

namespace kelm {

struct TTransformsIRef final : TBaseElement {
    const char* ClassName() const override { return "TTransformsIRef"; }
    std::int16_t AccuracyClass = 0;
    std::int16_t I1nom = 0;             // rated primary current, A
    std::int16_t I2nom = 0;             // rated secondary current, A
    double RatedLoad = 0;               // V·A
    std::string Manufacturer;
    std::int32_t PrefailureLife = 0;    // service life before failure
    std::int16_t WorkTemperatureLow = 0;   // °C
    std::int16_t WorkTemperatureHigh = 0;  // °C
};

struct TTransformsVRef final : TBaseElement {
    const char* ClassName() const override { return "TTransformsVRef"; }
    std::int16_t AccuracyClass = 0;
    std::int16_t UnomB = 0;             // rated voltage of the primary winding, V
    double UnomH = 0;                   // rated voltage of the secondary winding, V
    double VoltageDrop = 0;             // voltage drop at threefold overload, %
    std::string Manufacturer;
    std::int32_t PrefailureLife = 0;    // service life before failure
    std::int16_t WorkTemperatureLow = 0;   // °C
    std::int16_t WorkTemperatureHigh = 0;  // °C
};

const Category<TTransformsIRef>& TransformsIRefsCategory();
const Category<TTransformsVRef>& TransformsVRefsCategory();

class TTransformsIRefs : public TCategoryCollection<TTransformsIRef, TXMLCustomClass> {
public:
    TTransformsIRefs() : TCategoryCollection(TransformsIRefsCategory()) {}
};

class TTransformsVRefs : public TCategoryCollection<TTransformsVRef, TXMLCustomClass> {
public:
    TTransformsVRefs() : TCategoryCollection(TransformsVRefsCategory()) {}
};

}  // namespace kelm
