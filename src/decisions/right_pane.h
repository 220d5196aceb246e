#pragma once
// The right pane's catalogue, the only one the workbench ever writes. It owns
// the container and the path of its source, carries out every change the
// window asks for, tells what each one changed, and knows whether anything
// is still unsaved. The window only shows it.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/reference.h"
#include "core/regional.h"
#include "decisions/copy_run.h"
#include "decisions/pane_step.h"

namespace kelm {

class NumberText;
class TRef_DataModule;

// The identifier of a copy made in the pane and not yet saved anywhere.
inline constexpr std::int32_t kUnsavedCopy = -2;

// What an operation did to the pane's records.
struct PaneChanges {
    std::vector<TBaseElement*> added;          // in the order they were made
    std::vector<const TBaseElement*> removed;  // out of the pane: only their addresses are to be used
    std::vector<TBaseElement*> changed;        // values, marks or identifiers
    bool replaced = false;                     // a new catalogue altogether
    // How to take a copy, a delete, an undelete or an edit back; none when
    // nothing changed or the change cannot be taken back (opening, saving).
    std::unique_ptr<PaneStep> step;
    // Records a delete left as they were: network objects use them (how many beside each).
    std::vector<std::pair<const TBaseElement*, int>> refused;

    bool Empty() const { return added.empty() && removed.empty() && changed.empty() && !replaced; }
};

// One element of a drop: a record of the other pane and its label (UTF-8).
struct DroppedElement {
    const TBaseElement* record;
    std::string label;
};

// A record of the pane to be given the values of `values`, a record of its
// category from the other pane.
struct ElementUpdate {
    const TBaseElement* record;
    const TBaseElement* values;
};

class RightPane {
public:
    RightPane();
    ~RightPane();

    TReference& Reference() const { return *reference_; }
    // The source the pane saves to: empty until one is opened, created or saved.
    const std::string& Path() const { return path_; }
    bool IsDatabase() const { return reference_->SourceKind == DatabaseSource; }
    bool HasUnsavedChanges() const { return revision_ != savedRevision_; }
    // Counts the catalogues the pane has held; an opening or a save starts another.
    std::uint64_t Generation() const { return generation_; }
    // Names the pane's state; equal numbers mean equal catalogues.
    std::uint64_t Revision() const { return revision_; }

    // The catalogue is replaced only when the whole source opened; otherwise
    // OpenError is thrown and the pane is as it was.
    PaneChanges Open(const std::string& path, TRef_DataModule& db);
    // Copies each element into its category as `run` decides, until the run
    // is interrupted; records the run updated are among the changed ones.
    // `step` hears every element with its copy (or none) and the copy's
    // index in its collection at that moment.
    using CopyStep = std::function<void(std::size_t element, TBaseElement* copy, int position)>;
    PaneChanges Copy(CopyRun& run, const std::vector<DroppedElement>& elements, const CopyStep& step = {});
    // Gives each record the values of its element as a drop answered
    // "Обновить" would, without a question: one step, as a drop is.
    PaneChanges Update(const std::vector<ElementUpdate>& updates);
    // Brings in what a merge decided, as one step: copies of `additions`
    // (records of the other catalogue), the values of each update taken in
    // place, and the pane's `deletions` marked, but, as with Delete, not
    // those the network uses.
    PaneChanges Merge(const std::vector<const TBaseElement*>& additions, const std::vector<ElementUpdate>& updates,
                      const std::vector<const TBaseElement*>& deletions);
    // Takes copies not yet saved back at once and marks the other records
    // deleted, but refuses the ones that network objects use: deleting a type
    // in use would break the network model.
    PaneChanges Delete(const std::vector<TBaseElement*>& records);
    PaneChanges Undelete(const std::vector<TBaseElement*>& records);
    // A confirmed property dialog: `values` go into `record`, which the next
    // database save writes.
    PaneChanges Edit(TBaseElement& record, const TBaseElement& values);
    // Reconnects the database at the pane's path and saves every change to it.
    // Records that could not be written are named in their collections'
    // Errors and stay unsaved. Throws when the save as a whole failed; the
    // pane is then as it was.
    PaneChanges SaveToDatabase(TRef_DataModule& db, const NumberText& numbers,
                               const std::function<void(int category)>& progress = {});
    // Writes the catalogue to `path` in the format its extension names (an
    // exchange file, XLSX or CSV); the file becomes the
    // pane's source. Throws when it could not be written; the pane is then as it was.
    // `progress` hears each category written, then the category count.
    PaneChanges SaveToFile(const std::string& path, const RegionalSettings& settings, std::time_t now,
                           const std::function<void(int step)>& progress = {});
    // Takes every change back: reopens the source, or empties a pane without one.
    PaneChanges Cancel(TRef_DataModule& db);
    // Creates an empty exchange file at `path` and opens it in the pane.
    PaneChanges NewExchangeFile(const std::string& path, TRef_DataModule& db, const RegionalSettings& settings,
                                std::time_t now);

