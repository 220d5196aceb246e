#pragma once
// Sort: the order of a selection sort by moving (repeatedly bring the first
// record that nothing remaining goes in front of to the front), at the cost
// of a stable sort.
//
// Records whose voltages are not close to each other are ordered by voltage.
// Voltages that differ yet count as equal (SameValue) form a cluster, inside
// which the rule is not a strict order, so a cluster of such values is sorted
// by the selection sort itself; a cluster of one exact voltage is an ordinary
// stable sort by the remaining keys.

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kelm {

template <class R, class Base>
void TCategoryCollection<R, Base>::Sort() {
    auto& items = this->items_;
    this->RecordsChanged();
    if (items.size() < 2) return;
    auto before = [this](const TBaseElement* a, const TBaseElement* b) {
        return SortsBefore(static_cast<const R&>(*a), static_cast<const R&>(*b));
    };
    auto selectionSort = [&](auto begin, auto end) {
        for (auto i = begin; i != end; ++i) {
            auto m = i;
            for (auto c = i + 1; c != end; ++c)
                if (before(*c, *m)) m = c;
            std::rotate(i, m, m + 1);
        }
    };

    const auto* voltage = std::get_if<double R::*>(&category_.sortKeys.front());
    if (!voltage) {  // text keys only: a strict order
        std::stable_sort(items.begin(), items.end(), before);
        return;
    }
    auto value = [&](const TBaseElement* item) { return static_cast<const R&>(*item).**voltage; };

    std::vector<double> distinct;
    distinct.reserve(items.size());
    for (const auto& item : items) {
        if (std::isnan(value(item))) {
            selectionSort(items.begin(), items.end());
            return;
        }
        distinct.push_back(value(item));
    }
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    std::vector<std::size_t> cluster(distinct.size(), 0);
    for (std::size_t j = 1; j < distinct.size(); ++j)
        cluster[j] = cluster[j - 1] + (SameValue(distinct[j - 1], distinct[j]) ? 0 : 1);
    auto clusterOf = [&](const TBaseElement* item) {
        return cluster[std::lower_bound(distinct.begin(), distinct.end(), value(item)) - distinct.begin()];
    };

    std::stable_sort(items.begin(), items.end(),
                     [&](const auto& a, const auto& b) { return clusterOf(a) < clusterOf(b); });
    for (auto begin = items.begin(); begin != items.end();) {
        const std::size_t id = clusterOf(*begin);
        auto end = std::find_if(begin, items.end(), [&](const auto& item) { return clusterOf(item) != id; });
        const bool oneVoltage =
            std::all_of(begin, end, [&](const auto& item) { return value(item) == value(*begin); });
        if (oneVoltage)
            std::stable_sort(begin, end, before);
        else
            selectionSort(begin, end);
        begin = end;
    }
}

}  // namespace kelm
