#pragma once
// The one place where numbers become text and text becomes numbers.
// Text follows the runtime's general format: shortest form with up to 15
// significant digits and the user's decimal separator. Nothing here depends on
// the C locale, so the process locale set by a toolkit cannot change it.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kelm {

class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A well-formed number whose size is beyond what its type holds.
class NumberTooLargeError : public ConversionError {
public:
    using ConversionError::ConversionError;
};

class NumberText {
public:
    explicit NumberText(char decimalSeparator = '.') : separator_(decimalSeparator) {}

    char DecimalSeparator() const { return separator_; }

    std::string Format(double value) const;
    static std::string Format(std::int64_t value);
    // Appends to `key` a short form of `value` that equals another value's
    // exactly when the two Format alike, for indexing values without text.
    static void AppendFormKey(double value, std::string& key);

    // Text typed by the user: only the user's separator is a decimal separator.
    double ParseDouble(std::string_view text) const;
    // Text from an exchange file: "." and "," are both taken, so files written
    // under other regional settings open too.
    static double ParseDoubleAnySeparator(std::string_view text);
    // Plain whole numbers, optionally signed; surrounding blanks are ignored.
    // Both parsers raise NumberTooLargeError for a number too large for its type.
    static std::int64_t ParseInteger(std::string_view text);

private:
    char separator_;
};

}  // namespace kelm
