#pragma once
// The user's regional settings that the catalogue text depends on: the
// decimal separator and the date and time formats of the "modification" stamp.

#include <ctime>
#include <string>

#include "core/number_text.h"

namespace kelm {

struct RegionalSettings {
    char decimalSeparator = '.';
    std::string shortDateFormat = "%d.%m.%Y";  // strftime patterns
    std::string longTimeFormat = "%H:%M:%S";

    // Read from the environment (LC_ALL, LC_NUMERIC, LC_TIME, LANG) without
    // changing the process locale.
    static RegionalSettings FromEnvironment();

    NumberText Numbers() const { return NumberText(decimalSeparator); }
    // The date, two blanks and the time, as the exchange file stamps it.
    std::string ModificationStamp(std::time_t when) const;
};

}  // namespace kelm
