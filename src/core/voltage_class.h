#pragma once
// The filters above the two trees: one category, one voltage class, and
// whether only the elements no network object uses are shown.

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
    bool UnusedInNetwork = false;       // "Показывать": "не используемые в сети"

    bool PassesTypeFilter(const char* collectionClass) const;
    bool PassesVoltageFilter(double u, const NumberText& numbers) const;
    // A source that cannot tell (an exchange file) is not filtered by use.
    bool PassesNetworkFilter(const TBaseElement& record, const NetworkUse& network) const;
};

}  // namespace kelm
