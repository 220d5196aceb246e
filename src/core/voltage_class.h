#pragma once
// The filters above the two trees: one category and one voltage class.

#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/reference.h"

namespace kelm {

// The standard voltage class of a rated voltage in kV.
double VoltageClass(double u);

// The distinct classes of every record of both containers (records at 0 kV
// add none), ascending.
std::vector<double> VoltageClassesOf(const TReference* left, const TReference* right);

struct TreeFilters {
    std::string TypeFilter = "all";     // "all" or a collection class name
    std::string VoltageFilter = "all";  // "all" or a class as the voltage box writes it

    bool PassesTypeFilter(const char* collectionClass) const;
    bool PassesVoltageFilter(double u, const NumberText& numbers) const;
};

}  // namespace kelm