    // Takes a step back, or makes it again, with the very records it
    // touched, and returns the pane to the revision it had on that side of
    // the step. The steps of one catalogue go back in the reverse order they
    // were made and forward in the order they were made; a step of an
    // earlier catalogue (before an opening or a save) changes nothing.
    PaneChanges Undo(PaneStep& step);
    PaneChanges Redo(PaneStep& step);
    // Right after a database save in which some records failed: the steps
    // made before it (oldest first, those taken back left out), each cut down
    // to the records that are still unsaved, as steps of the catalogue as
    // saved; the others are dropped. Taking every kept step back leaves
    // nothing to save when they hold everything that is unsaved.
    std::vector<std::unique_ptr<PaneStep>> KeepUnsavedSteps(std::vector<std::unique_ptr<PaneStep>> steps);

private:
    // A record that a save may drop or change, as it was before.
    struct Pending {
        TBaseElement* record;
        std::uint8_t deleted, added;
        std::int32_t ident;
    };
    std::vector<Pending> PendingRecords() const;
    PaneChanges ChangesSince(const std::vector<Pending>& before) const;
    TXMLCustomClass& CollectionOf(const TBaseElement& record) const;
    PaneChanges Replace(std::unique_ptr<TReference> reference, const std::string& path);
    // Gives `changes` its step when it changed anything: the new revision.
    void Changed(PaneChanges& changes, PaneStep::Kind kind);
    bool Applies(const PaneStep& step, bool done) const;
    void TakeOut(PaneStep& step, const std::vector<TBaseElement*>& records);
    void PutBack(PaneStep& step);
    void SetMarks(const std::vector<TBaseElement*>& records, std::uint8_t deleted, PaneChanges& changes);
    void SwapValues(PaneStep& step, bool back, PaneChanges& changes);
    // The updates and, when `deletions`, the records to be deleted among the pane's, found in one pass.
    std::vector<PaneStep::OtherValues> TakeUpdates(const std::vector<ElementUpdate>& updates,
                                                   const std::vector<const TBaseElement*>& deletions,
                                                   PaneChanges& changes, std::vector<TBaseElement*>& marked);
    std::uint64_t NewRevision() { return ++lastRevision_; }

    std::unique_ptr<TReference> reference_;
    std::string path_;
    // A revision names one state of the catalogue: every change gets a new
    // one, and taking a change back returns to the one before it.
    std::uint64_t revision_ = 0;
    std::uint64_t savedRevision_ = 0;
    std::uint64_t lastRevision_ = 0;
    // Counts the catalogues the pane has held: each opening and each save
    // starts another, and the steps of an earlier one are void.
    std::uint64_t generation_ = 0;
    // The catalogue before the last save, when some of its records failed.
    std::uint64_t unsavedGeneration_ = 0;
};

}  // namespace kelm
