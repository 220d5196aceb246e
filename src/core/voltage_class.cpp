#include "core/voltage_class.h"

#include <algorithm>
#include <utility>

#include "core/element.h"

namespace kelm {

double VoltageClass(double u) {
    // Going down the table, the first bound above u gives the class.
    static constexpr std::pair<double, double> kClasses[] = {
        {0.1, 0},   {0.3, 0.22}, {0.5, 0.38}, {1, 0.66},  {4, 3},     {8, 6},
        {12.5, 10}, {17.5, 15},  {23, 20},    {32, 27.5}, {72, 35},   {130, 110},
        {190, 150}, {280, 220},  {400, 330},  {650, 500}, {1000, 750},
    };
    for (const auto& [bound, voltageClass] : kClasses)
        if (u < bound) return voltageClass;
    return 1150;
}

std::vector<double> VoltageClassesOf(const TReference* left, const TReference* right) {
    std::vector<double> classes;
    for (const TReference* reference : {left, right}) {
        if (!reference) continue;
        for (int c = 0; c < reference->CategoryCount(); ++c) {
            const TXMLCustomClass* collection = reference->GetCollection(c);
            for (int i = 0; i < collection->Count(); ++i) {
                const double u = collection->GetItem(i)->Unom;
                if (SameValue(0, u)) continue;
                const double voltageClass = VoltageClass(u);
                if (std::none_of(classes.begin(), classes.end(),
                                 [&](double known) { return SameValue(known, voltageClass); }))
                    classes.push_back(voltageClass);
            }
        }
    }
    std::sort(classes.begin(), classes.end());
    return classes;
}

bool TreeFilters::PassesTypeFilter(const char* collectionClass) const {
    return TypeFilter == "all" || TypeFilter == collectionClass;
}

bool TreeFilters::PassesVoltageFilter(double u, const NumberText& numbers) const {
    return VoltageFilter == "all" || numbers.Format(VoltageClass(u)) == VoltageFilter;
}

bool TreeFilters::PassesNetworkFilter(const TBaseElement& record, const NetworkUse& network) const {
    return !UnusedInNetwork || !network.Known() || network.CountOf(record) == 0;
}

}  // namespace kelm
