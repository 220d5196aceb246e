#pragma once
// Record values as the property dialogs show them in their edits, and the
// edits' texts read back into records, with the two ways an OK can be refused.

#include <QString>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>

#include "core/element.h"
#include "core/field.h"
#include "core/number_text.h"

namespace kelm {

// How the check of a dialog's entries ended.
enum class EntryCheck {
    Passed,
    OutOfRange,    // a value at or beyond its limit
    NotConverted,  // a required value is empty, or a text is not a number
};

// The message a refused OK shows; empty for Passed.
QString RefusalMessage(EntryCheck check);

// Raised by a check when a value is at or beyond its limit.
class OutOfRangeError : public std::runtime_error {
public:
    OutOfRangeError() : std::runtime_error("value out of range") {}
};

// Runs the reading back and checking of a dialog's entries: an OutOfRangeError
// or a number too large for its type means OutOfRange, any other failure NotConverted.
EntryCheck CheckEntries(const std::function<void()>& readBack);

// Limits are strict: the value must stay below. An unset optional value
// (NotSet) passes every positive limit.
void Below(double value, double limit);
// A value read back against the limits its category states for the field;
// an unset value has none.
void CheckLimit(const FieldFacts& field, double value);

class EntryText {
public:
    explicit EntryText(const NumberText& numbers) : numbers_(numbers) {}

    const NumberText& Numbers() const { return numbers_; }

    // Showing: numbers with the user's decimal separator; an unset optional value as an empty edit.
    QString Number(double value) const;
    QString OptionalNumber(double value) const;
    static QString Whole(std::int64_t value);
    static QString OptionalWhole(std::int64_t value);
    static QString Text(const std::string& cp1251);

    // Reading: a required value must convert (ConversionError otherwise); an
    // optional one that is blank after trimming gives NotSet. A whole number
    // beyond what its field holds is out of range.
    double ReadNumber(const QString& text) const;
    double ReadOptionalNumber(const QString& text) const;
    template <class Int>
    static Int ReadWhole(const QString& text);
    template <class Int>
    static Int ReadOptionalWhole(const QString& text);
    static std::string ReadText(const QString& text);

private:
    static std::int64_t ReadInteger(const QString& text, std::int64_t lowest, std::int64_t highest);
    NumberText numbers_;
};

template <class Int>
Int EntryText::ReadWhole(const QString& text) {
    using Limits = std::numeric_limits<Int>;
    return static_cast<Int>(ReadInteger(text, Limits::min(), Limits::max()));
}

template <class Int>
Int EntryText::ReadOptionalWhole(const QString& text) {
    return text.trimmed().isEmpty() ? static_cast<Int>(NotSet) : ReadWhole<Int>(text);
}

}  // namespace kelm
