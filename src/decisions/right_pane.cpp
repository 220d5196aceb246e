#include "decisions/right_pane.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "catalogues/categories.h"
#include "core/database_save.h"
#include "core/data_module.h"
#include "core/exchange_file.h"
#include "formats/catalogue_file.h"

namespace kelm {

RightPane::RightPane() : reference_(NewReference()) {}
RightPane::~RightPane() = default;

TXMLCustomClass& RightPane::CollectionOf(const TBaseElement& record) const {
    TXMLCustomClass* collection = reference_->GetCollection(reference_->CategoryOf(record));
    if (!collection) throw std::invalid_argument(std::string("no category holds a ") + record.ClassName());
    return *collection;
}

void RightPane::Changed(PaneChanges& changes, PaneStep::Kind kind) {
    if (changes.Empty()) return;
    changes.step = std::make_unique<PaneStep>(kind, generation_);
    changes.step->before_ = revision_;
    revision_ = NewRevision();
    changes.step->after_ = revision_;
}

PaneChanges RightPane::Replace(std::unique_ptr<TReference> reference, const std::string& path) {
    reference_ = std::move(reference);
    path_ = path;
    ++generation_;
    savedRevision_ = revision_ = NewRevision();
    PaneChanges changes;
    changes.replaced = true;
    return changes;
}

PaneChanges RightPane::Open(const std::string& path, TRef_DataModule& db) {
    return Replace(OpenCatalogue(path, db), path);
}

PaneChanges RightPane::Copy(CopyRun& run, const std::vector<DroppedElement>& elements, const CopyStep& step) {
    PaneChanges changes;
    std::vector<PaneStep::OtherValues> updated;
    for (std::size_t i = 0; i < elements.size() && !run.AbortCopy(); ++i) {
        const TBaseElement& record = *elements[i].record;
        CopyOutcome outcome = run.CopyRecord(CollectionOf(record), record, elements[i].label);
        if (outcome.copy) {
            outcome.copy->Ident = kUnsavedCopy;
            changes.added.push_back(outcome.copy);
        }
        if (outcome.updated) {
            changes.changed.push_back(outcome.updated);
            updated.push_back({outcome.updated, std::move(outcome.before)});
        }
        if (step) step(i, outcome.copy, outcome.position);
    }
    Changed(changes, PaneStep::Kind::Copy);
    if (!changes.step) return changes;
    changes.step->records_ = changes.added;
    changes.step->values_ = std::move(updated);
    return changes;
}

std::vector<PaneStep::OtherValues> RightPane::TakeUpdates(const std::vector<ElementUpdate>& updates,
                                                          const std::vector<const TBaseElement*>& deletions,
                                                          PaneChanges& changes, std::vector<TBaseElement*>& marked) {
    std::unordered_map<const TBaseElement*, const TBaseElement*> valuesOf;
    for (const ElementUpdate& update : updates) valuesOf.emplace(update.record, update.values);
    std::unordered_set<const TBaseElement*> deleted(deletions.begin(), deletions.end());
    std::vector<PaneStep::OtherValues> updated;
    for (int c = 0; c < reference_->CategoryCount() && !(valuesOf.empty() && deleted.empty()); ++c) {
        TXMLCustomClass& collection = *reference_->GetCollection(c);
        for (int i = 0; i < collection.Count(); ++i) {
            TBaseElement* record = collection.GetItem(i);
            if (const auto found = valuesOf.find(record); found != valuesOf.end()) {
                updated.push_back({record, TakeValues(collection, *record, *found->second)});
                changes.changed.push_back(record);
                valuesOf.erase(found);
            } else if (deleted.erase(record) == 0) {
                continue;
            } else if (const int uses = reference_->Network.CountOf(*record); uses > 0) {
                changes.refused.emplace_back(record, uses);
            } else if (record->Deleted == 0) {
                record->Deleted = 1;
                changes.changed.push_back(record);
                marked.push_back(record);
            }
        }
    }
    return updated;
}

PaneChanges RightPane::Update(const std::vector<ElementUpdate>& updates) {
    PaneChanges changes;
    std::vector<TBaseElement*> marked;
    std::vector<PaneStep::OtherValues> updated = TakeUpdates(updates, {}, changes, marked);
    Changed(changes, PaneStep::Kind::Copy);
    if (changes.step) changes.step->values_ = std::move(updated);
    return changes;
}

PaneChanges RightPane::Merge(const std::vector<const TBaseElement*>& additions,
                             const std::vector<ElementUpdate>& updates,
                             const std::vector<const TBaseElement*>& deletions) {
    PaneChanges changes;
    std::vector<TBaseElement*> marked;
    std::vector<PaneStep::OtherValues> updated = TakeUpdates(updates, deletions, changes, marked);
    for (const TBaseElement* record : additions) {
        int index = 0;
        TBaseElement* copy = CollectionOf(*record).AddCopy(*record, index);
        copy->Ident = kUnsavedCopy;
        changes.added.push_back(copy);
    }
    Changed(changes, PaneStep::Kind::Merge);
    if (!changes.step) return changes;
    changes.step->records_ = changes.added;
    changes.step->values_ = std::move(updated);
    changes.step->marked_ = std::move(marked);
    return changes;
}

PaneChanges RightPane::Delete(const std::vector<TBaseElement*>& records) {
    PaneChanges changes;
    std::vector<TBaseElement*> copies;
    std::unordered_set<const TBaseElement*> seen;
    for (TBaseElement* record : records) {
        if (record->Ident == kUnsavedCopy) {
            if (!seen.insert(record).second) continue;
            copies.push_back(record);
            changes.removed.push_back(record);
        } else if (const int uses = reference_->Network.CountOf(*record); uses > 0) {
            if (seen.insert(record).second) changes.refused.emplace_back(record, uses);
        } else if (record->Deleted == 0) {
            record->Deleted = 1;
            changes.changed.push_back(record);
        }
    }
    Changed(changes, PaneStep::Kind::Delete);
    if (!changes.step) return changes;
    // The copies stay with the step, so that undoing the delete brings back the same records.
    changes.step->records_ = changes.changed;
    changes.step->copies_ = copies;
    TakeOut(*changes.step, copies);
    return changes;
}

PaneChanges RightPane::Undelete(const std::vector<TBaseElement*>& records) {
    PaneChanges changes;
    for (TBaseElement* record : records) {
        if (record->Deleted == 0) continue;
        record->Deleted = 0;
        changes.changed.push_back(record);
    }
    Changed(changes, PaneStep::Kind::Undelete);
    if (changes.step) changes.step->records_ = changes.changed;
    return changes;
}

PaneChanges RightPane::Edit(TBaseElement& record, const TBaseElement& values) {
    TXMLCustomClass& collection = CollectionOf(record);
    std::unique_ptr<TBaseElement> before = collection.Clone(record);
    collection.WriteValues(record, values);
    record.Added = 1;
    PaneChanges changes;
    changes.changed.push_back(&record);
    Changed(changes, PaneStep::Kind::Edit);
    changes.step->records_ = changes.changed;
    changes.step->values_.push_back({&record, std::move(before)});
    return changes;
}

std::vector<RightPane::Pending> RightPane::PendingRecords() const {
    std::vector<Pending> pending;
    for (int c = 0; c < reference_->CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference_->GetCollection(c);
        for (int i = 0; i < collection.Count(); ++i) {
            TBaseElement* record = collection.GetItem(i);
            if (record->Deleted == 1 || record->Added == 1 || record->Ident < 1)
                pending.push_back({record, record->Deleted, record->Added, record->Ident});
        }
    }
    return pending;
}

PaneChanges RightPane::ChangesSince(const std::vector<Pending>& before) const {
    std::unordered_set<const TBaseElement*> live;
    live.reserve(static_cast<std::size_t>(reference_->TotalCount()));
    for (int c = 0; c < reference_->CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference_->GetCollection(c);
        for (int i = 0; i < collection.Count(); ++i) live.insert(collection.GetItem(i));
    }
    PaneChanges changes;
    for (const Pending& p : before) {
        if (!live.count(p.record))
            changes.removed.push_back(p.record);
        else if (p.record->Deleted != p.deleted || p.record->Added != p.added || p.record->Ident != p.ident)
            changes.changed.push_back(p.record);
    }
    return changes;
}

PaneChanges RightPane::SaveToDatabase(TRef_DataModule& db, const NumberText& numbers,
                                      const std::function<void(int category)>& progress) {
    db.ConnectTo(path_);
    const std::vector<Pending> before = PendingRecords();
    const int failed = SaveDatabase(*reference_, db, numbers, progress);
    PaneChanges changes = ChangesSince(before);
    unsavedGeneration_ = failed == 0 ? 0 : generation_;
    ++generation_;
    revision_ = NewRevision();
    if (failed == 0) savedRevision_ = revision_;
    return changes;
}

PaneChanges RightPane::SaveToFile(const std::string& path, const RegionalSettings& settings, std::time_t now,
                                  const std::function<void(int step)>& progress) {
    const std::vector<Pending> before = PendingRecords();
    WriteCatalogueFile(*reference_, path, settings, now, progress);
    path_ = path;
    PaneChanges changes = ChangesSince(before);
    ++generation_;
    savedRevision_ = revision_ = NewRevision();
    return changes;
}

PaneChanges RightPane::Cancel(TRef_DataModule& db) {
    if (!path_.empty()) return Open(path_, db);
    return Replace(NewReference(), path_);
}

PaneChanges RightPane::NewExchangeFile(const std::string& path, TRef_DataModule& db, const RegionalSettings& settings,
                                       std::time_t now) {
    CreateExchangeFile(path, settings, now);
    return Open(path, db);
}

// --- Taking steps back and making them again ------------------------------------

void RightPane::TakeOut(PaneStep& step, const std::vector<TBaseElement*>& records) {
    std::unordered_map<int, std::vector<const TBaseElement*>> byCategory;
    for (const TBaseElement* record : records) byCategory[reference_->CategoryOf(*record)].push_back(record);
    for (auto& [category, group] : byCategory)
        step.taken_.emplace_back(category, reference_->GetCollection(category)->TakeElements(group));
}

void RightPane::PutBack(PaneStep& step) {
    for (auto& [category, taken] : step.taken_) reference_->GetCollection(category)->PutBack(std::move(taken));
    step.taken_.clear();
}

void RightPane::SetMarks(const std::vector<TBaseElement*>& records, std::uint8_t deleted, PaneChanges& changes) {
    for (TBaseElement* record : records) {
        record->Deleted = deleted;
        changes.changed.push_back(record);
    }
}

// A record written twice in one step is given back its values in the reverse order.
void RightPane::SwapValues(PaneStep& step, bool back, PaneChanges& changes) {
    auto swap = [&](PaneStep::OtherValues& other) {
        TBaseElement& record = *other.record;
        TXMLCustomClass& collection = CollectionOf(record);
        std::unique_ptr<TBaseElement> current = collection.Clone(record);
        collection.WriteValues(record, *other.values);
        record.Added = other.values->Added;
        other.values = std::move(current);
    };
    if (back)
        std::for_each(step.values_.rbegin(), step.values_.rend(), swap);
    else
        std::for_each(step.values_.begin(), step.values_.end(), swap);
    for (const PaneStep::OtherValues& other : step.values_) changes.changed.push_back(other.record);
}

std::vector<std::unique_ptr<PaneStep>> RightPane::KeepUnsavedSteps(std::vector<std::unique_ptr<PaneStep>> steps) {
    std::vector<std::unique_ptr<PaneStep>> kept;
    if (unsavedGeneration_ == 0 || unsavedGeneration_ + 1 != generation_) return kept;
    // Records the save dropped are gone: their addresses are only compared.
    std::unordered_set<const TBaseElement*> unsaved;
    for (const Pending& p : PendingRecords()) unsaved.insert(p.record);
    auto isUnsaved = [&](const TBaseElement* record) { return unsaved.count(record) > 0; };
    std::unordered_set<const TBaseElement*> covered;
    for (std::unique_ptr<PaneStep>& step : steps) {
        if (!step || step->generation_ != unsavedGeneration_ || !step->done_) continue;
        // An undelete left nothing to save: taking it back would be a new change.
        if (step->kind_ == PaneStep::Kind::Undelete) continue;
        std::erase_if(step->records_, [&](TBaseElement* record) { return !isUnsaved(record); });
        std::erase_if(step->values_, [&](const PaneStep::OtherValues& other) { return !isUnsaved(other.record); });
        std::erase_if(step->marked_, [&](TBaseElement* record) { return !isUnsaved(record); });
        // Copies a delete took back were never saved, and the drop that made
        // them may be gone: bringing them back would be a new change.
        step->copies_.clear();
        step->taken_.clear();
        if (step->records_.empty() && step->values_.empty() && step->marked_.empty()) continue;
        covered.insert(step->records_.begin(), step->records_.end());
        covered.insert(step->marked_.begin(), step->marked_.end());
        for (const PaneStep::OtherValues& other : step->values_) covered.insert(other.record);
        kept.push_back(std::move(step));
    }
    unsavedGeneration_ = 0;
    if (kept.empty()) return kept;
    const bool all = std::all_of(unsaved.begin(), unsaved.end(), [&](const TBaseElement* r) { return covered.count(r); });
    // Before the first kept step is the catalogue as saved, when the steps hold all that is unsaved.
    std::uint64_t revision = NewRevision();
    if (all) savedRevision_ = revision;
    for (std::unique_ptr<PaneStep>& step : kept) {
        step->generation_ = generation_;
        step->before_ = revision;
        step->after_ = revision = NewRevision();
    }
    revision_ = revision;
    return kept;
}

bool RightPane::Applies(const PaneStep& step, bool done) const {
    return step.generation_ == generation_ && step.done_ == done;
}

PaneChanges RightPane::Undo(PaneStep& step) {
    PaneChanges changes;
    if (!Applies(step, true)) return changes;
    switch (step.kind_) {
        case PaneStep::Kind::Copy:
            TakeOut(step, step.records_);
            changes.removed.assign(step.records_.begin(), step.records_.end());
            SwapValues(step, true, changes);
            break;
        case PaneStep::Kind::Delete:
            PutBack(step);
            changes.added = step.copies_;
            SetMarks(step.records_, 0, changes);
            break;
        case PaneStep::Kind::Undelete:
            SetMarks(step.records_, 1, changes);
            break;
        case PaneStep::Kind::Edit:
            SwapValues(step, true, changes);
            break;
        case PaneStep::Kind::Merge:
            TakeOut(step, step.records_);
            changes.removed.assign(step.records_.begin(), step.records_.end());
            SwapValues(step, true, changes);
            SetMarks(step.marked_, 0, changes);
            break;
    }
    step.done_ = false;
    revision_ = step.before_;
    return changes;
}

PaneChanges RightPane::Redo(PaneStep& step) {
    PaneChanges changes;
    if (!Applies(step, false)) return changes;
    switch (step.kind_) {
        case PaneStep::Kind::Copy:
            PutBack(step);
            changes.added = step.records_;
            SwapValues(step, false, changes);
            break;
        case PaneStep::Kind::Delete:
            TakeOut(step, step.copies_);
            changes.removed.assign(step.copies_.begin(), step.copies_.end());
            SetMarks(step.records_, 1, changes);
            break;
        case PaneStep::Kind::Undelete:
            SetMarks(step.records_, 0, changes);
            break;
        case PaneStep::Kind::Edit:
            SwapValues(step, false, changes);
            break;
        case PaneStep::Kind::Merge:
            PutBack(step);
            changes.added = step.records_;
            SwapValues(step, false, changes);
            SetMarks(step.marked_, 1, changes);
            break;
    }
    step.done_ = true;
    revision_ = step.after_;
    return changes;
}

}  // namespace kelm
