#pragma once
// Switching devices: "SwitchGR", "KelmSwitchGRs"/"KelmSwitchGR". Every device
// refers to a device type row of "SwitchGN" by identifier and carries the
// type's name too.

#include "core/category_collection.h"

namespace kelm {

struct TSwitchGR final : TBaseElement {
    const char* ClassName() const override { return "TSwitchGR"; }
    std::int16_t SwitchGType = 0;  // "Ident" of the device's type row in "SwitchGN"
    std::string AddStr;            // free comment
    double Inom = 0;               // rated current, kA
    double Ioff = 0;               // breaking current, kA
    double Id = 0;                 // dynamic withstand current, kA
    double It = 0;                 // thermal withstand current, kA
    double Toff = 0;               // opening time, s
    double Ton = 0;                // closing time, s
    std::string Name;              // the type's name ("Name" of the "SwitchGN" row)
};

const Category<TSwitchGR>& SwitchGRsCategory();

class TSwitchGRs : public TCategoryCollection<TSwitchGR, TXMLClass> {
public:
    TSwitchGRs() : TCategoryCollection(SwitchGRsCategory()) {}
};

// Makes sure the target database has a type row named as the record's Name,
// creating it when missing, and gives the record that row's identifier.
void EnsureSwitchType(TSwitchGR& record, TRef_DataModule& db);

}  // namespace kelm
