#pragma once
// The element record base shared by all 19 categories, and the value tests
// every collection uses.

#include <cstdint>
#include <string>

namespace kelm {

// An optional value that the catalogue does not have: NULL in the database,
// no element in the exchange file.
inline constexpr int NotSet = -1000;

struct TBaseElement {
    virtual ~TBaseElement() = default;
    // The record's class name ("TTransform", "TProvod", ...); the workbench
    // picks duplicate groups and dialogs by it.
    virtual const char* ClassName() const = 0;

    std::uint8_t Deleted = 0;  // marked for deletion; dropped when the collection is saved
    std::uint8_t Added = 0;    // written at the next database save
    std::int32_t Ident = 0;    // row identifier; below 1 means not yet in the target database
    std::string Marka;         // type designation, Windows-1251
    double Unom = 0;           // rated voltage, kV

protected:
    TBaseElement() = default;
    TBaseElement(const TBaseElement&) = default;
    TBaseElement& operator=(const TBaseElement&) = default;
};

// A string is set when something other than blanks and control characters remains.
bool IsValueSet(const std::string& value);
inline bool IsValueSet(double value) { return value != NotSet; }
inline bool IsValueSet(std::int32_t value) { return value != NotSet; }
inline bool IsValueSet(std::int16_t value) { return value != NotSet; }

// Fuzzy equality of doubles: |a - b| <= max(min(|a|, |b|) * 1e-12, 1e-12).
bool SameValue(double a, double b);

// Ordinal comparison of Windows-1251 strings: unsigned bytes, shorter prefix first.
int CompareBytes(const std::string& a, const std::string& b);

}  // namespace kelm
