#pragma once
// The two questions a copy asks of its target collection, answered without
// walking the whole collection: which record (the first in collection order)
// is equal to the copied one, and at which position the copy keeps the
// collection sorted. The answers are exactly those of the plain scans; where
// a fast answer could differ, Position says so and the caller scans.
//
// The lookup follows the collection's items as they were when it was built;
// the collection rebuilds it after any change it does not hand on here.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/category.h"
#include "core/record_list.h"

namespace kelm {

template <class R>
class CategoryLookup {
public:
    using Items = RecordList;

    explicit CategoryLookup(const Category<R>& category) : category_(category) {
        for (std::size_t k = 0; k + 1 < category.sortKeys.size(); ++k)
            if (const auto* member = std::get_if<double R::*>(&category.sortKeys[k])) windows_.push_back({*member, {}});
    }

    // Whether the lookup was built for (or kept up with) this state of the collection.
    bool UpToDate(std::uint64_t changes) const { return built_ == changes; }

    void Build(const Items& items, std::uint64_t changes) {
        labels_.clear();
        labels_.reserve(items.size());
        buckets_.clear();
        for (auto& [member, values] : windows_) values.clear();
        irregular_ = 0;
        sorted_ = true;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const R& record = Record(items[i]);
            if (i > 0 && KeyLess(record, Record(items[i - 1]))) sorted_ = false;
            Add(record, (i + 1) * kGap);
        }
        prefixMax_.clear();
        if (!sorted_) {
            prefixMax_.resize(items.size());
            for (std::size_t i = 0; i < items.size(); ++i) {
                const R& record = Record(items[i]);
                prefixMax_[i] = i > 0 && KeyLess(record, *prefixMax_[i - 1]) ? prefixMax_[i - 1] : &record;
            }
        }
        prefixMax_.shrink_to_fit();
        built_ = changes;
    }

    // The record now at `position` of `items` was inserted there; `changes`
    // counts that insertion. Anything but the common case is left to a
    // rebuild at the next question.
    void Inserted(const Items& items, std::size_t position, std::uint64_t changes) {
        const R& record = Record(items[position]);
        const R* previous = position > 0 ? &Record(items[position - 1]) : nullptr;
        const R* next = position + 1 < items.size() ? &Record(items[position + 1]) : nullptr;
        const std::uint64_t below = previous ? labels_.at(previous) : 0;
        const std::uint64_t above = next ? labels_.at(next) : below + 2 * kGap;
        if (above - below < 2) return;  // no label left in between
        if (sorted_) {
            if ((previous && KeyLess(record, *previous)) || (next && KeyLess(*next, record))) return;
        } else {
            const R* max = previous && KeyLess(record, *prefixMax_[position - 1]) ? prefixMax_[position - 1] : &record;
            prefixMax_.insert(prefixMax_.begin() + static_cast<std::ptrdiff_t>(position), max);
            for (std::size_t j = position + 1; j < prefixMax_.size() && KeyLess(*prefixMax_[j], record); ++j)
                prefixMax_[j] = &record;
        }
        Add(record, below + (above - below) / 2);
        built_ = changes;
    }

    // The first record, in collection order, for which `same` holds; only
    // records whose exactly compared fields equal those of `x` are tried.
    template <class Same>
    const R* FindFirst(const R& x, Same&& same) const {
        const auto bucket = buckets_.find(ExactHash(x));
        if (bucket == buckets_.end()) return nullptr;
        const R* first = nullptr;
        std::uint64_t firstLabel = 0;
        for (const Entry& entry : bucket->second)
            if ((!first || entry.label < firstLabel) && same(*entry.record)) {
                first = entry.record;
                firstLabel = entry.label;
            }
        return first;
    }

