#pragma once
// Whether a catalogue is sound: every record held to its property dialog's
// limits and required fields, to its category's soundness rules, and to
// being the only one of its identity. Records marked deleted take no part:
// the next save drops them.

#include <string>
#include <vector>

#include "core/reference.h"

namespace kelm {

struct Finding {
    Severity severity;
    int category;                // index in the container
    const TBaseElement* record;  // one of the category's records
    std::string message;         // UTF-8
};

// The findings by category, then by record in the collection's order.
std::vector<Finding> CheckCatalogue(const TReference& reference, const NumberText& numbers);

// "ошибка", "предупреждение".
const char* SeverityText(Severity severity);

// The message of two or more records of one identity.
inline constexpr const char* kRepeatedIdentity = "повторяется";

}  // namespace kelm
