#include "core/field.h"

#include <cmath>
#include <cstring>
#include <string_view>

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

namespace {

// A number with its unit: "1000 кВ·А", "0,5" without one.
std::string WithUnit(const std::string& value, std::string_view unit) {
    return unit.empty() ? value : value + " " + std::string(unit);
}

std::string TermWords(const TermText& term) {
    const std::string value = WithUnit(term.value, term.unit);
    return *term.name ? std::string(term.name) + " " + value : value;
}

}  // namespace

std::string BoundBreachMessage(const char* caption, double value, const Limits& limits, const NumberText& numbers) {
    const std::string_view whole(caption);
    const std::size_t comma = whole.rfind(", ");
    const std::string_view name = whole.substr(0, comma);
    const std::string_view unit = comma == std::string_view::npos ? std::string_view() : whole.substr(comma + 2);
    const bool belowLower = limits.lower && !WithinLimits({.lower = limits.lower}, value);
    const Bound& bound = belowLower ? *limits.lower : *limits.upper;
    const char* words = belowLower ? (bound.included ? " меньше " : " не больше ")
                                   : (bound.included ? " больше " : " не меньше ");
    return std::string(name) + " " + WithUnit(numbers.Format(value), unit) + words +
           WithUnit(numbers.Format(bound.value), unit);
}

std::string RelationBreachMessage(const TermText& left, bool wasToBeAbove, const TermText& right,
                                  const std::vector<TermText>& shown) {
    std::string message = TermWords(left) + (wasToBeAbove ? " не больше " : " больше ") + TermWords(right);
    for (std::size_t i = 0; i < shown.size(); ++i) message += (i == 0 ? " (" : ", ") + TermWords(shown[i]);
    if (!shown.empty()) message += ")";
    return message;
}

std::string FiguredText(double value, const NumberText& numbers) {
    if (value == 0 || !std::isfinite(value)) return numbers.Format(value);
    const double scale = std::pow(10.0, 3 - std::floor(std::log10(std::fabs(value))));
    return numbers.Format(std::round(value * scale) / scale);
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
