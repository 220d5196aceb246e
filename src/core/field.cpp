#include "core/field.h"

#include <cmath>
#include <cstring>

#include "core/element.h"
#include "core/number_text.h"

namespace kelm {

bool WithinLimits(const Limits& limits, double value) {
    if (const auto& low = limits.lower) {
        if (value < low->value || (value == low->value && !low->included)) return false;
    }
    if (const auto& high = limits.upper) {
        if (value > high->value || (value == high->value && !high->included)) return false;
    }
    return true;
}

const ChoiceItem* FieldFacts::ItemOf(std::int64_t value) const {
    for (const ChoiceItem& item : items)
        if (item.value == value) return &item;
    return nullptr;
}

const char* ViolationMessage(ViolationKind kind) {
    return kind == ViolationKind::OutOfRange ? "Введены некорректные данные" : "Не введены обязательные данные";
}

bool WrittenAlike(double a, double b) {
    if (std::memcmp(&a, &b, sizeof a) == 0) return true;
    if (IsValueSet(a) != IsValueSet(b)) return false;
    // Fifteen significant digits cannot tell apart values closer than about
    // 1e-14 of their size; values farther apart than that are written apart.
    const double size = std::max(std::fabs(a), std::fabs(b));
    if (std::fabs(a - b) > size * 1e-13) return false;
    const NumberText file;
    return file.Format(a) == file.Format(b);
}

bool WrittenAlike(const std::string& a, const std::string& b) {
    const bool set = IsValueSet(a);
    if (set != IsValueSet(b)) return false;
    return !set || a == b;
}

}  // namespace kelm