    // The first of the first `count` positions whose record sorts after `x`
    // (`count` when none does); none when only a scan can tell.
    std::optional<int> Position(const Items& items, const R& x, int count) const {
        if (count <= 0) return count;
        if (irregular_ > 0 || !Regular(x) || HasFuzzyNeighbourBelow(x)) return std::nullopt;
        if (sorted_) {
            const auto found = std::partition_point(items.begin(), items.begin() + count,
                                                    [&](const auto& item) { return !KeyLess(x, Record(item)); });
            return static_cast<int>(found - items.begin());
        }
        // The running maximum of the keys rises at the first record after x.
        const auto found = std::partition_point(prefixMax_.begin(), prefixMax_.begin() + count,
                                                [&](const R* max) { return !KeyLess(x, *max); });
        return static_cast<int>(found - prefixMax_.begin());
    }

    // Whether a's sort keys come before b's, every key compared exactly.
    bool KeyLess(const R& a, const R& b) const {
        for (const auto& key : category_.sortKeys) {
            int order = 0;
            std::visit(
                [&](auto member) {
                    const auto& av = a.*member;
                    const auto& bv = b.*member;
                    if constexpr (std::is_same_v<std::remove_cvref_t<decltype(av)>, std::string>)
                        order = CompareBytes(av, bv);
                    else
                        order = av < bv ? -1 : (bv < av ? 1 : 0);
                },
                key);
            if (order != 0) return order < 0;
        }
        return false;
    }

private:
    static constexpr std::uint64_t kGap = std::uint64_t{1} << 32;

    struct Entry {
        const R* record;
        std::uint64_t label;  // grows with the position in the collection
    };

    static const R& Record(const TBaseElement* item) { return static_cast<const R&>(*item); }

    void Add(const R& record, std::uint64_t label) {
        labels_[&record] = label;
        buckets_[ExactHash(record)].push_back({&record, label});
        for (auto& [member, values] : windows_) ++values[record.*member];
        if (!Regular(record)) ++irregular_;
    }

    // A hash of the fields that FindSame compares exactly (never the comment):
    // records it finds equal always share it.
    std::uint64_t ExactHash(const R& record) const {
        std::uint64_t hash = 0;
        auto mix = [&](std::uint64_t value) { hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2); };
        for (const auto& compared : category_.compared) {
            std::visit(
                [&](auto member) {
                    const auto& value = record.*member;
                    using T = std::remove_cvref_t<decltype(value)>;
                    if constexpr (std::is_same_v<T, std::string>)
                        mix(std::hash<std::string_view>{}(value));
                    else if constexpr (std::is_same_v<T, double>)
                        mix(compared.plain ? std::hash<double>{}(value == 0 ? 0.0 : value) : 0);  // 0 and -0 are equal
                    else
                        mix(static_cast<std::uint64_t>(value));
                },
                compared.member);
        }
        return hash;
    }

    // Sort keys that the exact order handles as the plain rule does: no
    // infinity or NaN, which SameValue never finds equal even to themselves.
    bool Regular(const R& record) const {
        for (const auto& key : category_.sortKeys)
            if (const auto* member = std::get_if<double R::*>(&key); member && !std::isfinite(record.**member))
                return false;
        return true;
    }

    // A record whose key is a little below x's yet equal by SameValue is not
    // after x in the exact order, but the rule goes on to the next key for it.
    bool HasFuzzyNeighbourBelow(const R& x) const {
        for (const auto& [member, values] : windows_) {
            const double v = x.*member;
            // SameValue(a, v) implies |a - v| <= max(|v| * 1e-12, 1e-12); twice that is safe from rounding.
            const double reach = 2 * std::max(std::fabs(v) * 1e-12, 1e-12);
            const auto near = values.lower_bound(v - reach);
            if (near != values.end() && near->first < v) return true;
        }
        return false;
    }

    const Category<R>& category_;
    std::uint64_t built_ = ~std::uint64_t{0};
    std::unordered_map<const R*, std::uint64_t> labels_;  // growing with the position
    bool sorted_ = true;                      // every record's keys at least those before it
    std::vector<const R*> prefixMax_;         // unless sorted, per position: the greatest keys so far
    std::unordered_map<std::uint64_t, std::vector<Entry>> buckets_;
    // The values of each double sort key but the last, counted.
    std::vector<std::pair<double R::*, std::map<double, int>>> windows_;
    int irregular_ = 0;                       // records with a key that is not a finite number
};

}  // namespace kelm
