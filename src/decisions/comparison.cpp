#include "decisions/comparison.h"

#include <algorithm>

namespace kelm {

const char* PresenceText(Presence presence) {
    switch (presence) {
        case Presence::Present: return "есть";
        case Presence::CommentOnly: return "комментарий";
        case Presence::Absent: return "нет";
    }
    return "";
}

CatalogueComparison::CatalogueComparison(const TReference& left, const TReference& right) {
    const int categories = std::max(left.CategoryCount(), right.CategoryCount());
    left_.resize(static_cast<std::size_t>(categories));
    right_.resize(static_cast<std::size_t>(categories));
    for (int c = 0; c < categories; ++c) {
        const TXMLCustomClass* l = left.GetCollection(c);
        const TXMLCustomClass* r = right.GetCollection(c);
        if (!l || !r) continue;
        CompareCategory(*l, *r, left_[static_cast<std::size_t>(c)]);
        CompareCategory(*r, *l, right_[static_cast<std::size_t>(c)]);
    }
}

// Each look-up goes through the other collection's index: n log n for the whole category.
void CatalogueComparison::CompareCategory(const TXMLCustomClass& mine, const TXMLCustomClass& other,
                                          DifferenceCounts& counts) {
    for (int i = 0; i < mine.Count(); ++i) {
        const TBaseElement& record = *mine.GetItem(i);
        if (record.Deleted == 1 || other.FindSameKept(record, true)) continue;
        if (other.FindSameKept(record, false)) {
            differing_.emplace(&record, Presence::CommentOnly);
            ++counts.commentOnly;
        } else {
            differing_.emplace(&record, Presence::Absent);
            ++counts.absent;
        }
    }
}

Presence CatalogueComparison::StateOf(const TBaseElement& record) const {
    const auto found = differing_.find(&record);
    return found == differing_.end() ? Presence::Present : found->second;
}

bool CatalogueComparison::Same() const { return differing_.empty(); }

}  // namespace kelm
