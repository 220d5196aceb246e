#pragma once
// A category's soundness rules run over one record: written once over the
// Category description, the messages in the shared words of field.h.

#include <cmath>
#include <limits>
#include <vector>

#include "core/category.h"
#include "core/category_fields.h"
#include "core/number_text.h"

namespace kelm {

namespace detail {

template <class R>
double TermValue(const Term<R>& term, const R& record) {
    if (term.figure) return term.figure(record);
    const double value = record.*term.field;
    return IsValueSet(value) ? value : std::numeric_limits<double>::quiet_NaN();
}

// A field's value as it stands; a figured one rounded for reading.
template <class R>
TermText TermTextOf(const Term<R>& term, double value, const NumberText& numbers) {
    return {term.name, term.unit, term.figure ? FiguredText(value, numbers) : numbers.Format(value)};
}

// Differences below this share of the values are the rounding of the figures.
inline bool Exceeds(double left, double right) {
    return left - right > 1e-9 * std::max(std::fabs(left), std::fabs(right));
}

}  // namespace detail

// The field index of every bound rule, found once per collection.
template <class R>
std::vector<int> BoundFieldsOf(const Category<R>& category) {
    std::vector<Member<R>> members;
    for (const BoundRule<R>& rule : category.soundness.bounds) members.push_back(rule.field);
    return FieldIndexesOf(category, members);
}

// Every soundness rule of the category that the record breaks, bounds first,
// in the order of the table. `boundFields` is BoundFieldsOf(category).
template <class R>
std::vector<RuleBreach> CheckSoundness(const Category<R>& category, const std::vector<int>& boundFields,
                                       const R& record, const NumberText& numbers) {
    std::vector<RuleBreach> breaches;
    const Soundness<R>& rules = category.soundness;
    for (std::size_t i = 0; i < rules.bounds.size(); ++i) {
        const BoundRule<R>& rule = rules.bounds[i];
        if (rule.applies && !rule.applies(record)) continue;
        const FieldDef<R>& field = category.fields[static_cast<std::size_t>(boundFields[i])];
        const auto number = detail::NumberOf(field, record);
        if (number && !WithinLimits(rule.limits, *number))
            breaches.push_back({rule.severity, BoundBreachMessage(field.caption, *number, rule.limits, numbers)});
    }
    for (const RelationRule<R>& rule : rules.relations) {
        if (rule.applies && !rule.applies(record)) continue;
        const double left = detail::TermValue(rule.left, record);
        const double right = detail::TermValue(rule.right, record);
        if (std::isnan(left) || std::isnan(right)) continue;  // a missing value is the dialog's fault to report
        const bool above = rule.relation == Relation::Above;
        if (above ? detail::Exceeds(left, right) : !detail::Exceeds(left, right)) continue;
        std::vector<TermText> shown;
        for (const Term<R>& term : rule.shown)
            shown.push_back(detail::TermTextOf(term, detail::TermValue(term, record), numbers));
        breaches.push_back({rule.severity, RelationBreachMessage(detail::TermTextOf(rule.left, left, numbers), above,
                                                                 detail::TermTextOf(rule.right, right, numbers), shown)});
    }
    return breaches;
}

}  // namespace kelm
