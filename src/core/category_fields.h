#pragma once
// A category's fields read and written as text, compared by the one rule of
// equal values, and checked against their limits: written once over the
// Category description, for the collections to offer without templates.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/category.h"
#include "core/codec.h"
#include "core/number_text.h"

namespace kelm {

// The index of the field that stores `member`, or -1.
template <class R>
int FieldIndexOf(const Category<R>& category, const std::type_identity_t<Member<R>>& member) {
    for (std::size_t i = 0; i < category.fields.size(); ++i)
        if (category.fields[i].member == member) return static_cast<int>(i);
    return -1;
}

// The indexes of `members` in the field list; a member that is no field is a
// fault of the table.
template <class R>
std::vector<int> FieldIndexesOf(const Category<R>& category, const std::vector<Member<R>>& members) {
    std::vector<int> indexes;
    for (const auto& member : members) {
        const int index = FieldIndexOf(category, member);
        if (index < 0) throw std::logic_error(std::string(category.collectionClass) + ": a member that is no field");
        indexes.push_back(index);
    }
    return indexes;
}

namespace detail {

template <class Int>
Int CheckedInteger(std::int64_t value, const char* what) {
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw ConversionError(std::to_string(value) + " не помещается в " + what);
    return static_cast<Int>(value);
}

template <class T>
using FieldValueType = std::remove_cvref_t<T>;

// A field's value as the exchange file writes it (text in UTF-8); empty when unset.
template <class R>
std::string FieldValueText(const FieldDef<R>& field, const R& record, const NumberText& numbers) {
    return std::visit(
        [&](auto member) -> std::string {
            const auto& value = record.*member;
            if (!IsValueSet(value)) return {};
            using T = FieldValueType<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) return Utf8FromCp1251(value);
            else if constexpr (std::is_same_v<T, double>) return numbers.Format(value);
            else return NumberText::Format(static_cast<std::int64_t>(value));
        },
        field.member);
}

// Appends to `key` a form of the field's value that equals another record's
// exactly when the two values are written alike; each value carries its
// length or kind, so that no value runs into the next.
template <class R>
void AppendFieldKey(const FieldDef<R>& field, const R& record, std::string& key) {
    std::visit(
        [&](auto member) {
            const auto& value = record.*member;
            using T = FieldValueType<decltype(value)>;
            if (!IsValueSet(value)) {
                key += '-';
            } else if constexpr (std::is_same_v<T, std::string>) {
                key += std::to_string(value.size());
                key += ':';
                key += value;
            } else if constexpr (std::is_same_v<T, double>) {
                key += 'd';
                NumberText::AppendFormKey(value, key);
            } else {
                const auto whole = static_cast<std::int64_t>(value);
                key += 'i';
                key.append(reinterpret_cast<const char*>(&whole), sizeof whole);
            }
        },
        field.member);
}

// Names the row of `table` that the record's values of `members` pick out
// (see TRef_DataModule::KnownSharedRow).
template <class R>
std::string SharedRowKey(const char* table, const Category<R>& category, const std::vector<Member<R>>& members,
                         const R& record) {
    std::string key = std::string(table) + ":";
    for (const int field : FieldIndexesOf(category, members))
        AppendFieldKey(category.fields[static_cast<std::size_t>(field)], record, key);
    return key;
}

// The whole number a choice's text stands for: an item's text, or the number itself.
inline std::int64_t ChoiceValue(const FieldFacts& field, std::string_view text) {
    for (const ChoiceItem& item : field.items)
        if (text == item.text) return item.value;
    try {
        return NumberText::ParseInteger(text);
    } catch (const ConversionError&) {
        std::string items;
        for (const ChoiceItem& item : field.items) items += std::string(items.empty() ? "" : ", ") + item.text;
        throw ConversionError("\"" + std::string(text) + "\" is none of " + items);
    }
}

inline std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

// Sets a field from text in UTF-8. Numbers take either decimal separator;
// blank text unsets an optional field, empties a text and leaves any other
// field as it is, as an exchange file without the field element does.
template <class R>
void SetFieldValueText(const FieldDef<R>& field, R& record, std::string_view text) {
    std::visit(
        [&](auto member) {
            auto& value = record.*member;
            using T = FieldValueType<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                std::string converted = Cp1251FromUtf8(text);
                value = IsValueSet(converted) ? std::move(converted) : std::string();
                return;
            } else {
                const std::string_view trimmed = Trimmed(text);
                if (trimmed.empty()) {
                    if (field.Is(Optional)) value = static_cast<T>(NotSet);
                    return;
                }
                if constexpr (std::is_same_v<T, double>) {
                    value = NumberText::ParseDoubleAnySeparator(trimmed);
                } else {
                    const std::int64_t whole =
                        field.kind == FieldKind::Choice ? ChoiceValue(field, trimmed) : NumberText::ParseInteger(trimmed);
                    value = CheckedInteger<T>(whole, field.element);
                }
            }
        },
        field.member);
}

template <class R>
bool SameFieldValue(const FieldDef<R>& field, const R& a, const R& b) {
    return std::visit(
        [&](auto member) {
            using T = FieldValueType<decltype(a.*member)>;
            if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, double>)
                return WrittenAlike(a.*member, b.*member);
            else
                return WrittenAlike(static_cast<std::int64_t>(a.*member), static_cast<std::int64_t>(b.*member));
        },
        field.member);
}

// A number the limits can be held against; none for a text or an unset value.
template <class R>
std::optional<double> NumberOf(const FieldDef<R>& field, const R& record) {
    return std::visit(
        [&](auto member) -> std::optional<double> {
            const auto& value = record.*member;
            using T = FieldValueType<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) return std::nullopt;
            else if (!IsValueSet(value)) return std::nullopt;
            else return static_cast<double>(value);
        },
        field.member);
}

template <class R>
bool IsFieldValueSet(const FieldDef<R>& field, const R& record) {
    return std::visit([&](auto member) { return IsValueSet(record.*member); }, field.member);
}

}  // namespace detail

// Every limit and required field of the category's property dialog that the
// record breaks, in the order of the fields, then its rules.
template <class R>
std::vector<FieldViolation> CheckRecord(const Category<R>& category, const R& record) {
    std::vector<FieldViolation> violations;
    for (std::size_t i = 0; i < category.fields.size(); ++i) {
        const FieldDef<R>& field = category.fields[i];
        const int index = static_cast<int>(i);
        if (field.Is(Required) && !detail::IsFieldValueSet(field, record)) {
            violations.push_back({index, ViolationKind::Missing});
        } else if (const auto number = detail::NumberOf(field, record); number && !WithinLimits(field.limits, *number)) {
            violations.push_back({index, ViolationKind::OutOfRange});
        }
    }
    for (const RecordRule<R>& rule : category.rules)
        if (!rule.holds(record)) violations.push_back({FieldIndexOf(category, rule.field), ViolationKind::OutOfRange});
    return violations;
}

// The facts of the field that stores `member`: the property dialogs check through them.
template <class R>
const FieldFacts& FactsOf(const Category<R>& category, const std::type_identity_t<Member<R>>& member) {
    const int index = FieldIndexOf(category, member);
    if (index < 0) throw std::logic_error(std::string(category.collectionClass) + ": a member that is no field");
    return category.fields[static_cast<std::size_t>(index)];
}

}  // namespace kelm
