#pragma once
// Electricity meters: "MetersRef", "KelmMetersRefs"/"KelmMetersRef".

#include "core/category_collection.h"

namespace kelm {

// The inherited Unom stays 0: a meter keeps its voltage as text.
struct TMetersRef final : TBaseElement {
    const char* ClassName() const override { return "TMetersRef"; }
    std::string UnomText;                   // rated voltage, kV, as text
    std::int16_t Power = 0;                 // 1 active, 2 reactive, 3 both
    std::int16_t Reverse = 0;               // 0 one direction, 1 two
    std::int16_t AccuracyClass = 0;         // "Ident" of the accuracy class in "MeterACs"
    std::int16_t RevoCount = 0;             // revolutions per 1 kW·h
    std::int16_t NumberCount = 0;           // digits of the register
    std::int16_t CalibrationInterval = 0;   // years between verifications
    std::int16_t ServiceLife = 0;           // average service life, years
    std::string Manufacturer;
    std::int16_t Inom = 0;                  // rated current, A
    std::int16_t TariffCount = 0;
    std::int16_t WorkTemperatureLow = 0;    // °C
    std::int16_t WorkTemperatureHigh = 0;   // °C
    double Sensitivity = 0;
    double Capacity = 0;                    // apparent power of the circuit, V·A
    double Pu = 0;                          // active power of the voltage circuit, W
    double Si = 0;                          // apparent power of the current circuit, V·A
    std::int32_t PrefailureLife = 0;        // mean time to failure
};

const Category<TMetersRef>& MetersRefsCategory();

// The working temperatures of a meter or an instrument transformer, compared
// as stored: a blank upper bound is its NotSet value, so a lower bound alone
// is refused, as the dialogs refuse it.
template <class R>
bool TemperatureRangeInOrder(const R& r) {
    return r.WorkTemperatureHigh >= r.WorkTemperatureLow;
}

class TMetersRefs : public TCategoryCollection<TMetersRef, TXMLCustomClass> {
public:
    TMetersRefs() : TCategoryCollection(MetersRefsCategory()) {}
};

}  // namespace kelm
