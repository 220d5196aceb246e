#include "core/regional.h"

#include <langinfo.h>
#include <locale.h>

namespace kelm {
namespace {

std::string FormatTime(const std::string& pattern, const std::tm& tm) {
    char buffer[128];
    const std::size_t n = std::strftime(buffer, sizeof buffer, pattern.c_str(), &tm);
    return std::string(buffer, n);
}

}  // namespace

RegionalSettings RegionalSettings::FromEnvironment() {
    RegionalSettings settings;
    locale_t numeric = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (numeric != static_cast<locale_t>(0)) {
        const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
        if (radix && (radix[0] == ',' || radix[0] == '.') && radix[1] == '\0')
            settings.decimalSeparator = radix[0];
        freelocale(numeric);
    }
    locale_t time = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (time != static_cast<locale_t>(0)) {
        const char* date = nl_langinfo_l(D_FMT, time);
        const char* clock = nl_langinfo_l(T_FMT, time);
        if (date && *date) settings.shortDateFormat = date;
        if (clock && *clock) settings.longTimeFormat = clock;
        freelocale(time);
    }
    return settings;
}

std::string RegionalSettings::ModificationStamp(std::time_t when) const {
    std::tm tm{};
    localtime_r(&when, &tm);
    return FormatTime(shortDateFormat, tm) + "  " + FormatTime(longTimeFormat, tm);
}

}  // namespace kelm
