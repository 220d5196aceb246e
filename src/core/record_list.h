#pragma once
// The records of one collection, in collection order. The list owns them as
// a vector of unique_ptr would, but keeps plain pointers: a copy inserted in
// the middle of a large category moves the pointers after it in one block of
// memory instead of one by one.

#include <algorithm>
#include <cstddef>
#include <memory>
#include <vector>

#include "core/element.h"

namespace kelm {

// A record taken out of its list, with the place it held there.
struct TakenRecord {
    std::size_t index;
    std::unique_ptr<TBaseElement> record;
};

class RecordList {
public:
    using iterator = std::vector<TBaseElement*>::iterator;
    using const_iterator = std::vector<TBaseElement*>::const_iterator;

    RecordList() = default;
    RecordList(const RecordList&) = delete;
    RecordList& operator=(const RecordList&) = delete;
    ~RecordList() { clear(); }

    std::size_t size() const { return records_.size(); }
    bool empty() const { return records_.empty(); }
    TBaseElement* operator[](std::size_t index) const { return records_[index]; }
    iterator begin() { return records_.begin(); }
    iterator end() { return records_.end(); }
    const_iterator begin() const { return records_.begin(); }
    const_iterator end() const { return records_.end(); }

    // The room is made first, so that a record is never both released and lost.
    void insert(std::size_t index, std::unique_ptr<TBaseElement> record) {
        records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(index), nullptr);
        records_[index] = record.release();
    }
    void push_back(std::unique_ptr<TBaseElement> record) { insert(size(), std::move(record)); }
    void erase(std::size_t index) {
        delete records_[index];
        records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(index));
    }
    // Frees and drops every record for which `drop` holds, keeping the order of the others.
    template <class Drop>
    void erase_if(Drop&& drop) {
        const auto kept = std::remove_if(records_.begin(), records_.end(), [&](TBaseElement* record) {
            if (!drop(*record)) return false;
            delete record;
            return true;
        });
        records_.erase(kept, records_.end());
    }
    // Takes out, without freeing, every record for which `take` holds; the
    // records come back in list order with the places they held.
    template <class Take>
    std::vector<TakenRecord> take_if(Take&& take) {
        // Room first, so that nothing can fail once records leave the list.
        std::vector<std::size_t> places;
        for (std::size_t i = 0; i < records_.size(); ++i)
            if (take(*records_[i])) places.push_back(i);
        std::vector<TakenRecord> taken(places.size());
        std::size_t kept = 0, next = 0;
        for (std::size_t i = 0; i < records_.size(); ++i) {
            if (next < places.size() && places[next] == i)
                taken[next++] = {i, std::unique_ptr<TBaseElement>(records_[i])};
            else
                records_[kept++] = records_[i];
        }
        records_.resize(kept);
        return taken;
    }
    // Puts records taken by take_if back at their places, in one pass: the
    // list must be as take_if left it.
    void put_back(std::vector<TakenRecord> taken) {
        if (taken.empty()) return;
        std::vector<TBaseElement*> merged(records_.size() + taken.size());
        std::size_t from = 0, next = 0;
        for (std::size_t i = 0; i < merged.size(); ++i) {
            if (next < taken.size() && taken[next].index == i)
                merged[i] = taken[next++].record.release();
            else
                merged[i] = from < records_.size() ? records_[from++] : nullptr;
        }
        // Places beyond the end (a list that changed meanwhile) still keep every record.
        merged.reserve(merged.size() + (taken.size() - next));
        for (; next < taken.size(); ++next) merged.push_back(taken[next].record.release());
        merged.erase(std::remove(merged.begin(), merged.end(), nullptr), merged.end());
        records_.swap(merged);
    }
    void clear() {
        for (TBaseElement* record : records_) delete record;
        records_.clear();
    }

private:
    std::vector<TBaseElement*> records_;
};

}  // namespace kelm
