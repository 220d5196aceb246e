#pragma once
// One change of the right pane as it can be taken back and made again: what
// a drop (its copies and updates), a delete, an undelete or a property edit did, with the records it
// took out of the pane. Records out of the pane belong to the step, so a
// step can always put back the very records it took, at the places they held.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/record_list.h"

namespace kelm {

class PaneStep {
public:
    enum class Kind { Copy, Delete, Undelete, Edit, Merge };

    PaneStep(Kind kind, std::uint64_t generation) : kind_(kind), generation_(generation) {}
    PaneStep(const PaneStep&) = delete;
    PaneStep& operator=(const PaneStep&) = delete;

    Kind What() const { return kind_; }
    // Whether the pane holds what the step did (false once it is taken back).
    bool Done() const { return done_; }
    // The elements a drop copied or updated.
    std::size_t CopyCount() const { return records_.size() + values_.size(); }

private:
    friend class RightPane;

    Kind kind_;
    std::uint64_t generation_;  // the pane's catalogue the step belongs to
    std::uint64_t before_ = 0, after_ = 0;  // the pane's revision on either side
    bool done_ = true;
    // Copy and Merge: the copies; Delete: the records marked; Undelete: the
    // marks cleared; Edit: the edited record.
    std::vector<TBaseElement*> records_;
    // Delete: the unsaved copies it took back at once.
    std::vector<TBaseElement*> copies_;
    // Merge: the records it marked deleted.
    std::vector<TBaseElement*> marked_;
    // The records out of the pane while it is so, per category: the copies
    // of an undone drop, the copies a delete took back.
    std::vector<std::pair<int, std::vector<TakenRecord>>> taken_;
    // Edit, and the updates of a drop: each record with the values and the
    // new-record mark it does not hold now, in the order they were written.
    struct OtherValues {
        TBaseElement* record;
        std::unique_ptr<TBaseElement> values;
    };
    std::vector<OtherValues> values_;
};

// How the window names a step after "Отменить " and "Повторить " (UTF-8):
// "копирование 12 элементов", "удаление", "изменение свойств <label>", "слияние".
std::string StepText(const PaneStep& step, const std::string& label = {});
// "копирование 1 элемента", "копирование 12 элементов".
std::string CopyingText(std::size_t count);

}  // namespace kelm
