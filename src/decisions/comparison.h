#pragma once
// Two loaded catalogues side by side: for each element of either, whether the
// other catalogue's same category holds it ("есть"), holds it with another
// comment ("комментарий") or lacks it ("нет"), on the duplicate rules of a
// copy. A record marked deleted is as good as gone on both sides: it is never
// anyone's equal and has no state of its own.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "core/reference.h"

namespace kelm {

enum class Presence : std::uint8_t { Present, CommentOnly, Absent };

// "есть", "комментарий", "нет".
const char* PresenceText(Presence presence);

// The elements of one category of one catalogue that differ from the other.
struct DifferenceCounts {
    int absent = 0;
    int commentOnly = 0;

    bool None() const { return absent == 0 && commentOnly == 0; }
};

class CatalogueComparison {
public:
    // Compares every category of `left` with the same category of `right`.
    // The states are those of this moment: records changed, added or freed
    // afterwards call for a new comparison.
    CatalogueComparison(const TReference& left, const TReference& right);

    // The state of a record of either catalogue (Present for a deleted one).
    Presence StateOf(const TBaseElement& record) const;
    DifferenceCounts LeftCounts(int category) const { return left_.at(static_cast<std::size_t>(category)); }
    DifferenceCounts RightCounts(int category) const { return right_.at(static_cast<std::size_t>(category)); }
    // Whether no element of either catalogue differs.
    bool Same() const;

private:
    void CompareCategory(const TXMLCustomClass& mine, const TXMLCustomClass& other, DifferenceCounts& counts);

    std::unordered_map<const TBaseElement*, Presence> differing_;  // only records that are not Present
    std::vector<DifferenceCounts> left_, right_;
};

}  // namespace kelm
