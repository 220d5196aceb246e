#pragma once
// Lines and cables: "Provods" joined with its conductor types "ProvodTypes",
// the null conductors of low-voltage cables in "Cables";
// "KelmProvods"/"KelmProvod".

#include "core/category_collection.h"

namespace kelm {

struct TProvod final : TBaseElement {
    const char* ClassName() const override { return "TProvod"; }
    std::int16_t ProvodType = 0;  // "Ident" of the conductor type in the database last read or written
    double F = 0;                 // cross-section, mm² (whole numbers in the database)
    std::string AddStr;           // free comment
    double R0 = 0;                // active resistance, Ohm/km
    double X0 = 0;                // reactive resistance, Ohm/km
    double B0 = 0;                // susceptance, µS/km
    std::int16_t Idop = 0;        // permissible current, A
    double G0 = 0;                // conductance
    double TgDelta = 0;           // dielectric loss factor
    std::int16_t CableFlags = 0;  // conductor type flags; kCableFlag marks a cable
    double PhaseNull_F = 0;       // the null conductor of a low-voltage cable ...
    double PhaseNull_R0 = 0;
    double PhaseNull_X0 = 0;
    double PhaseNull_B0 = 0;
    std::int16_t PhaseNull_Idop = 0;
    std::int16_t NumberPhases = 3;  // phase conductors
    std::string Name = "ac";        // conductor type name (the line type)
};

inline constexpr std::int16_t kCableFlag = 2;

// A cable below 1 kV: the kind of conductor that may have a null conductor of its own.
bool IsLowVoltageCable(const TProvod& record);

const Category<TProvod>& ProvodsCategory();

class TProvods : public TCategoryCollection<TProvod, TXMLClass> {
public:
    TProvods() : TCategoryCollection(ProvodsCategory()) {}
};

// Finds the record's conductor type (Unom, Name, CableFlags) in the connected
// database, or creates it, and keeps its identifier in ProvodType.
void EnsureProvodType(TProvod& record, TRef_DataModule& db);

}  // namespace kelm
