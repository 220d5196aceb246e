#include "core/element.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelm {

bool IsValueSet(const std::string& value) {
    return std::any_of(value.begin(), value.end(),
                       [](char c) { return static_cast<unsigned char>(c) > 32; });
}

bool SameValue(double a, double b) {
    const double epsilon = std::max(std::min(std::fabs(a), std::fabs(b)) * 1e-12, 1e-12);
    return std::fabs(a - b) <= epsilon;
}

int CompareBytes(const std::string& a, const std::string& b) {
    // std::string::compare uses char_traits<char>, which compares as unsigned char.
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace kelm
