#pragma once
// What a person and every format need to know of one field of a category,
// without knowing the record type: its names, its kind, whether it may be
// unset, its limits. The category tables state these facts once; the
// exchange file, the comparison, the checks and the spreadsheets read them.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace kelm {

class NumberText;

enum class FieldKind : std::uint8_t {
    Text,    // Windows-1251 in memory
    Number,  // a double
    Whole,   // a whole number
    Choice,  // a whole number that stands for one of a few named items
};

// One item of a choice: the stored value and what the dialog's list shows (UTF-8).
struct ChoiceItem {
    std::int32_t value;
    const char* text;
};

// A bound of the values a field may take.
struct Bound {
    double value;
    bool included;  // the bound itself is allowed
};

struct Limits {
    std::optional<Bound> lower{};
    std::optional<Bound> upper{};
};

// The bounds the property dialogs check: almost all of them keep a value
// strictly below a limit.
inline constexpr Limits Below(double limit) { return {.upper = Bound{limit, false}}; }
inline constexpr Limits AtMost(double limit) { return {.upper = Bound{limit, true}}; }
// The bounds physics sets: powers and impedances above zero, losses not below it.
inline constexpr Limits Above(double limit) { return {.lower = Bound{limit, false}}; }
inline constexpr Limits AtLeast(double limit) { return {.lower = Bound{limit, true}}; }
// A share in per cent of a whole that is set and smaller than the whole.
inline constexpr Limits ShareAboveZero() { return {.lower = Bound{0, false}, .upper = Bound{100, false}}; }
inline constexpr Limits ShareOrZero() { return {.lower = Bound{0, true}, .upper = Bound{100, false}}; }

// Whether a set value keeps within the limits.
bool WithinLimits(const Limits& limits, double value);

enum FieldFlag : unsigned {
    // Holds NotSet when the catalogue has no value: the default of a new
    // record, read from NULL, written as NULL, left out of the exchange file.
    // A text field so marked is written as NULL when it is blank.
    Optional = 1u << 0,
    // A double read from its column as a whole number.
    ReadAsInteger = 1u << 1,
    // The identifier of a row in one database: it means nothing in another,
    // so no comparison, merge or spreadsheet takes it.
    RowId = 1u << 2,
    // The property dialog refuses to close without a value here.
    Required = 1u << 3,
};

struct FieldFacts {
    const char* element;   // exchange-file field element
    const char* caption;   // what the dialog calls it, with its unit (UTF-8)
    unsigned flags = 0;
    Limits limits{};
    std::span<const ChoiceItem> items{};  // a choice's items
    FieldKind kind = FieldKind::Text;     // follows from the member and the items

    bool Is(FieldFlag flag) const { return (flags & flag) != 0; }
    // The item of a choice with this value, or none.
    const ChoiceItem* ItemOf(std::int64_t value) const;
};

// How a record breaks a limit, with the message the property dialog refuses it with.
enum class ViolationKind : std::uint8_t {
    OutOfRange,  // "Введены некорректные данные"
    Missing,     // "Не введены обязательные данные"
};

struct FieldViolation {
    int field;  // index in the category's field list
    ViolationKind kind;
};

// The dialogs' message for a violation (UTF-8).
const char* ViolationMessage(ViolationKind kind);

// How grave a fault of a catalogue is: an error makes the calculations fail
// or go wrong, a warning asks someone to look.
enum class Severity : std::uint8_t { Error, Warning };

// A rule of soundness that a record breaks, told in words (UTF-8).
struct RuleBreach {
    Severity severity;
    std::string message;
};

// The words of the soundness checks, one place for every category (UTF-8).
// A caption "Номинальная мощность, кВ·А" is the name before its last ", "
// and the unit after it.
std::string BoundBreachMessage(const char* caption, double value, const Limits& limits, const NumberText& numbers);
struct TermText {
    const char* name;
    const char* unit;
    std::string value;
};
// "left value unit больше right value unit (shown, ...)"; "не больше" for a
// left one that was to be above the right one.
std::string RelationBreachMessage(const TermText& left, bool wasToBeAbove, const TermText& right,
                                  const std::vector<TermText>& shown);
// A figured value for a message: four significant digits are what a reader compares.
std::string FiguredText(double value, const NumberText& numbers);

// The one rule by which two values of a field are equal: they are written
// alike in an exchange file. Doubles as their text (15 significant digits),
// so values that differ only beyond what a file keeps are equal; an unset
// value equals only an unset one.
bool WrittenAlike(double a, double b);
// Texts byte for byte; a text of nothing but blanks is unset, like no text.
bool WrittenAlike(const std::string& a, const std::string& b);
inline bool WrittenAlike(std::int64_t a, std::int64_t b) { return a == b; }

}  // namespace kelm
