#include "decisions/right_pane.h"

#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "catalogues/categories.h"
#include "core/database_save.h"
#include "core/data_module.h"
#include "core/exchange_file.h"

namespace kelm {

RightPane::RightPane() : reference_(NewReference()) {}
RightPane::~RightPane() = default;

TXMLCustomClass& RightPane::CollectionOf(const TBaseElement& record) const {
    TXMLCustomClass* collection = reference_->GetCollection(reference_->CategoryOf(record));
    if (!collection) throw std::invalid_argument(std::string("no category holds a ") + record.ClassName());
    return *collection;
}

void RightPane::Changed(const PaneChanges& changes) {
    if (!changes.Empty()) ++revision_;
}

PaneChanges RightPane::Replace(std::unique_ptr<TReference> reference, const std::string& path) {
    reference_ = std::move(reference);
    path_ = path;
    savedRevision_ = ++revision_;
    PaneChanges changes;
    changes.replaced = true;
    return changes;
}

PaneChanges RightPane::Open(const std::string& path, TRef_DataModule& db) {
    return Replace(OpenSource(path, db, NewReference), path);
}

PaneChanges RightPane::Copy(CopyRun& run, const std::vector<DroppedElement>& elements, const CopyStep& step) {
    PaneChanges changes;
    for (std::size_t i = 0; i < elements.size() && !run.AbortCopy(); ++i) {
        const TBaseElement& record = *elements[i].record;
        const CopyOutcome outcome = run.CopyRecord(CollectionOf(record), record, elements[i].label);
        if (outcome.copy) {
            outcome.copy->Ident = kUnsavedCopy;
            changes.added.push_back(outcome.copy);
        }
        if (step) step(i, outcome.copy, outcome.position);
    }
    Changed(changes);
    return changes;
}

PaneChanges RightPane::Delete(const std::vector<TBaseElement*>& records) {
    PaneChanges changes;
    std::unordered_map<TXMLCustomClass*, std::vector<const TBaseElement*>> copies;
    for (TBaseElement* record : records) {
        if (record->Ident == kUnsavedCopy) {
            copies[&CollectionOf(*record)].push_back(record);
            changes.removed.push_back(record);
        } else if (record->Deleted == 0) {
            record->Deleted = 1;
            changes.changed.push_back(record);
        }
    }
    for (auto& [collection, doomed] : copies) collection->RemoveElements(doomed);
    Changed(changes);
    return changes;
}

PaneChanges RightPane::Undelete(const std::vector<TBaseElement*>& records) {
    PaneChanges changes;
    for (TBaseElement* record : records) {
        if (record->Deleted == 0) continue;
        record->Deleted = 0;
        changes.changed.push_back(record);
    }
    Changed(changes);
    return changes;
}

PaneChanges RightPane::Edit(TBaseElement& record, const TBaseElement& values) {
    CollectionOf(record).WriteValues(record, values);
    record.Added = 1;
    PaneChanges changes;
    changes.changed.push_back(&record);
    Changed(changes);
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
    const PaneChanges changes = ChangesSince(before);
    ++revision_;
    if (failed == 0) savedRevision_ = revision_;
    return changes;
}

PaneChanges RightPane::SaveToFile(const std::string& path, const RegionalSettings& settings, std::time_t now) {
    const std::vector<Pending> before = PendingRecords();
    WriteExchangeFile(*reference_, path, settings, now);
    path_ = path;
    const PaneChanges changes = ChangesSince(before);
    savedRevision_ = ++revision_;
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

}  // namespace kelm
