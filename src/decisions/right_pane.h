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
#include <vector>

#include "core/reference.h"
#include "core/regional.h"
#include "decisions/copy_run.h"

namespace kelm {

class NumberText;
class TRef_DataModule;

// The identifier of a copy made in the pane and not yet saved anywhere.
inline constexpr std::int32_t kUnsavedCopy = -2;

// What an operation did to the pane's records.
struct PaneChanges {
    std::vector<TBaseElement*> added;          // in the order they were made
    std::vector<const TBaseElement*> removed;  // already freed: only their addresses are left
    std::vector<TBaseElement*> changed;        // values, marks or identifiers
    bool replaced = false;                     // a new catalogue altogether

    bool Empty() const { return added.empty() && removed.empty() && changed.empty() && !replaced; }
};

// One element of a drop: a record of the other pane and its label (UTF-8).
struct DroppedElement {
    const TBaseElement* record;
    std::string label;
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
    // Counts the pane's changes; equal numbers mean equal catalogues.
    std::uint64_t Revision() const { return revision_; }

    // The catalogue is replaced only when the whole source opened; otherwise
    // OpenError is thrown and the pane is as it was.
    PaneChanges Open(const std::string& path, TRef_DataModule& db);
    // Copies each element into its category as `run` decides, until the run
    // is interrupted. `step` hears every element with its copy (or none) and
    // the copy's index in its collection at that moment.
    using CopyStep = std::function<void(std::size_t element, TBaseElement* copy, int position)>;
    PaneChanges Copy(CopyRun& run, const std::vector<DroppedElement>& elements, const CopyStep& step = {});
    // Takes copies not yet saved back at once and marks the other records deleted.
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
    // Writes the catalogue as the exchange file `path`, which becomes the
    // pane's source. Throws when it could not be written; the pane is then as it was.
    PaneChanges SaveToFile(const std::string& path, const RegionalSettings& settings, std::time_t now);
    // Takes every change back: reopens the source, or empties a pane without one.
    PaneChanges Cancel(TRef_DataModule& db);
    // Creates an empty exchange file at `path` and opens it in the pane.
    PaneChanges NewExchangeFile(const std::string& path, TRef_DataModule& db, const RegionalSettings& settings,
                                std::time_t now);

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
    void Changed(const PaneChanges& changes);

    std::unique_ptr<TReference> reference_;
    std::string path_;
    std::uint64_t revision_ = 0;
    std::uint64_t savedRevision_ = 0;
};

}  // namespace kelm
