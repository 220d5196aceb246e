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
    void clear() {
        for (TBaseElement* record : records_) delete record;
        records_.clear();
    }

private:
    std::vector<TBaseElement*> records_;
};

}  // namespace kelm
